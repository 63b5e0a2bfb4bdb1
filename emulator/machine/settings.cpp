// The settings as the machine holds them: the chips read their own state, never the store.
#include "machine/settings.h"

#include "state/machine.h"

void applySettings(const EmulatorConfig& config) {
    keyboard.joystickMode = config.joystick;
    const int32_t keys[2][5] = {
        {config.joy1UpCode, config.joy1DownCode, config.joy1LeftCode, config.joy1RightCode,
         config.joy1FireCode},
        {config.joy2UpCode, config.joy2DownCode, config.joy2LeftCode, config.joy2RightCode,
         config.joy2FireCode},
    };
    for (int port = 0; port < 2; ++port)
        for (int i = 0; i < 5; ++i) keyboard.joystickKeys[port][i] = keys[port][i];
    const int32_t mode = config.screenMode;
    ted.shownMode = static_cast<uint8_t>(mode >= 0 && mode < 7 ? mode : 7);
}

// The host keyboard and game controller as the TED's keyboard reads them: lost input is
// acquired again for the next read.
#include "host/platform.h"
#include "ted/keyboard.h"

bool readHostKeyboard(uint8_t state[256]) {
    const platform::Result result = platform::getKeyboardState(state);
    if (result == platform::inputLost) platform::acquireKeyboard();
    return result == platform::ok;
}

static_assert(platform::gamepadUp == 0x01 && platform::gamepadDown == 0x02 && platform::gamepadLeft == 0x04 &&
                  platform::gamepadRight == 0x08 && platform::gamepadFire == gamepadFireBit,
              "the platform's gamepad bits are the joystick's");

uint8_t readHostGamepad() { return platform::gamepadState(); }

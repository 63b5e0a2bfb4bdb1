// The host's keys and game controller pushed into the machine's keyboard between two
// frames; the machine's scans read them as they are.
#include "shell/keyboard_input.h"

#include <cstring>

#include "platform/platform.h"
#include "ted/keyboard.h"

static_assert(platform::gamepadUp == 0x01 && platform::gamepadDown == 0x02 && platform::gamepadLeft == 0x04 &&
                  platform::gamepadRight == 0x08 && platform::gamepadFire == gamepadFireBit,
              "the platform's gamepad bits are the joystick's");

void pushInput() {
    keyboard.gamepad = platform::gamepadState();
    // The keys move on only once a scan has read the last ones: the host's queue of key
    // changes takes each read as the machine having seen them, so a tap is never lost.
    if (!keyboard.scanned) return;
    uint8_t state[256];
    // Lost keys are taken again for the next push; a failed read keeps the keys.
    if (platform::readKeys(state) != platform::ok) return;
    std::memcpy(keyboard.keyState, state, sizeof state);
    keyboard.scanned = false;
}

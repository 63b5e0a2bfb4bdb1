// The host keyboard as the TED's keyboard reads it: lost input is acquired again for the next read.
#include "host/platform.h"
#include "ted/keyboard.h"

bool readHostKeyboard(uint8_t state[256]) {
    const platform::Result result = platform::getKeyboardState(state);
    if (result == platform::inputLost) platform::acquireKeyboard();
    return result == platform::ok;
}

// The keyboard device's states, shared by the backends. The tests' platform defines these
// platform functions too, so only a test binary of its own links this file.
#include "host/backend/input_devices.h"

#include "host/backend/gamepad.h"
#include "host/backend/key_queue.h"

namespace {

enum class Device { none, created, acquired, lost };
Device device = Device::none;
bool focused = true;

bool acquire() {
    if (device == Device::none || !focused) return false;
    device = Device::acquired;
    return true;
}

}  // namespace

// The foreground keyboard is lost when the window loses the focus; the window hears no
// key go up meanwhile, so none may stay down.
void backend::keyboardFocusChanged(bool hasFocus) {
    focused = hasFocus;
    if (!hasFocus) releaseAllKeys();
    if (!hasFocus && device == Device::acquired) device = Device::lost;
}

namespace platform {

SetUpReport openKeyboard() {
    if (!backend::openInput()) return {failed, inputObject};
    device = Device::created;
    if (!windowExists()) return {failed, keyboardCooperation};
    if (!acquire()) return {failed, keyboardAcquired};
    return {};
}

Result readKeys(uint8_t state[256]) {
    backend::pollInput();
    if (device == Device::lost) {
        acquire();  // the next read has the keys again, if the focus is back
        return inputLost;
    }
    if (device != Device::acquired) return failed;
    backend::readKeys(state, backend::inputMilliseconds());
    return ok;
}

void closeKeyboard() { device = Device::none; }

// A backend without a game controller never reports one: its bits stay 0.
uint8_t gamepadState() { return gamepadBits(); }

}  // namespace platform

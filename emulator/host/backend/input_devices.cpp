// The keyboard device's states, shared by the backends. The tests' platform defines these
// platform functions too, so only a test binary of its own links this file.
#include "host/backend/input_devices.h"

#include "host/backend/gamepad.h"
#include "host/backend/key_queue.h"

namespace {

enum class Device { none, created, acquired, lost };
Device device = Device::none;
bool focused = true;

}  // namespace

// The foreground keyboard is lost when the window loses the focus, like DirectInput's; the
// window hears no key go up meanwhile, so none may stay down.
void backend::keyboardFocusChanged(bool hasFocus) {
    focused = hasFocus;
    if (!hasFocus) releaseAllKeys();
    if (!hasFocus && device == Device::acquired) device = Device::lost;
}

platform::Result backend::keyboardReadable() {
    if (device == Device::lost) return platform::inputLost;
    return device == Device::acquired ? platform::ok : platform::failed;
}

namespace platform {

Result createKeyboardDevice() {
    device = Device::created;
    return ok;
}
Result setKeyboardDataFormat() { return device == Device::none ? failed : ok; }
Result acquireKeyboard() {
    if (device == Device::none || !focused) return failed;
    device = Device::acquired;
    return ok;
}
void releaseKeyboard() { device = Device::none; }

// A backend without a game controller never reports one: its bits stay 0.
uint8_t gamepadState() { return gamepadBits(); }

}  // namespace platform

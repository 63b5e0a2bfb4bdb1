// The page's keyboard as the DirectInput system keyboard: 256 bytes by scan code, from
// the page's key events by physical position through the key queue, lost while the
// page has no focus. Events arrive only between the machine's turns, so a tap's press
// and release often come in one gap; the queue holds each until the machine has seen it.
#include <emscripten.h>

#include "host/backend/input_devices.h"
#include "host/backend/key_queue.h"
#include "host/web/key_table.h"
#include "host/web/web_host.h"

// A key event of the page; 1 when the emulator uses the key (the page then keeps it
// from the browser), 0 otherwise.
extern "C" EMSCRIPTEN_KEEPALIVE int varnokKey(const char* code, int down) {
    const webhost::BrowserKey* key = webhost::keyByCode(code);
    if (!key) return 0;
    backend::keyEvent(key->scanCode, down != 0);
    if (key->virtualKey && webhost::windowOpen())
        webhost::pushMessage({down ? platform::msgKeyDown : platform::msgKeyUp, key->virtualKey});
    return 1;
}

namespace platform {

Result directInputCreate() { return ok; }
Result setKeyboardCooperativeLevel() { return webhost::windowOpen() ? ok : failed; }

Result getKeyboardState(uint8_t state[256]) {
    if (Result readable = backend::keyboardReadable(); readable != ok) return readable;
    backend::readKeys(state, emscripten_get_now());
    return ok;
}

}  // namespace platform

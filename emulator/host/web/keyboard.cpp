// The page's keyboard: 256 bytes by scan code, from
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

bool backend::openInput() { return true; }

// The page's events arrive between the machine's turns, never while it reads.
void backend::pollInput() {}

double backend::inputMilliseconds() { return emscripten_get_now(); }

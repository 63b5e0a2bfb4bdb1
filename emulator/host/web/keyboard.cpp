// The page's keyboard as the DirectInput system keyboard: 256 bytes by scan code, set
// from the page's key events by physical position, lost while the page has no focus.
// Events arrive only between the machine's turns, so a tap whose press and release
// come in one gap is held a little longer, or the machine would never see it.
#include <emscripten.h>

#include <cstring>

#include "host/backend/input_devices.h"
#include "host/web/key_table.h"
#include "host/web/web_host.h"

namespace {

constexpr double shortestPress = 60;  // milliseconds: three frames, the ROM scans the keys once a frame

uint8_t keysDown[256];
double pressedAt[256];   // performance.now() at the press
bool releaseWaits[256];  // released before its shortest press was over
int releasesWaiting = 0;

void release(int code) {
    keysDown[code] = 0;
    if (releaseWaits[code]) --releasesWaiting;
    releaseWaits[code] = false;
}

void press(int code) {
    if (releaseWaits[code]) release(code);
    keysDown[code] = 0x80;
    pressedAt[code] = emscripten_get_now();
}

void releaseWhenShown(int code) {
    if (!keysDown[code] || emscripten_get_now() - pressedAt[code] >= shortestPress) {
        release(code);
    } else if (!releaseWaits[code]) {
        releaseWaits[code] = true;
        ++releasesWaiting;
    }
}

void serveWaitingReleases() {
    if (releasesWaiting == 0) return;
    const double now = emscripten_get_now();
    for (int code = 0; releasesWaiting > 0 && code < 256; ++code)
        if (releaseWaits[code] && now - pressedAt[code] >= shortestPress) release(code);
}

}  // namespace

namespace webhost {

void keyboardFocusChanged(bool hasFocus) {
    // The page sees no key go up while it has no focus, so none may stay down.
    if (!hasFocus)
        for (int code = 0; code < 256; ++code) release(code);
    backend::keyboardFocusChanged(hasFocus);
}

}  // namespace webhost

// A key event of the page; 1 when the emulator uses the key (the page then keeps it
// from the browser), 0 otherwise.
extern "C" EMSCRIPTEN_KEEPALIVE int varnokKey(const char* code, int down) {
    const webhost::BrowserKey* key = webhost::keyByCode(code);
    if (!key) return 0;
    down ? press(key->scanCode) : releaseWhenShown(key->scanCode);
    if (key->virtualKey && webhost::windowOpen())
        webhost::pushMessage({down ? platform::msgKeyDown : platform::msgKeyUp, key->virtualKey});
    return 1;
}

namespace platform {

Result directInputCreate() { return ok; }
Result setKeyboardCooperativeLevel() { return webhost::windowOpen() ? ok : failed; }

Result getKeyboardState(uint8_t state[256]) {
    // Loops that wait for a key to go up read nothing else: the page must run meanwhile.
    if (Result readable = backend::keyboardReadable(); readable != ok) return readable;
    serveWaitingReleases();
    std::memcpy(state, keysDown, sizeof keysDown);
    return ok;
}

}  // namespace platform

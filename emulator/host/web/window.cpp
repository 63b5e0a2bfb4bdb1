// The emulator's window in the page: the page's events become window messages (queued
// in host/backend).
#include <emscripten.h>

#include "host/backend/input_devices.h"
#include "host/web/web_host.h"

namespace webhost {
namespace {

bool window = false;

}  // namespace

bool windowOpen() { return window; }

}  // namespace webhost

// The page's focus, as the window's activation: the machine waits while the page is
// in the background, and no key stays down across the change.
extern "C" EMSCRIPTEN_KEEPALIVE void varnokFocus(int focused) {
    backend::keyboardFocusChanged(focused != 0);
    if (webhost::windowOpen()) webhost::pushMessage({platform::msgActivate, focused ? 1u : 0u});
}

namespace platform {

bool registerWindowClass() { return true; }

// The canvas sits in the page and takes the page's size; the page's full screen is the
// browser's, asked for by the user.
void setWindowPlacement(bool, int) {}
int chosenWindowScale() { return 0; }

bool createMainWindow(int) {
    webhost::window = true;
    // Showing the window activates the application before anything else arrives.
    webhost::pushMessage({msgActivate, 1});
    return true;
}

bool windowExists() { return webhost::window; }

void destroyMainWindow() {
    if (!webhost::window) return;
    releaseDisplay();
    webhost::window = false;
    dispatchMessage(Message{msgDestroy, 0});
}

bool peekMessage(Message& message) { return backend::takeMessage(message); }

bool messageWaiting() { return backend::messageQueued(); }

// The page's turn ends where the main loop waits for a message (host/web/turns.cpp); a
// wait here would hold the page, so it returns and the caller looks again.
void waitMessage() {}

}  // namespace platform

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

int chosenWindowScale() { return 0; }

// The canvas sits in the page and takes the page's size; the page's full screen is the
// browser's, asked for by the user.
WindowOpened openWindow(const WindowPlacement&) {
    webhost::window = true;
    // Showing the window activates the application before anything else arrives.
    webhost::pushMessage({msgActivate, 1});
    return WindowOpened::opened;
}

bool windowExists() { return webhost::window; }

void destroyWindow() {
    if (!webhost::window) return;
    closeDisplay();
    webhost::window = false;
}

bool takeMessage(Message& message) { return backend::takeMessage(message); }

// The page's turn ends where the main loop waits for a message (host/web/turns.cpp); a
// wait here would hold the page, so it returns and the caller looks again.
void waitMessage() {}

}  // namespace platform

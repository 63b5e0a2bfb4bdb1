// The emulator's window in the page: the page's events become window messages (queued
// in host/backend), and the yields that hand the page its turn.
#include <emscripten.h>

#include "host/backend/input_devices.h"
#include "host/web/web_host.h"

extern "C" {
// Suspends the C++ stack until the first animation frame at or after `notBefore`, or,
// for a negative time, until the page has served what waits; listed as the one
// asynchronous import of the build.
void webhost_yield(double notBefore);
}

namespace webhost {
namespace {

// Work between two turns of the page: short enough that an animation frame is never
// missed for it, long enough that a free-running machine keeps most of the time.
constexpr double sliceMilliseconds = 10.0;
constexpr double pageServed = -1;

bool window = false;
double sliceStart = 0;
PaceTest paceTest = nullptr;

}  // namespace

void yieldUntil(double notBefore) {
    paintPending();
    webhost_yield(notBefore);
    sliceStart = emscripten_get_now();
}

void setPaceTest(PaceTest test) { paceTest = test; }
Pace currentPace() { return paceTest ? paceTest() : Pace::synced; }

// A machine running free goes on as soon as the page has served its events; a loop
// that only polls waits for the next animation frame, so it costs little.
void yieldIfDue() {
    // The clock is read on every sixteenth call only: reading it costs as much as a pass of
    // the machine.
    static uint32_t calls = 0;
    if (++calls % 16 != 0 || emscripten_get_now() - sliceStart < sliceMilliseconds) return;
    yieldUntil(currentPace() == Pace::free ? pageServed : 0);
}

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

bool peekMessage(Message& message) {
    webhost::yieldIfDue();
    return backend::takeMessage(message);
}

bool messageWaiting() {
    webhost::yieldIfDue();
    return backend::messageQueued();
}

void waitMessage() {
    while (!backend::messageQueued()) webhost::yieldUntil(0);
}

}  // namespace platform

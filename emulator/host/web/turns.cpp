// The page's turns. A turn runs the main loop's turns one after another until one has to
// wait, or until it has run long enough; the wait becomes the time of the page's next
// turn (the animation frame of the vertical blank, of a menu's next pass or of the 50 Hz
// clock, or, for a machine running free, as soon as the page has served its events).
// Nothing in C++ blocks the page.
#include <emscripten.h>

#include "host/backend/message_queue.h"
#include "host/main_loop.h"
#include "host/program.h"
#include "host/web/web_host.h"

namespace {

// Work in one turn: short enough that an animation frame is never missed for it, long
// enough that a free-running machine keeps most of the time.
constexpr double sliceMilliseconds = 10.0;
constexpr double pageServed = -1;  // as soon as the page has served what waits
constexpr double nextFrame = 0;
constexpr double ticksPerMillisecond = 1000.0;  // the counter counts microseconds

void (*finishedRun)(int) = nullptr;
bool awaitingMessage = false;

// clang-format off
EM_JS(void, scheduleAt, (double notBefore), {
    const turn = () => Module._varnokTurn();
    if (notBefore < 0) {
        // A message to itself arrives after the events that wait.
        const channel = new MessageChannel();
        channel.port1.onmessage = () => {
            channel.port1.close();
            turn();
        };
        channel.port2.postMessage(0);
        return;
    }
    const step = () => {
        if (performance.now() >= notBefore) turn();
        else requestAnimationFrame(step);
    };
    requestAnimationFrame(step);
});
// clang-format on

// When the next turn of the main loop is due for a wait it returned: at once (0) or the
// time of an animation frame.
double dueTime(const Wait& wait) {
    switch (wait.kind) {
        case Wait::verticalBlank:
            return webhost::nextVerticalBlank();
        case Wait::counter:
        case Wait::sleep:
            return static_cast<double>(wait.deadline) / ticksPerMillisecond;
        case Wait::message:
            awaitingMessage = !backend::messageQueued();
            return awaitingMessage ? nextFrame : 0;
        case Wait::none:
            break;
    }
    return 0;
}

void endOfRun() {
    void (*finished)(int) = finishedRun;
    finishedRun = nullptr;
    awaitingMessage = false;
    const int exitCode = endEmulator();
    if (finished) finished(exitCode);
}

}  // namespace

namespace webhost {

void beginTurns(void (*finished)(int)) {
    finishedRun = finished;
    awaitingMessage = false;
    scheduleAt(nextFrame);
}

void scheduleTurn() { scheduleAt(nextFrame); }

}  // namespace webhost

// The page's turn: the main loop's turns until one waits past now or the slice is over.
extern "C" EMSCRIPTEN_KEEPALIVE void varnokTurn() {
    if (!finishedRun) {
        webhost::stoppedTurn();
        return;
    }
    // A loop that waits for a message looks again at each animation frame.
    if (awaitingMessage && !backend::messageQueued()) {
        scheduleAt(nextFrame);
        return;
    }
    awaitingMessage = false;
    const double sliceEnd = emscripten_get_now() + sliceMilliseconds;
    double due = 0;
    while (!shell.quitRequested) {
        due = dueTime(loopTurn());
        if (shell.quitRequested) break;
        const double now = emscripten_get_now();
        if (awaitingMessage || due > now) break;
        if (now >= sliceEnd) {
            due = webhost::runningFree() ? pageServed : nextFrame;
            break;
        }
    }
    webhost::paintPending();
    if (shell.quitRequested) {
        endOfRun();
        return;
    }
    scheduleAt(due);
}

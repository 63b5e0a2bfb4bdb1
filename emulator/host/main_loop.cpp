// The main loop: emulation steps, host messages paced between them, the step's events and
// the host requests served at the end of a pass. It runs in turns that end where it has
// to wait (the speed sync, a menu's pace, an inactive window), so that a desktop and a
// browser page drive it alike.
#include "host/main_loop.h"

#include <cstdio>
#include <string>

#include "host/autostart.h"
#include "host/frame_end.h"
#include "host/log.h"
#include "host/program.h"
#include "host/run_control.h"
#include "host/screens.h"
#include "machine/power.h"
#include "machine/step.h"
#include "menus/menus.h"
#include "monitor/monitor.h"
#include "shell/keyboard_input.h"
#include "shell/shell.h"
#include "shell/sound_output.h"
#include "storage/screenshot.h"

namespace {

// Message retrieval costs a system call; one per 257 passes keeps it out of the way.
constexpr uint32_t passesPerMessage = 256;

// The first half of a frame end was served and its wait handed out; the second is due.
bool frameEndOpen = false;

}  // namespace

// A picture that could not be written (a full or read-only folder) is said so: on the
// screen, since the desktop shows no terminal, and with the reason on standard error.
void serveScreenshot() {
    if (const files::WriteResult written = writeScreenshot(shell.startFolder, shell.shiftHeld); !written) {
        std::fprintf(stderr, "varnok: screenshot not saved: %s\n", written.error.c_str());
        showNotice("SCREENSHOT NOT SAVED");
    }
    shell.requests.screenshot = 0;
}

namespace {

// A file dropped on the window or chosen in the load menu; one that cannot be started
// changes nothing and says why on the screen, without the file's folder.
void serveStart() {
    const std::string path = shell.fileToStart;
    shell.fileToStart.clear();
    std::string error;
    if (autostartFile(path, error)) return;
    const size_t folder = path.find_last_of('/') + 1;
    showNotice(error.rfind(path, 0) == 0 ? error.substr(folder) : error);
}

struct Request {
    uint16_t* flag;
    void (*serve)();       // or
    const Screen* screen;  // opened, and serving waits until it has closed
    bool whilePaused;      // the others wait until the machine goes on
};

// The order in which raised requests are served. A screen clears its flag when it closes;
// the others are cleared before they are served, so one raised again meanwhile is served
// on the next pass.
// clang-format off
constexpr Request requests[] = {
    {&shell.requests.screenshot,   serveScreenshot,                       nullptr,           true},
    {&shell.requests.optionsMenu,  nullptr,                               &optionsMenu,      false},
    {&shell.requests.gameDatabase, nullptr,                               &gameDatabaseMenu, false},
    {&shell.requests.loadMenu,     nullptr,                               &loadMenu,         false},
    {&shell.requests.start,        serveStart,                            nullptr,           false},
    {&shell.requests.saveMenu,     nullptr,                               &saveMenu,         false},
    {&shell.requests.monitor,      nullptr,                               &monitorScreen,    false},
    {&shell.requests.softReset,    [] { resetMachine(Reset::soft); },     nullptr,           false},
    {&shell.requests.hardReset,    [] { resetMachine(Reset::hard); },     nullptr,           false},
    {&shell.requests.specialReset, [] { resetMachine(Reset::special); },  nullptr,           false},
    {&shell.requests.warp,         toggleWarp,                            nullptr,           true},
    {&shell.requests.pause,        togglePause,                           nullptr,           true},
    {&shell.requests.fullScreen,   [] { platform::setFullScreen(!platform::fullScreen()); }, nullptr, true},
};
// clang-format on

void serveRequests() {
    shell.requests.pending = 0;
    for (const auto& request : requests) {
        // A quit message inside a screen ends the program at once, not after the next one.
        if (shell.quitRequested) return;
        if (!*request.flag) continue;
        if (shell.paused && !request.whilePaused) {
            shell.requests.pending = 1;
            continue;
        }
        if (request.screen) {
            openScreen(*request.screen);
            return;
        }
        *request.flag = 0;
        request.serve();
    }
}

// The passes of the machine, run back to back until the next message, a request, the quit
// or an event of a step: only those can change what a pass does.
Wait runPasses() {
    uint32_t pass = shell.pumpCounter;
    StepEvents events = 0;
    do {
        ++pass;
        events = emulationStep();
    } while (!events && pass <= passesPerMessage && !shell.requests.pending && !shell.quitRequested);
    shell.passCounter += pass - shell.pumpCounter;
    shell.pumpCounter = pass;
    Wait wait;
    if (events) wait = serveStepEvents(events);
    // The requests come after the frame end's second half, as they came after the whole
    // frame end before.
    if (!frameEndOpen && !screenOpen() && shell.requests.pending && !shell.quitRequested) serveRequests();
    return wait;
}

}  // namespace

Wait serveStepEvents(StepEvents events) {
    if (events & stepEvent::debugPort) serveDebugPort();
    if (events & stepEvent::voices) playVoices();
    if (events & stepEvent::breakpoint) openScreen(monitorScreen);
    if (!(events & stepEvent::frameComplete)) return {};
    frameEndOpen = true;
    return beginFrameEnd();
}

namespace {

// The frame end's second half, then the host's input pushed in for the new frame: a change
// of the keys lands between two frames, never inside a program's scan of the keyboard.
void closeFrameEnd() {
    frameEndOpen = false;
    endFrameEnd();
    pushInput();
}

}  // namespace

StepEvents stepAndServe() {
    const StepEvents events = emulationStep();
    performWait(serveStepEvents(events));
    if (frameEndOpen) closeFrameEnd();
    return events;
}

Wait loopTurn() {
    if (shell.quitRequested) return {};
    if (frameEndOpen) {
        closeFrameEnd();
        if (shell.requests.pending && !shell.quitRequested && !screenOpen()) serveRequests();
        return {};
    }
    if (screenOpen()) {
        const Wait wait = screenTurn();
        // The requests raised behind the screen's are served on once it has closed.
        if (!screenOpen() && !shell.quitRequested) serveRequests();
        return wait;
    }
    if (shell.pumpCounter > passesPerMessage) {
        shell.pumpCounter = 0;
        if (pumpMessage() == Pumped::quit) return {};
    }
    if (shell.windowActive && !shell.paused) return runPasses();
    ++shell.pumpCounter;
    ++shell.passCounter;
    // A paused window still answers its run-control keys and takes screenshots.
    if (shell.paused && shell.requests.pending) serveRequests();
    if (!shell.windowActive || shell.paused) return {Wait::message};
    return {};
}

void beginMainLoop() { frameEndOpen = false; }

int32_t endMainLoop() {
    if (screenOpen()) closeScreen();
    closeLog();
    return shell.exitCode;
}

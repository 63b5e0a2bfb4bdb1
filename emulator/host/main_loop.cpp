// The main loop: one emulation step per pass, host messages paced between them,
// and the host requests served at the end of a pass.
#include "host/main_loop.h"

#include <cstdio>
#include <string>

#include "host/autostart.h"
#include "host/frame_end.h"
#include "host/log.h"
#include "host/program.h"
#include "host/run_control.h"
#include "machine/power.h"
#include "machine/step.h"
#include "memory/memory.h"
#include "menus/menus.h"
#include "monitor/monitor.h"
#include "shell/shell.h"
#include "shell/sound_output.h"
#include "storage/screenshot.h"

namespace {

// Message retrieval costs a system call; one per 257 passes keeps it out of the way.
constexpr uint32_t passesPerMessage = 256;

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
    void (*serve)();
    bool whilePaused;  // the others wait until the machine goes on
    // A screen clears its flag when it closes; the others are cleared before they are
    // served, so one raised again meanwhile is served on the next pass.
    bool clearsItself;
};

// The order in which raised requests are served.
// clang-format off
constexpr Request requests[] = {
    {&shell.requests.screenshot,   serveScreenshot,                       true,  true},
    {&shell.requests.optionsMenu,  runOptionsMenu,                        false, true},
    {&shell.requests.gameDatabase, runGameDatabaseMenu,                   false, true},
    {&shell.requests.loadMenu,     runLoadMenu,                           false, true},
    {&shell.requests.start,        serveStart,                            false, false},
    {&shell.requests.saveMenu,     runSaveMenu,                           false, true},
    {&shell.requests.monitor,      runMonitor,                            false, true},
    {&shell.requests.softReset,    [] { resetMachine(Reset::soft); },     false, false},
    {&shell.requests.hardReset,    [] { resetMachine(Reset::hard); },     false, false},
    {&shell.requests.specialReset, [] { resetMachine(Reset::special); },  false, false},
    {&shell.requests.warp,         toggleWarp,                            true,  false},
    {&shell.requests.pause,        togglePause,                           true,  false},
    {&shell.requests.fullScreen,   [] { platform::setFullScreen(!platform::fullScreen()); }, true, false},
};
// clang-format on

}  // namespace

// What a step reported: the test exit, the voices, the frame end and the breakpoint.
void serveStepEvents(StepEvents events) {
    if (events & stepEvent::debugPort) serveDebugPort();
    if (events & stepEvent::voices) playVoices();
    if (events & stepEvent::frameComplete) serveFrameEnd();
    if (events & stepEvent::breakpoint) runMonitor();
}

namespace {

void serveRequests() {
    shell.requests.pending = 0;
    for (const auto& request : requests) {
        // A quit message inside a menu ends the program at once, not after the next screen.
        if (shell.quitRequested) return;
        if (!*request.flag) continue;
        if (shell.paused && !request.whilePaused) {
            shell.requests.pending = 1;
            continue;
        }
        if (!request.clearsItself) *request.flag = 0;
        request.serve();
    }
}

}  // namespace

int32_t runMainLoop() {
    while (!shell.quitRequested) {
        if (shell.pumpCounter > passesPerMessage) {
            shell.pumpCounter = 0;
            if (pumpMessage() == Pumped::quit) break;
        }
        if (shell.windowActive && !shell.paused) {
            // Passes run back to back until the next message, a request or the quit: only
            // those can change what a pass does.
            uint32_t pass = shell.pumpCounter;
            StepEvents events = 0;
            do {
                ++pass;
                events = emulationStep();
            } while (!events && pass <= passesPerMessage && !shell.requests.pending && !shell.quitRequested);
            shell.passCounter += pass - shell.pumpCounter;
            shell.pumpCounter = pass;
            if (events) serveStepEvents(events);
            if (shell.requests.pending && !shell.quitRequested) serveRequests();
        } else {
            ++shell.pumpCounter;
            ++shell.passCounter;
            // A paused window still answers its run-control keys and takes screenshots.
            if (shell.paused && shell.requests.pending) serveRequests();
            if (!shell.windowActive || shell.paused) platform::waitMessage();
        }
    }
    closeLog();
    return shell.exitCode;
}

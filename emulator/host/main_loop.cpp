// The main loop: one emulation step per pass, host messages paced between them,
// and the host requests served at the end of a pass.
#include "host/main_loop.h"

#include <string>

#include "host/autostart.h"
#include "host/frame_end.h"
#include "host/log.h"
#include "host/program.h"
#include "host/run_control.h"
#include "machine/power.h"
#include "machine/step.h"
#include "menus/menus.h"
#include "monitor/monitor.h"
#include "shell/shell.h"
#include "storage/screenshot.h"

namespace {

// Message retrieval costs a system call; one per 257 passes keeps it out of the way.
constexpr uint32_t passesPerMessage = 256;

}  // namespace

void serveScreenshot() {
    writeScreenshot(shell.startFolder, shell.shiftHeld);
    shell.requests.screenshot = 0;
}

namespace {

void serveSoftReset() {
    resetMachine(Reset::soft);
    shell.requests.softReset = 0;
}

void serveHardReset() {
    resetMachine(Reset::hard);
    shell.requests.hardReset = 0;
}

void serveSpecialReset() {
    resetMachine(Reset::special);
    shell.requests.specialReset = 0;
}

// A file dropped on the window or chosen in the load menu; one that cannot be started
// changes nothing and says why on the screen, without the file's folder.
void serveStart() {
    shell.requests.start = 0;
    const std::string path = shell.fileToStart;
    shell.fileToStart.clear();
    std::string error;
    if (autostartFile(path, error)) return;
    const size_t folder = path.find_last_of('/') + 1;
    showNotice(error.rfind(path, 0) == 0 ? error.substr(folder) : error);
}

void serveWarp() {
    toggleWarp();
    shell.requests.warp = 0;
}

void servePause() {
    togglePause();
    shell.requests.pause = 0;
}

void serveFullScreen() {
    platform::setFullScreen(!platform::fullScreen());
    shell.requests.fullScreen = 0;
}

struct Request {
    uint16_t* flag;
    void (*serve)();   // clears the flag when its screen closes
    bool whilePaused;  // the others wait until the machine goes on
};

// The order in which raised requests are served.
// clang-format off
constexpr Request requests[] = {
    {&shell.requests.screenshot,   serveScreenshot,     true},
    {&shell.requests.optionsMenu,  runOptionsMenu,      false},
    {&shell.requests.gameDatabase, runGameDatabaseMenu, false},
    {&shell.requests.loadMenu,     runLoadMenu,         false},
    {&shell.requests.start,        serveStart,          false},
    {&shell.requests.saveMenu,     runSaveMenu,         false},
    {&shell.requests.monitor,      runMonitor,          false},
    {&shell.requests.softReset,    serveSoftReset,      false},
    {&shell.requests.hardReset,    serveHardReset,      false},
    {&shell.requests.specialReset, serveSpecialReset,   false},
    {&shell.requests.warp,         serveWarp,           true},
    {&shell.requests.pause,        servePause,          true},
    {&shell.requests.fullScreen,   serveFullScreen,     true},
};
// clang-format on

void serveRequests() {
    shell.requests.pending = 0;
    for (const auto& request : requests) {
        // A quit message inside a menu ends the program at once, not after the next screen.
        if (shell.quitRequested) return;
        if (!*request.flag) continue;
        if (shell.paused && !request.whilePaused)
            shell.requests.pending = 1;
        else
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
            do {
                ++pass;
                emulationStep();
            } while (pass <= passesPerMessage && !shell.requests.pending && !shell.quitRequested);
            shell.passCounter += pass - shell.pumpCounter;
            shell.pumpCounter = pass;
            if (shell.requests.pending) serveRequests();
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

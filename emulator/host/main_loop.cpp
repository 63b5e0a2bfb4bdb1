// The main loop: one emulation step per pass, host messages paced between them,
// and the host requests served at the end of a pass.
#include "host/main_loop.h"

#include "host/log.h"
#include "host/shell.h"
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

struct Request {
    uint16_t* flag;
    void (*serve)();  // clears the flag when its screen closes
};

// The order in which raised requests are served.
// clang-format off
constexpr Request requests[] = {
    {&shell.requests.screenshot,   serveScreenshot},
    {&shell.requests.optionsMenu,  runOptionsMenu},
    {&shell.requests.gameDatabase, runGameDatabaseMenu},
    {&shell.requests.loadMenu,     runLoadMenu},
    {&shell.requests.saveMenu,     runSaveMenu},
    {&shell.requests.monitor,      runMonitor},
    {&shell.requests.softReset,    serveSoftReset},
    {&shell.requests.hardReset,    serveHardReset},
    {&shell.requests.specialReset, serveSpecialReset},
};
// clang-format on

void serveRequests() {
    shell.requests.pending = 0;
    for (const auto& request : requests) {
        // A quit message inside a menu ends the program at once, not after the next screen.
        if (shell.quitRequested) return;
        if (*request.flag) request.serve();
    }
}

}  // namespace

int32_t runMainLoop() {
    while (!shell.quitRequested) {
        if (shell.pumpCounter > passesPerMessage) {
            shell.pumpCounter = 0;
            if (pumpMessage() == Pumped::quit) break;
        }
        ++shell.pumpCounter;
        ++shell.passCounter;
        if (!shell.windowActive || shell.paused) {
            platform::waitMessage();
        } else {
            emulationStep();
            if (shell.requests.pending) serveRequests();
        }
    }
    closeLog();
    return shell.exitCode;
}

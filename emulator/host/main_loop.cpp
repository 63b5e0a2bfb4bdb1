// The main loop: one emulation step per pass, host messages paced between them,
// and the host requests served at the end of a pass.
#include "host/main_loop.h"

#include "cpu/interrupts.h"
#include "host/configuration.h"
#include "host/log.h"
#include "host/shell.h"
#include "menus/menus.h"
#include "monitor/monitor.h"
#include "storage/program_files.h"
#include "storage/screenshot.h"

uint16_t screenshotRequest, optionsMenuRequest, gameDatabaseRequest, loadMenuRequest, saveMenuRequest,
    monitorRequest, softResetRequest, hardResetRequest, specialResetRequest;
uint16_t hostRequestPending;
uint16_t menuOpen, shiftHeld, ctrlHeld, quickRegistersShown;
uint8_t windowActive, quitRequested;
uint32_t pumpCounter, passCounter;
uint64_t ticksPerFrame, frameStamp;
int32_t savedPriorityClass = -1;

namespace {

// The ROM needs this many passes to reach BASIC before a program can be typed at it.
constexpr uint32_t commandLinePass = 32768;
// Message retrieval costs a system call; one per 257 passes keeps it out of the way.
constexpr uint32_t passesPerMessage = 256;

int32_t exitCode;
// The pass counter wraps after 2^32 passes; the command line still runs only once.
bool commandLineRun;

void runCommandLine() {
    commandLineRun = true;
    loadProgramFile(commandLine.c_str());
    logLine("Info: Command line parameter has been executed.\n");
    typeRun();
}

void serveSoftReset() {
    resetPending = 1;
    softResetRequest = 0;
}

void serveHardReset() {
    hardReset();
    hardResetRequest = 0;
}

void serveSpecialReset() {
    specialReset();
    specialResetRequest = 0;
}

struct Request {
    uint16_t* flag;
    void (*serve)();  // clears the flag when its screen closes
};

// The order in which raised requests are served.
// clang-format off
constexpr Request requests[] = {
    {&screenshotRequest,   writeScreenshot},
    {&optionsMenuRequest,  runOptionsMenu},
    {&gameDatabaseRequest, runGameDatabaseMenu},
    {&loadMenuRequest,     runLoadMenu},
    {&saveMenuRequest,     runSaveMenu},
    {&monitorRequest,      runMonitor},
    {&softResetRequest,    serveSoftReset},
    {&hardResetRequest,    serveHardReset},
    {&specialResetRequest, serveSpecialReset},
};
// clang-format on

void serveRequests() {
    hostRequestPending = 0;
    for (const auto& request : requests) {
        // A quit message inside a menu ends the program at once, not after the next screen.
        if (quitRequested) return;
        if (*request.flag) request.serve();
    }
}

}  // namespace

void resetShellState() {
    for (const auto& request : requests) *request.flag = 0;
    hostRequestPending = menuOpen = shiftHeld = ctrlHeld = quickRegistersShown = 0;
    windowActive = quitRequested = 0;
    pumpCounter = passCounter = 0;
    savedPriorityClass = -1;
    exitCode = 0;
    commandLineRun = false;
}

void requestExit(int32_t code) {
    exitCode = code;
    quitRequested = 1;
}

bool pumpMessages(int count, int32_t& code) {
    for (int i = 0; i < count; ++i) {
        platform::Message message;
        if (!platform::peekMessage(message)) return false;
        if (message.type == platform::msgQuit) {
            code = static_cast<int32_t>(message.wParam);
            return true;
        }
        platform::dispatchMessage(message);
    }
    return false;
}

int32_t runMainLoop() {
    while (!quitRequested) {
        if (pumpCounter > passesPerMessage) {
            pumpCounter = 0;
            if (pumpMessages(1, exitCode)) break;
        }
        if (passCounter == commandLinePass && !commandLine.empty() && !commandLineRun) runCommandLine();
        ++pumpCounter;
        ++passCounter;
        if (!windowActive) {
            platform::waitMessage();
        } else {
            emulationStep();
            if (hostRequestPending) serveRequests();
        }
    }
    closeLog();
    return exitCode;
}

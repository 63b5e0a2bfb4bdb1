#pragma once
// The host shell's state and the services the built-in screens share with the main loop.
// Everything here runs over the platform seam; nothing of the machine depends on it.
#include <cstdint>
#include <string>

#include "platform/platform.h"

// Host request flags, raised by the window procedure and served by the main loop.
struct HostRequests {
    uint16_t screenshot = 0, optionsMenu = 0, gameDatabase = 0, loadMenu = 0, saveMenu = 0, monitor = 0,
             softReset = 0, hardReset = 0, specialReset = 0;
    // Run controls, served even while paused: warp, pause, full screen or window.
    uint16_t warp = 0, pause = 0, fullScreen = 0;
    uint16_t start = 0;    // start shell.fileToStart (dropped on the window or chosen in a menu)
    uint16_t pending = 0;  // any of them, or a key that only interrupts the pass
};

// One instance: the requests, the window and modifier keys, the switches of the status
// texts, the pass counters and the frame clock.
struct Shell {
    HostRequests requests;
    uint16_t menuOpen = 0, shiftHeld = 0, ctrlHeld = 0, altHeld = 0, quickRegistersShown = 0;
    uint8_t speedDisplayShown = 0;  // the options menu's speed display switch
    uint8_t windowActive = 0, quitRequested = 0;
    uint8_t paused = 0;    // a front end's pause: no machine steps, messages are still taken
    int32_t exitCode = 0;  // returned from startEmulator once quitRequested is set
    uint32_t pumpCounter = 0, passCounter = 0;
    uint64_t ticksPerFrame = 0, frameStamp = 0;
    uint64_t nextPresent = 0;  // with the sync off, no frame is shown before this count
    uint32_t frameCount = 0;   // frames the machine has finished
    std::string fileToStart;   // for requests.start
    int32_t savedPriorityClass = -1;
    std::string startFolder;  // the current directory at start: where screenshots go
};

// defined in shell/shell.cpp
extern Shell shell;

// Puts every flag and counter to its start value, so the emulator can be started again
// within one process; the speed display switch and the frame clock stay.
void resetShellState();

// A menu, the monitor or the main loop saw the quit message: the program ends with this
// code. The main loop notices quitRequested and leaves; startEmulator returns the code.
void requestExit(int32_t exitCode);

// A file dropped on the window or chosen in the load menu: the main loop starts it.
void requestStart(const std::string& path);

// Takes the next waiting message if there is one; the quit message asks the program to
// end (requestExit) and is not dispatched. False when none waited.
bool nextMessage(platform::Message& message);

// The window procedure: the host's handler of every message but the quit.
using WindowProc = int32_t (*)(const platform::Message& message);
void setWindowProc(WindowProc proc);
WindowProc currentWindowProc();
void dispatchMessage(const platform::Message& message);
// Destroys the main window, if there is one, and tells the window procedure (msgDestroy).
void closeMainWindow();

enum class Pumped : uint8_t { none, dispatched, quit };
// Takes one waiting message and hands it to the window procedure.
Pumped pumpMessage();

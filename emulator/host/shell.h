#pragma once
#include <cstdint>

#include "host/platform.h"

// Host request flags, raised by the window procedure and served by the main loop.
struct HostRequests {
    uint16_t screenshot = 0, optionsMenu = 0, gameDatabase = 0, loadMenu = 0, saveMenu = 0, monitor = 0,
             softReset = 0, hardReset = 0, specialReset = 0;
    uint16_t pending = 0;  // any of them, or a key that only interrupts the pass
};

// The host shell's state, one instance: the requests, the window and modifier keys,
// the switches of the status texts, the pass counters and the frame clock.
struct Shell {
    HostRequests requests;
    uint16_t menuOpen = 0, shiftHeld = 0, ctrlHeld = 0, quickRegistersShown = 0;
    uint8_t speedDisplayShown = 0;  // the options menu's speed display switch
    uint8_t windowActive = 0, quitRequested = 0;
    int32_t exitCode = 0;  // returned from startEmulator once quitRequested is set
    uint32_t pumpCounter = 0, passCounter = 0;
    uint64_t ticksPerFrame = 0, frameStamp = 0;
    int32_t savedPriorityClass = -1;
};
extern Shell shell;  // defined in host/main_loop.cpp

// The program's entry point: returns the exit code.
int startEmulator(const char* commandLineTail, int showCommand);
int32_t windowProc(const platform::Message& message);
void frameSync();

// Device set-up and release over the platform layer.
int32_t initHostDevices(int showCommand);
void releaseHostDevices();

// A menu or the monitor saw the quit message: the program ends with this code.
// The main loop notices shell.quitRequested and leaves; exitCode is returned from startEmulator.
void requestExit(int32_t exitCode);

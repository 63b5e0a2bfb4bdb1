#pragma once
#include <cstdint>

#include "host/platform.h"

// Host request flags, raised by the window procedure and served by the main loop.
extern uint16_t screenshotRequest, optionsMenuRequest, gameDatabaseRequest, loadMenuRequest, saveMenuRequest,
    monitorRequest, softResetRequest, hardResetRequest, specialResetRequest;
extern uint16_t hostRequestPending;
extern uint16_t menuOpen, shiftHeld, ctrlHeld, quickRegistersShown;
extern uint8_t windowActive, quitRequested;
extern uint32_t pumpCounter, passCounter;
extern uint64_t ticksPerFrame, frameStamp;
extern int32_t savedPriorityClass;

// The program's entry point: returns the exit code.
int startEmulator(const char* commandLineTail, int showCommand);
int32_t windowProc(const platform::Message& message);
void frameSync();
void hardReset();
void specialReset();

// Device set-up and release over the platform layer.
int32_t initHostDevices(int showCommand);
void releaseHostDevices();

// A menu or the monitor saw the quit message: the program ends with this code.
// The main loop notices quitRequested and leaves; exitCode is returned from startEmulator.
void requestExit(int32_t exitCode);

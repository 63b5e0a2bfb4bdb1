#pragma once
// The program around the machine: start-up, the window procedure, the devices and the
// headless test exit. The shell's state and message pump are in shell/shell.h.
#include <cstdint>

#include "platform/platform.h"
#include "shell/shell.h"

// defined in host/startup.cpp
// The program's entry point: starts the machine, runs the main loop's turns with their
// waits until the quit, and returns the exit code.
int startEmulator(const char* commandLineTail, int showCommand);
// The same in the two halves around the turns, for a host that takes the turns itself (a
// browser page, one per animation frame): false when the start failed or was quit, with
// the exit code set; then the end, once shell.quitRequested is set, returns the code.
bool beginEmulator(const char* commandLineTail, int showCommand, int& exitCode);
int endEmulator();

// defined in host/window_proc.cpp
int32_t windowProc(const platform::Message& message);

// defined in host/devices.cpp
// Device set-up and release over the platform layer.
int32_t initHostDevices(int showCommand);
void releaseHostDevices();

// defined in host/debug_cart.cpp
// Test programs running headless report their result by a write to $FDCF; when this is
// set before start, that write (served after its step) ends the program with the value.
extern uint8_t debugCartEnabled;
void serveDebugPort();

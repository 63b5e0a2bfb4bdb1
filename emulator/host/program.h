#pragma once
// The program around the machine: start-up, the window procedure, the devices and the
// headless test exit. The shell's state and message pump are in shell/shell.h.
#include <cstdint>

#include "host/platform.h"
#include "shell/shell.h"

// defined in host/startup.cpp
// The program's entry point: returns the exit code.
int startEmulator(const char* commandLineTail, int showCommand);

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

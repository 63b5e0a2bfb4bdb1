#pragma once
// The main loop and the requests it serves (defined in host/main_loop.cpp).
#include <cstdint>

// Runs passes until the quit key, a quit message or requestExit; returns the exit code.
int32_t runMainLoop();
// Serves what a step reported: the test exit, the voices, the frame end and the monitor
// at the breakpoint.
void serveStepEvents(uint8_t events);
// F6: the screenshot, with the border while Shift is held; clears the request.
void serveScreenshot();

#pragma once
// The main loop and the requests it serves (defined in host/main_loop.cpp).
#include <cstdint>

// Runs passes until the quit key, a quit message or requestExit; returns the exit code.
int32_t runMainLoop();
// F6: the screenshot, with the border while Shift is held; clears the request.
void serveScreenshot();

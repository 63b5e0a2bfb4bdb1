#pragma once
// The shell's own seams between start-up and the main loop.
#include <cstdint>

// Puts every shell flag and counter to its start value, so the emulator can be started
// again within one process.
void resetShellState();
// Runs passes until the quit key, a quit message or requestExit; returns the exit code.
int32_t runMainLoop();
// Retrieves and dispatches waiting messages, at most `count`; true with the exit code
// when the quit message came.
bool pumpMessages(int count, int32_t& exitCode);

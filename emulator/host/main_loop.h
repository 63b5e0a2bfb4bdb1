#pragma once
// The main loop, its turns and the requests it serves (defined in host/main_loop.cpp).
#include <cstdint>

#include "common/step_events.h"
#include "shell/pacing.h"

// One turn of the loop: runs passes of the machine (or of the open screen) until it has to
// wait for something, and says what. A desktop performs the wait and goes on; a browser
// page takes the next turn at the animation frame that ends it.
Wait loopTurn();
// Before the first turn; and after the last (the quit key, a quit message or requestExit):
// closes an open screen and the log and returns the exit code.
void beginMainLoop();
int32_t endMainLoop();

// Serves what a step reported: the test exit, the voices, the monitor at the breakpoint,
// and the first half of a frame end, whose wait it returns.
Wait serveStepEvents(StepEvents events);
// One step with what it reports served, the frame end's wait included: for tests and
// tools that run the machine without the loop.
StepEvents stepAndServe();

// F6: the screenshot, with the border while Shift is held; clears the request.
void serveScreenshot();

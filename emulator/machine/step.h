#pragma once
// The machine's time: one step of the main loop and the monitor's two stepping forms.
// Each runs the processor and hands the cycles on to the TED in single-clock cycles.
// Time flows down: the machine never calls the program around it. What that program must
// hear about comes back from the step as events; what it must read (the debug port's
// value, the voices) waits in the machine's state.
#include <cstdint>

#include "common/step_events.h"
#include "state/machine.h"

// One pass of the main loop: an instruction (two where the TED allows double clock),
// interrupts, timers, beam, renderer and the breakpoint. A step that completes a frame
// returns before drawing; the next call then only draws and tests the breakpoint. A
// breakpoint reached by the first instruction of a double-clock pair ends the step there.
StepEvents emulationStep();
// The monitor's single step: like emulationStep's first half, without renderer or breakpoint.
void stepInstruction();
// The monitor's step over: a JSR runs with its whole routine.
void stepOver();

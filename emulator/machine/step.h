#pragma once
// The machine's time: one step of the main loop and the monitor's two stepping forms.
// Each runs the processor and hands the cycles on to the TED in single-clock cycles.
#include <cstdint>

struct Machine {
    uint16_t oddCycle = 0;  // half a single-clock cycle carried between double-clock halvings
    // The count the last step left, which the monitor shows. After a double-clock pair it
    // is half the pair, its odd cycle dropped.
    uint16_t stepCycles = 0;
    uint16_t breakpointAddress = 0;  // the monitor's one breakpoint
    uint8_t breakpointEnabled = 0;
};

// defined in machine/step.cpp
extern Machine machine;

// One pass of the main loop: an instruction (two where the TED allows double clock),
// interrupts, timers, beam, renderer and the breakpoint.
void emulationStep();
// The monitor's single step: like emulationStep's first half, without renderer or breakpoint.
void stepInstruction();
// The monitor's step over: a JSR runs with its whole routine.
void stepOver();

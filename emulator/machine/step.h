#pragma once
// The machine's time: one step of the main loop and the monitor's two stepping forms.
// Each runs the processor and hands the cycles on to the TED in single-clock cycles.
// Time flows down: the machine never calls the program around it. What that program must
// hear about comes back from the step as events; what it must read (the debug port's
// value, the voices) waits in the machine's state.
#include <cstdint>

struct Machine {
    uint16_t oddCycle = 0;  // half a single-clock cycle carried between double-clock halvings
    // The count the last step left, which the monitor shows. After a double-clock pair it
    // is half the pair, its odd cycle dropped.
    uint16_t stepCycles = 0;
    uint16_t breakpointAddress = 0;  // the monitor's one breakpoint
    uint8_t breakpointEnabled = 0;
    // A step stopped at a frame end: the next one draws and tests the breakpoint first.
    uint8_t drawPending = 0;
};

// defined in machine/step.cpp
extern Machine machine;

// What happened in a step, as bits.
namespace stepEvent {
// The frame buffer holds a whole frame and nothing of the next is drawn yet: the frame
// end (speed sync, status texts, presentation) is due before the next step.
constexpr uint8_t frameComplete = 0x01;
// The processor reached the enabled breakpoint (PC is on it): the monitor is due.
constexpr uint8_t breakpoint = 0x02;
// The test exit port $FDCF was written (memory.debugPortValue; memory.debugPortWritten
// stays set until the program around the machine clears it).
constexpr uint8_t debugPort = 0x04;
// The voices' rates or attenuations changed (ted.sound.voices; ted.sound.voicesChanged
// stays set until the program around the machine clears it).
constexpr uint8_t voices = 0x08;
}  // namespace stepEvent
using StepEvents = uint8_t;

// One pass of the main loop: an instruction (two where the TED allows double clock),
// interrupts, timers, beam, renderer and the breakpoint. A step that completes a frame
// returns before drawing; the next call then only draws and tests the breakpoint. A
// breakpoint reached by the first instruction of a double-clock pair ends the step there.
StepEvents emulationStep();
// The monitor's single step: like emulationStep's first half, without renderer or breakpoint.
void stepInstruction();
// The monitor's step over: a JSR runs with its whole routine.
void stepOver();
// The debug port and voice events raised and not yet cleared (after the monitor's steps,
// a snapshot load or anything else that ran the machine outside emulationStep).
StepEvents raisedEvents();

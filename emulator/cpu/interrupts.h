#pragma once
#include <cstdint>

// The processor's interrupt state, one instance.
struct Interrupts {
    uint8_t resetPending = 0;  // the next serviceInterrupts takes the reset vector
    uint16_t irqLatched = 0;   // an interrupt was accepted and waits for its entry
    uint16_t irqDelay = 0;     // cycles since the latch
};
extern Interrupts interrupts;  // defined in cpu/interrupts.cpp

extern uint16_t oddCycle;           // half cycle carried between double-clock halvings
extern uint16_t pairCycles;         // unhalved sum of a double-clock step
extern uint16_t breakpointAddress;  // the monitor's one breakpoint
extern uint8_t breakpointEnabled;

void serviceInterrupts();
void emulationStep();
void stepInstruction();
void stepOver();

// Puts the registers and interrupt state to their power-on values (PC $0000,
// SP $FF, flags clear, interrupts.resetPending set).
void powerOnCpu();

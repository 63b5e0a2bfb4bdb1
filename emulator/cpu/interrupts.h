#pragma once
#include <cstdint>

extern uint8_t resetPending;        // the next serviceInterrupts takes the reset vector
extern uint16_t irqLatched;         // an interrupt was accepted and waits for its entry
extern uint16_t irqDelay;           // cycles since the latch
extern uint16_t oddCycle;           // half cycle carried between double-clock halvings
extern uint16_t pairCycles;         // unhalved sum of a double-clock step
extern uint16_t breakpointAddress;  // the monitor's one breakpoint
extern uint8_t breakpointEnabled;

void serviceInterrupts();
void emulationStep();
void stepInstruction();
void stepOver();

// Puts the registers and interrupt state to their power-on values (PC $0000,
// SP $FF, flags clear, resetPending set).
void powerOnCpu();

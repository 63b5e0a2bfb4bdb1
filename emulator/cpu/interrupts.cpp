// Placeholder until this unit is built; replace the whole file.
#include "cpu/interrupts.h"
uint8_t resetPending; uint16_t irqLatched, irqDelay, oddCycle, pairCycles, breakpointAddress; uint8_t breakpointEnabled;
void serviceInterrupts() {}
void emulationStep() {}
void stepInstruction() {}
void stepOver() {}
void powerOnCpu() {}

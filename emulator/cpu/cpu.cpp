// Placeholder until this unit is built; replace the whole file.
#include "cpu/cpu.h"
Registers reg;
uint8_t packStatus() { return 0x20; }
void unpackStatus(uint8_t) {}
void executeInstruction() { reg.lastCycle = 2; }

#pragma once
#include "cpu/registers.h"

// Executes the one instruction at PC, stores its cycle count in reg.lastCycle and returns
// it. The four unimplemented opcodes have no count of their own: they leave reg.lastCycle
// as it was (2 if it was 0) and return 0, so that the step repeats its own last count.
uint16_t executeInstruction();

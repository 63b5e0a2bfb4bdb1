#pragma once
#include "cpu/registers.h"
#include "ted/memory_map.h"

namespace cpu {
// One handler per opcode (defined in cpu/cpu.cpp): runs the instruction at PC, stores its
// cycle count in reg.lastCycle and returns it.
using Instruction = uint16_t (*)();
extern const Instruction instructions[256];
}  // namespace cpu

// Executes the one instruction at PC, stores its cycle count in reg.lastCycle and returns
// it. Inline, with its one table dispatch, since it runs for every instruction.
inline uint16_t executeInstruction() { return cpu::instructions[readMemory(reg.PC)](); }

#pragma once
// The computer's 7501: the one processor core (cpu/core.h) on the memory map.
#include "cpu/core.h"
#include "cpu/registers.h"
#include "ted/memory_map.h"

// The processor's view of the memory map.
struct MemoryBus {
    uint8_t read(uint16_t address) { return readMemory(address); }
    void write(uint16_t address, uint8_t value) { writeMemory(address, value); }
};

// Executes the one instruction at PC, stores its cycle count in reg.lastCycle and returns
// it. Inline, with its one table dispatch, since it runs for every instruction.
inline uint16_t executeInstruction() {
    MemoryBus bus;
    return cpu::execute(reg, bus);
}

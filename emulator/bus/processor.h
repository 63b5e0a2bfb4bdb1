#pragma once
// The computer's 7501: the one processor core (cpu/core.h) on the memory map.
#include "bus/memory_map.h"
#include "cpu/core.h"
#include "cpu/registers.h"
#include "state/machine.h"

// The processor's view of the memory map.
struct MemoryBus {
    static uint8_t read(uint16_t address) { return readMemory(address); }
    static void write(uint16_t address, uint8_t value) { writeMemory(address, value); }
    // Page zero is RAM in every configuration, never folded, except the processor port.
    static uint8_t readZeroPage(uint8_t address) {
        return address != 0x01 ? memory.ram[address] : readMappedMemory(address);
    }
    static void writeZeroPage(uint8_t address, uint8_t value) {
        if (address > 0x01) [[likely]]
            memory.ram[address] = value;
        else
            writeMappedMemory(address, value);
    }
    static Registers& registers() { return reg; }
};

// The computer's status register: N V 1 B D I Z C, bit 5 always set; and back, each
// flag from its bit, bit 5 ignored.
inline uint8_t packStatus() { return cpu::statusByte(reg); }
inline void unpackStatus(uint8_t status) { cpu::setStatusByte(reg, status); }

// Executes the one instruction at PC, stores its cycle count in reg.lastCycle and returns
// it. Inline, with its one table dispatch, since it runs for every instruction.
inline uint16_t executeInstruction() {
    static MemoryBus bus;  // no state: only its type chooses the handlers
    return cpu::execute(bus);
}

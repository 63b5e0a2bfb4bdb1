#pragma once
// The memory map: every processor access is decoded here, to RAM, a ROM bank, the I/O
// page at $FD00-$FF3F (the keyboard latch, the bank latch, the drive's cable, the TED's
// registers) or the processor port.
#include <cstdint>

#include "memory/memory.h"

// Every processor access goes through these two. Most reads are of RAM below $8000, which
// no ROM hides, and most writes are of RAM from $0002 to $EFFF, where a write always lands in RAM:
// those are answered inline, without a call. Everything else takes the whole map
// (defined in bus/memory_map.cpp), which also answers those addresses alike.
uint8_t readMappedMemory(uint16_t address);
void writeMappedMemory(uint16_t address, uint8_t value);

inline uint8_t readMemory(uint16_t address) {
    if (address < 0x8000) {
        const uint16_t folded = address & memory.foldMask;
        if (folded != 0x0001) return memory.ram[folded];  // $0001, the port's input, reads $FF
    }
    return readMappedMemory(address);
}

inline void writeMemory(uint16_t address, uint8_t value) {
    // $0000-$0001, the processor port, may move the serial lines: the whole map takes them.
    if (static_cast<uint16_t>(address - 2) < 0xF000 - 2) {
        memory.ram[address & memory.foldMask] = value;  // with ROMs on, the RAM beneath them
        return;
    }
    writeMappedMemory(address, value);
}

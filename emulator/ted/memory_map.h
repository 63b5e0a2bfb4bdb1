#pragma once
#include <cstddef>
#include <cstdint>

#include "chips/serial_bus.h"
#include "common/reset.h"

constexpr size_t ramBlockBytes = 73728;  // 64 KB of address space and 8 KB of slack
constexpr size_t romImageBytes = 0x4000;

// RAM, the four ROM banks and the mapping state, one instance.
struct MemoryMap {
    uint8_t* ram = nullptr;                  // 8-byte aligned inside the RAM block; null until allocated
    uint8_t romLow[4][romImageBytes] = {};   // $8000-$BFFF of banks 0..3
    uint8_t romHigh[4][romImageBytes] = {};  // $C000-$FFFF of banks 0..3
    uint8_t romEnabled = 0;
    uint16_t romBankLow = 0, romBankHigh = 0;
    uint16_t foldMask = 0xFFFF;   // $3FFF for 16 KB, $7FFF for 32 KB
    uint8_t* ramBlock = nullptr;  // the address the allocator returned
    // Called after a write to $FDCF is stored, when the host has installed it (the test
    // exit of headless runs, host/debug_cart.cpp); no other address looks at it.
    void (*debugPortWrite)(uint8_t value) = nullptr;
    // The serial bus behind the processor port's CLK and DATA inputs (a true 1541 on it).
    SerialBus serial;
};

// defined in ted/memory_map.cpp
extern MemoryMap memory;

// Allocates the RAM block (zeroing the slack); false when the allocation fails.
bool allocateRamBlock();
// Frees the block by the address the allocator returned; memory.ram becomes null.
void releaseRamBlock();
// The "Ram" setting: 0 = 16 KB, 1 = 32 KB, anything else 64 KB.
void setRamSize(int32_t ramSetting);

// Every processor access goes through these two. Most reads are of RAM below $8000, which
// no ROM hides, and most writes are of RAM below $F000, where a write always lands in RAM:
// those are answered inline, without a call. Everything else takes the whole map
// (defined in ted/memory_map.cpp), which also answers those addresses alike.
uint8_t readMappedMemory(uint16_t address);
void writeMappedMemory(uint16_t address, uint8_t value);
// A read of the write-only bank latch ($FDD0-$FDDF), for readMappedMemory: the byte the
// data bus still carries (defined in ted/open_bus.cpp).
uint8_t openBusRead(uint16_t address);

inline uint8_t readMemory(uint16_t address) {
    if (address < 0x8000) {
        const uint16_t folded = address & memory.foldMask;
        if (folded != 0x0001) return memory.ram[folded];  // $0001, the port's input, reads $FF
    }
    return readMappedMemory(address);
}

inline void writeMemory(uint16_t address, uint8_t value) {
    if (address < 0xF000) {
        memory.ram[address & memory.foldMask] = value;  // with ROMs on, the RAM beneath them
        return;
    }
    writeMappedMemory(address, value);
}

// 00 00 FF FF FF FF 00 00 repeated from address $0000, over first..last inclusive.
void fillPowerOnPattern(uint32_t first, uint32_t last);

// Every reset but the soft one turns the ROMs on; the hard and special resets clear the
// top page above the TED ($FFFF keeps its value), and the hard one refills RAM below
// the I/O area with the power-on pattern. (Start-up fills RAM when it allocates it.)
void resetMemory(Reset kind);

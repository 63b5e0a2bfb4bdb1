#pragma once
// The computer's memory: RAM of the configured size, the four ROM banks and the banking
// state, as the processor's map (bus/) and the TED's fetches both see them.
#include <cstddef>
#include <cstdint>

#include "chips/serial_bus.h"
#include "common/step_events.h"

constexpr size_t ramBlockBytes = 73728;  // 64 KB of address space and 8 KB of slack
constexpr size_t romImageBytes = 0x4000;

// RAM, the four ROM banks and the mapping state, a member of the machine (state/machine.h).
struct MemoryMap {
    uint8_t* ram = nullptr;                  // 8-byte aligned inside the RAM block; null until allocated
    uint8_t romLow[4][romImageBytes] = {};   // $8000-$BFFF of banks 0..3
    uint8_t romHigh[4][romImageBytes] = {};  // $C000-$FFFF of banks 0..3
    uint8_t romEnabled = 0;
    uint16_t romBankLow = 0, romBankHigh = 0;
    uint16_t foldMask = 0xFFFF;   // $3FFF for 16 KB, $7FFF for 32 KB
    uint8_t* ramBlock = nullptr;  // the address the allocator returned
    uint8_t debugPortValue = 0;   // the last value written to the test exit port $FDCF
    // Events the chips raised for the step to report (common/step_events.h): the debug port
    // written, the voices changed. Each stays until the program around the machine serves it.
    StepEvents raisedEvents = 0;
    // The serial bus behind the processor port's CLK and DATA inputs (a true 1541 on it).
    SerialBus serial;
};

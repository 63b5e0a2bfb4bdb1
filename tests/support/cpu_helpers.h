#pragma once
// Helpers for tests that run the processor on a few bytes of code in RAM.

#include <cstdint>
#include <initializer_list>

#include "bus/interrupts.h"
#include "bus/memory_map.h"
#include "bus/processor.h"
#include "machine/power.h"
#include "machine/step.h"
#include "support/fake_platform.h"
#include "ted/raster.h"
#include "ted/ted.h"

// 64 KB of cleared RAM with the ROMs mapped out, the registers at their power-on
// values without a pending reset, the TED's timers and beam at their start, and no
// interrupt or breakpoint state. The host is the test double, since a step may
// reach the frame end.
inline void resetCpuMachine() {
    resetFakePlatform();
    freshMachine();
    if (!memory.ram) allocateRamBlock();
    setRamSize(2);
    resetMachine(Reset::powerOn);
    memory.romEnabled = 0;
    reg = Registers{};
    interrupts.resetPending = 0;
    ted.doubleClockAllowed = 0;
}

// Stores bytes in RAM from address on (below the I/O area).
inline void poke(uint16_t address, std::initializer_list<uint8_t> bytes) {
    for (uint8_t byte : bytes) memory.ram[address++] = byte;
}

inline void pokeWord(uint16_t address, uint16_t value) {
    poke(address, {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
}

// Runs n instructions on their own, without interrupts or the TED.
inline void runInstructions(int n) {
    for (int i = 0; i < n; ++i) executeInstruction();
}

#pragma once
// The machine both benchmarks run: 64 KB of RAM with ROMs off, timers, beam and
// CPU in their power-on state, and a program copied to $1000 with PC on it.
#include <cstddef>
#include <cstdint>

#include "bus/interrupts.h"
#include "machine/power.h"
#include "machine/step.h"
#include "memory/memory.h"
#include "state/machine.h"
#include "support/fake_platform.h"
#include "ted/raster.h"
#include "ted/ted.h"

inline bool powerOnBenchMachine(const uint8_t* program, size_t length) {
    resetFakePlatform();
    if (!allocateRamBlock()) return false;
    setRamSize(2);
    startBeam();
    resetMachine(Reset::powerOn);
    interrupts.resetPending = 0;
    memory.romEnabled = 0;
    for (size_t i = 0; i < length; ++i) memory.ram[0x1000 + i] = program[i];
    reg.PC = 0x1000;
    return true;
}

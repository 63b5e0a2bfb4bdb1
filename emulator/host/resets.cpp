// The hard and special resets of the host keys: a cold start without losing the ROM choice.
#include <cstring>

#include "cpu/interrupts.h"
#include "host/shell.h"
#include "ted/memory_map.h"
#include "ted/raster.h"

namespace {

// Both resets clear the TED registers and the top page; $FFFF keeps its value.
void resetMachine(bool refillRam) {
    std::memset(memory.ram + 0xFF00, 0, 0x40);
    if (refillRam) fillPowerOnPattern(0x0000, 0xFEFF);
    std::memset(memory.ram + 0xFF40, 0, 0xFFFF - 0xFF40);
    powerOnCpu();
    memory.romEnabled = 1;
    resetBeam();
}

}  // namespace

void hardReset() { resetMachine(true); }

// Keeps the program in RAM, so a crashed program can be examined after the ROM restarts.
void specialReset() { resetMachine(false); }

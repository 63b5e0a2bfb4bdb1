// Power-on and the resets: one call per unit, always in the same order.
#include "machine/power.h"

#include <cstring>
#include <memory>

#include "bus/interrupts.h"
#include "memory/memory.h"
#include "ted/ted.h"

void resetMachine(Reset kind) {
    resetMemory(kind);
    resetTed(kind);
    resetCpu(kind);
}

void freshMachine() {
    MemoryMap& owned = theMachine.memory;
    uint8_t *ram = owned.ram, *block = owned.ramBlock;
    const uint16_t foldMask = owned.foldMask;
    // Built on the heap: the machine is far larger than a stack frame should be.
    theMachine = std::move(*std::make_unique<Machine>());
    owned.ram = ram;
    owned.ramBlock = block;
    owned.foldMask = foldMask;
    if (block) std::memset(block, 0, ramBlockBytes);
}

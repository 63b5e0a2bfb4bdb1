// Power-on and the resets: one call per unit, always in the same order.
#include "machine/power.h"

#include "bus/interrupts.h"
#include "memory/memory.h"
#include "ted/ted.h"

void resetMachine(Reset kind) {
    resetMemory(kind);
    resetTed(kind);
    resetCpu(kind);
}

#pragma once
#include <cstdint>

#include "common/reset.h"
#include "cpu/registers.h"
#include "state/machine.h"
#include "ted/ted.h"

// Pushes PC and the status with bit 4 clear (how a handler tells them from BRK), sets I
// and jumps through the vector.
void enterThrough(uint16_t vector);

// After an instruction of `cycles` cycles: enters a pending reset, latches the TED's
// interrupt line, and enters a latched interrupt one instruction after the latch. Inline:
// it runs after every instruction and usually finds nothing to do.
inline void serviceInterrupts(uint16_t cycles) {
    if (interrupts.resetPending) {
        enterThrough(0xFFFC);
        interrupts.resetPending = 0;
    }
    if (!reg.I && ted.irqLine) {
        interrupts.irqLatched = 1;
    } else if (!interrupts.irqLatched) {
        return;
    }
    // The latching instruction's own cycles count first, so the entry comes one
    // instruction after the latch.
    if (interrupts.irqDelay > 1) {
        enterThrough(0xFFFE);
        interrupts.irqLatched = 0;
        interrupts.irqDelay = 0;
    } else {
        interrupts.irqDelay = static_cast<uint16_t>(interrupts.irqDelay + cycles);
    }
}

// Every reset but the soft one puts the registers to their power-on values (PC $0000,
// SP $FF, flags clear); all of them set resetPending. The latch is left as it is.
void resetCpu(Reset kind);

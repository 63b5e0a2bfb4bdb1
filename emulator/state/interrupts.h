#pragma once
#include <cstdint>

// The processor's interrupt state, a member of the machine (state/machine.h).
struct Interrupts {
    uint8_t resetPending = 0;  // the next serviceInterrupts takes the reset vector
    uint16_t irqLatched = 0;   // an interrupt was accepted and waits for its entry
    uint16_t irqDelay = 0;     // cycles since the latch
};

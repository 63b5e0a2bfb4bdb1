#pragma once
#include <cstdint>

// The processor's register file. Flags are kept apart, one byte each: zero is
// clear and any other value is set, so instructions can store a tested bit directly.
struct Registers {
    uint16_t PC = 0;
    uint8_t AC = 0, XR = 0, YR = 0, SP = 0xFF;
    uint8_t N = 0, V = 0, B = 0, D = 0, I = 0, Z = 0, C = 0;
    uint16_t lastCycle = 0;  // cycles of the last instruction
};

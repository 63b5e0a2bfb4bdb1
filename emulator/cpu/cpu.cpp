// The computer's processor registers.
#include "cpu/core.h"
#include "cpu/registers.h"

Registers reg;

uint8_t packStatus() { return cpu::statusByte(reg); }
void unpackStatus(uint8_t status) { cpu::setStatusByte(reg, status); }

// The reset and interrupt entries, looked at after each instruction.
#include "cpu/interrupts.h"

#include "cpu/operations.h"

Interrupts interrupts;

void enterThrough(uint16_t vector) {
    cpu::pushWord(reg.PC);
    cpu::pushStatus(false);
    reg.I = 1;
    reg.PC = cpu::readWord(vector);
}

void resetCpu(Reset kind) {
    if (kind != Reset::soft) {
        reg.PC = 0x0000;
        reg.AC = reg.XR = reg.YR = 0;
        reg.SP = 0xFF;
        reg.N = reg.V = reg.B = reg.D = reg.I = reg.Z = reg.C = 0;
    }
    interrupts.resetPending = 1;
}

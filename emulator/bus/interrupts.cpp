// The reset and interrupt entries, looked at after each instruction.
#include "bus/interrupts.h"

#include "bus/processor.h"

void enterThrough(uint16_t vector) {
    MemoryBus bus;
    cpu::enterInterrupt(bus, vector);
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

// Ties the processor to the TED's time: the reset and interrupt entries after each
// instruction, the single- and double-clock steps of the main loop, and the monitor's
// stepping.
#include "cpu/interrupts.h"

#include "cpu/cpu.h"
#include "cpu/operations.h"
#include "monitor/monitor.h"
#include "ted/raster.h"
#include "ted/ted.h"

Interrupts interrupts;
uint16_t oddCycle;
uint16_t pairCycles;
uint16_t breakpointAddress;
uint8_t breakpointEnabled;

namespace {

// A called routine that has not returned after about five seconds of machine time
// (250 frames of 312 lines of 57 cycles) is abandoned, so step-over never hangs.
constexpr uint32_t stepOverCycleBudget = 5 * 50 * 17784;

// Reset and interrupt push the status with bit 4 clear; that is how the handler
// tells them from BRK.
void enterThrough(uint16_t vector) {
    cpu::pushWord(reg.PC);
    cpu::push(packStatus() & ~0x10);
    reg.I = 1;
    reg.PC = cpu::readWord(vector);
}

bool doubleClock() { return ted.doubleClockAllowed == 1 && !ted.singleClock; }

// The TED counts single-clock cycles; the half cycle left over is carried to the next halving.
void halveLastCycle() {
    uint16_t total = static_cast<uint16_t>(reg.lastCycle + oddCycle);
    oddCycle = total & 1;
    reg.lastCycle = total >> 1;
}

void breakpointTest() {
    if (breakpointEnabled == 1 && reg.PC == breakpointAddress) runMonitor();
}

// One instruction of a double-clock step; the TED sees its halved count.
void doubleClockHalf() {
    executeInstruction();
    serviceInterrupts();
    pairCycles = static_cast<uint16_t>(pairCycles + reg.lastCycle);
    halveLastCycle();
    timerStep();
    rasterStep();
}

void stepWithoutService() {
    executeInstruction();
    timerStep();
    rasterStep();
}

}  // namespace

void serviceInterrupts() {
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
        interrupts.irqDelay = static_cast<uint16_t>(interrupts.irqDelay + reg.lastCycle);
    }
}

void emulationStep() {
    if (doubleClock()) {
        pairCycles = 0;
        doubleClockHalf();
        breakpointTest();
        doubleClockHalf();
        // The renderer gets half the pair; its odd cycle is dropped, not carried.
        reg.lastCycle = pairCycles >> 1;
        renderStep();
        breakpointTest();
        return;
    }
    executeInstruction();
    serviceInterrupts();
    timerStep();
    rasterStep();
    renderStep();
    breakpointTest();
}

void stepInstruction() {
    executeInstruction();
    serviceInterrupts();
    if (doubleClock()) halveLastCycle();
    timerStep();
    rasterStep();
}

// A JSR runs with its whole routine, up to the RTS that brings SP back. Interrupts
// wait meanwhile; only a pending reset is entered.
void stepOver() {
    if (interrupts.resetPending) serviceInterrupts();
    if (readMemory(reg.PC) != 0x20) {
        stepWithoutService();
        return;
    }
    uint8_t callerSP = reg.SP;
    uint32_t spent = 0;
    do {
        if (interrupts.resetPending) serviceInterrupts();
        stepWithoutService();
        spent += reg.lastCycle;
    } while (reg.SP != callerSP && spent < stepOverCycleBudget);
}

void powerOnCpu() {
    reg.PC = 0x0000;
    reg.AC = reg.XR = reg.YR = 0;
    reg.SP = 0xFF;
    reg.N = reg.V = reg.B = reg.D = reg.I = reg.Z = reg.C = 0;
    interrupts.resetPending = 1;
}

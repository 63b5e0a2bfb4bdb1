// The machine's time. The processor counts its own cycles (reg.lastCycle); the TED's
// timers, beam and renderer count single-clock cycles and get them here as an argument.
// Where the TED allows double clock a step runs two instructions and halves their counts;
// that halving, with its carried bit, happens only in this file.
#include "machine/step.h"

#include "bus/interrupts.h"
#include "bus/memory_map.h"
#include "bus/processor.h"
#include "memory/memory.h"
#include "ted/raster.h"
#include "ted/ted.h"
#include "truedrive/true_drive.h"

namespace {

// A called routine that has not returned after about five seconds of machine time
// (250 frames of 312 lines of 57 cycles) is abandoned, so step-over never hangs.
constexpr uint32_t stepOverCycleBudget = 5 * 50 * 17784;

bool doubleClock() { return ted.doubleClockAllowed == 1 && !ted.singleClock; }

// The half cycle left over is carried to the next halving.
uint16_t halve(uint16_t cycles) {
    const uint16_t total = static_cast<uint16_t>(cycles + machine.oddCycle);
    machine.oddCycle = total & 1;
    return total >> 1;
}

// A true drive catches up with the computer at the end of every line (and whenever the
// computer reaches for the lines between them, bus/memory_map.cpp); a frame is complete
// when the beam has come to TED line 0.
[[gnu::noinline]] void lineEnded() {
    finishTrueDriveLine();
    if (frameComplete()) machine.frameEnd = 1;
}

// What runs after each instruction, in this order, with single-clock cycles.
[[gnu::always_inline]] inline void advanceTed(uint16_t cycles) {
    machine.stepCycles = cycles;
    timerStep(cycles);
    if (rasterStep(cycles)) [[unlikely]]
        lineEnded();
}

bool atBreakpoint() { return machine.breakpointEnabled == 1 && reg.PC == machine.breakpointAddress; }

// The renderer catches up with the beam, then the breakpoint is tested.
StepEvents drawAndTest() {
    renderStep();
    if (atBreakpoint()) [[unlikely]]
        return static_cast<StepEvents>(stepEvent::breakpoint | memory.raisedEvents);
    return memory.raisedEvents;
}

// The frame end comes before the renderer draws anything of the new frame: the step
// stops here and the next one draws.
StepEvents finishStep() {
    if (machine.frameEnd) [[unlikely]] {
        machine.frameEnd = 2;
        return static_cast<StepEvents>(stepEvent::frameComplete | memory.raisedEvents);
    }
    return drawAndTest();
}

// One instruction of a double-clock step; the TED sees its halved count, the step gets
// the whole one.
[[gnu::always_inline]] inline uint16_t doubleClockHalf() {
    const uint16_t cycles = executeInstruction();
    serviceInterrupts(cycles);
    advanceTed(halve(cycles));
    return cycles;
}

uint16_t stepWithoutService() {
    const uint16_t cycles = executeInstruction();
    advanceTed(cycles);
    return cycles;
}

}  // namespace

StepEvents emulationStep() {
    if (machine.frameEnd == 2) [[unlikely]] {
        machine.frameEnd = 0;
        return drawAndTest();
    }
    if (doubleClock()) {
        const uint16_t first = doubleClockHalf();
        if (atBreakpoint()) return static_cast<StepEvents>(stepEvent::breakpoint | memory.raisedEvents);
        const uint16_t pair = static_cast<uint16_t>(first + doubleClockHalf());
        // The step leaves half the pair; its odd cycle is dropped, not carried.
        machine.stepCycles = pair >> 1;
        return finishStep();
    }
    const uint16_t cycles = executeInstruction();
    serviceInterrupts(cycles);
    advanceTed(cycles);
    return finishStep();
}

void stepInstruction() {
    const uint16_t cycles = executeInstruction();
    serviceInterrupts(cycles);
    advanceTed(doubleClock() ? halve(cycles) : cycles);
}

// A JSR runs with its whole routine, up to the RTS that brings SP back. Interrupts
// wait meanwhile; only a pending reset is entered.
void stepOver() {
    if (interrupts.resetPending) serviceInterrupts(machine.stepCycles);
    if (readMemory(reg.PC) != 0x20) {
        stepWithoutService();
        return;
    }
    const uint8_t callerSP = reg.SP;
    uint32_t spent = 0;
    do {
        if (interrupts.resetPending) serviceInterrupts(machine.stepCycles);
        spent += stepWithoutService();
    } while (reg.SP != callerSP && spent < stepOverCycleBudget);
}

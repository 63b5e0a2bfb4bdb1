// When the TED's interrupt line is latched and entered, the reset entry, the
// double-clock halving, and the monitor's step over.
#include <gtest/gtest.h>

#include "host/program.h"
#include "monitor/monitor.h"
#include "support/cpu_helpers.h"
#include "support/menu_script.h"

namespace {

constexpr uint16_t code = 0x1000;
constexpr uint16_t handler = 0x2000;

class Interrupts : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        resetCpuMachine();
        pokeWord(0xFFFE, handler);
        pokeWord(0xFFFC, 0x3000);
        for (int i = 0; i < 32; ++i) memory.ram[code + i] = 0xEA;  // NOP
        memory.ram[handler] = 0x40;                                // RTI
        reg.PC = code;
        useDoubleClock = GetParam();
    }

    // Runs n instructions through the main loop's steps: in double clock as pairs, with a
    // single-clock step for an odd one left over.
    void runInstructions(int n) {
        while (n > 0) {
            bool pair = useDoubleClock && n >= 2;
            ted.doubleClockAllowed = pair;
            emulationStep();
            n -= pair ? 2 : 1;
        }
    }

    bool useDoubleClock = false;
};

TEST_P(Interrupts, LineRaisedAfterAnInstructionIsEnteredTwoInstructionsLater) {
    ted.irqLine = 1;  // as the TED would after instruction k
    runInstructions(2);
    EXPECT_EQ(reg.PC, handler);
    EXPECT_EQ(interrupts.irqLatched, 0);
    EXPECT_EQ(reg.I, 1);
    EXPECT_EQ(memory.ram[0x01FF], (code + 2) >> 8);
    EXPECT_EQ(memory.ram[0x01FE], (code + 2) & 0xFF);
    EXPECT_EQ(memory.ram[0x01FD] & 0x30, 0x20) << "bit 5 set, bit 4 clear";
}

TEST_P(Interrupts, SeiAfterTheLatchDoesNotStopTheEntry) {
    memory.ram[code + 1] = 0x78;  // SEI
    ted.irqLine = 1;
    runInstructions(2);
    ASSERT_EQ(reg.PC, handler);
    EXPECT_NE(memory.ram[0x01FD] & 0x04, 0);
    ted.irqLine = 0;
    runInstructions(1);  // RTI
    EXPECT_EQ(reg.PC, code + 2);
    EXPECT_NE(reg.I, 0);
}

TEST_P(Interrupts, MaskedLineIsNeverLatched) {
    reg.I = 1;
    ted.irqLine = 1;
    runInstructions(20);
    EXPECT_EQ(reg.PC, code + 20);
    EXPECT_EQ(interrupts.irqLatched, 0);
}

TEST_P(Interrupts, InstructionAfterCliRunsBeforeTheEntry) {
    memory.ram[code] = 0x58;  // CLI
    reg.I = 1;
    ted.irqLine = 1;
    runInstructions(2);
    EXPECT_EQ(reg.PC, handler);
    EXPECT_EQ(memory.ram[0x01FE], (code + 2) & 0xFF);
}

TEST_P(Interrupts, LineStillRaisedAfterRtiIsEnteredAgain) {
    ted.irqLine = 1;
    runInstructions(2);
    ASSERT_EQ(reg.PC, handler);
    runInstructions(2);  // RTI with the line still up, then one instruction of the program
    EXPECT_EQ(reg.PC, handler);
    EXPECT_EQ(memory.ram[0x01FE], (code + 3) & 0xFF);
}

TEST_P(Interrupts, JamOpcodeIsInterruptedAndReturnedTo) {
    memory.ram[code] = 0x02;
    reg.I = 1;
    ted.irqLine = 1;
    runInstructions(2);
    ASSERT_EQ(reg.PC, handler);
    EXPECT_EQ(memory.ram[0x01FE], code & 0xFF);
    ted.irqLine = 0;
    runInstructions(1);
    EXPECT_EQ(reg.PC, code);
}

TEST_P(Interrupts, ResetEntryMasksTheWaitingLine) {
    for (int i = 0; i < 8; ++i) memory.ram[0x3000 + i] = 0xEA;
    memory.ram[0x3000] = 0x58;  // CLI
    ted.irqLine = 1;
    interrupts.resetPending = 1;
    runInstructions(1);
    EXPECT_EQ(reg.PC, 0x3000);
    EXPECT_EQ(reg.SP, 0xFC);
    EXPECT_EQ(memory.ram[0x01FD] & 0x10, 0);
    EXPECT_EQ(interrupts.resetPending, 0);
    EXPECT_EQ(interrupts.irqLatched, 0);
    runInstructions(2);  // CLI latches, the NOP after it runs, then the entry
    EXPECT_EQ(reg.PC, handler);
    EXPECT_EQ(memory.ram[0x01FB], 0x02);
}

INSTANTIATE_TEST_SUITE_P(BothClocks, Interrupts, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "DoubleClock" : "SingleClock"; });

class Stepping : public ::testing::Test {
protected:
    void SetUp() override { resetCpuMachine(); }
};

TEST_F(Stepping, SingleClockStepLatchesThenEnters) {
    poke(0x1000, {0xEA, 0xEA});
    pokeWord(0xFFFE, 0x2000);
    reg.PC = 0x1000;
    ted.irqLine = 1;
    emulationStep();
    EXPECT_EQ(reg.PC, 0x1001);
    EXPECT_EQ(interrupts.irqLatched, 1);
    EXPECT_EQ(interrupts.irqDelay, 2);
    emulationStep();
    EXPECT_EQ(reg.PC, 0x2000);
}

// The TED counts single-clock cycles: each instruction's count is halved with the
// odd half cycle carried; the renderer gets half the pair with its odd cycle dropped.
TEST_F(Stepping, DoubleClockHalvesCountsForTheTed) {
    struct Case {
        uint8_t code[5];
        int pairLength, tedFirst, tedSecond, render, oddAfter;
    };
    const Case cases[] = {
        {{0xA5, 0x10, 0xA5, 0x10}, 4, 1, 2, 3, 0},        // LDA zp, LDA zp: 3 and 3
        {{0xEA, 0xEA}, 2, 1, 1, 2, 0},                    // NOP, NOP: 2 and 2
        {{0xA5, 0x10, 0xEA}, 3, 1, 1, 2, 1},              // 3 and 2: a half cycle left over
        {{0x0E, 0x10, 0x00, 0xA5, 0x10}, 5, 3, 1, 4, 1},  // ASL abs, LDA zp: 6 and 3
    };
    for (const Case& c : cases) {
        resetCpuMachine();
        for (int i = 0; i < 5; ++i) memory.ram[0x1000 + i] = c.code[i];
        reg.PC = 0x1000;
        ted.doubleClockAllowed = 1;
        stepInstruction();
        EXPECT_EQ(machine.stepCycles, c.tedFirst);
        ted.doubleClockAllowed = 1;
        stepInstruction();
        EXPECT_EQ(machine.stepCycles, c.tedSecond);
        EXPECT_EQ(machine.oddCycle, c.oddAfter);

        machine.oddCycle = 0;
        reg.PC = 0x1000;
        ted.doubleClockAllowed = 1;
        emulationStep();
        EXPECT_EQ(reg.PC, 0x1000 + c.pairLength) << "two instructions per step";
        EXPECT_EQ(machine.stepCycles, c.render);
        EXPECT_EQ(machine.oddCycle, c.oddAfter);
    }
}

TEST_F(Stepping, BreakpointBetweenDoubleClockHalvesEntersTheMonitorBeforeTheSecondInstruction) {
    for (uint8_t enabled : {0, 1}) {
        resetCpuMachine();
        poke(0x1000, {0xEA, 0xEA, 0xEA});
        reg.PC = 0x1000;
        ted.doubleClockAllowed = 1;
        machine.breakpointAddress = 0x1001;
        machine.breakpointEnabled = enabled;
        shell.quitRequested = 1;     // the monitor returns at once
        shell.requests.monitor = 1;  // and clears its request when it closes
        if (emulationStep() & stepEvent::breakpoint) runScreen(monitorScreen);
        EXPECT_EQ(shell.requests.monitor, enabled ? 0 : 1);
        // A quit seen in the monitor ends the step before its second instruction.
        EXPECT_EQ(reg.PC, enabled ? 0x1001 : 0x1002);
    }
    shell.quitRequested = 0;
    shell.requests.monitor = 0;
}

TEST_F(Stepping, StepOverRunsTheWholeSubroutine) {
    poke(0x1000, {0x20, 0x00, 0x20, 0xEA});        // JSR $2000
    poke(0x2000, {0xE8, 0x20, 0x10, 0x20, 0x60});  // INX; JSR $2010; RTS
    poke(0x2010, {0xE8, 0x60});                    // INX; RTS
    reg.PC = 0x1000;
    reg.SP = 0xF0;
    reg.I = 0;
    ted.irqLine = 1;
    stepOver();
    EXPECT_EQ(reg.PC, 0x1003);
    EXPECT_EQ(reg.SP, 0xF0);
    EXPECT_EQ(reg.XR, 2);
    EXPECT_EQ(interrupts.irqLatched, 0) << "interrupts wait until the step is over";
}

TEST_F(Stepping, StepOverOtherOpcodeRunsOneInstructionWithoutService) {
    poke(0x1000, {0xE8, 0xE8});
    reg.PC = 0x1000;
    ted.irqLine = 1;
    stepOver();
    EXPECT_EQ(reg.PC, 0x1001);
    EXPECT_EQ(interrupts.irqLatched, 0);
}

TEST_F(Stepping, StepOverGivesUpOnARoutineThatNeverReturns) {
    poke(0x1000, {0x20, 0x00, 0x20});  // JSR $2000
    poke(0x2000, {0x4C, 0x00, 0x20});  // JMP $2000
    reg.PC = 0x1000;
    stepOver();
    EXPECT_EQ(reg.PC, 0x2000);
    EXPECT_EQ(reg.SP, 0xFD);
}

}  // namespace

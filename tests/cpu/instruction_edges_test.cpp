// Addressing corners, branches, the stack and the opcodes that stop the processor.
#include <gtest/gtest.h>

#include "support/cpu_helpers.h"

namespace {

class Instructions : public ::testing::Test {
protected:
    void SetUp() override { resetCpuMachine(); }
};

TEST_F(Instructions, IndirectJumpPointerWrapsWithinItsPage) {
    poke(0x0400, {0x6C, 0xFF, 0x10});
    poke(0x10FF, {0x34, 0x56});
    memory.ram[0x1000] = 0x12;
    reg.PC = 0x0400;
    executeInstruction();
    EXPECT_EQ(reg.PC, 0x1234);
}

TEST_F(Instructions, ZeroPagePointerAtFFTakesItsHighByteFromZero) {
    poke(0x0400, {0xB1, 0xFF, 0xA1, 0xFE});  // LDA ($FF),Y; LDA ($FE,X)
    memory.ram[0x00FF] = 0x00;
    memory.ram[0x0100] = 0x20;
    memory.ram[0x0000] = 0x30;
    memory.ram[0x3005] = 0xAB;
    memory.ram[0x3000] = 0xCD;
    reg.PC = 0x0400;
    reg.YR = 5;
    reg.XR = 1;
    executeInstruction();
    EXPECT_EQ(reg.AC, 0xAB);
    executeInstruction();
    EXPECT_EQ(reg.AC, 0xCD);
}

struct BranchCase {
    uint16_t at;
    uint8_t offset;
    uint16_t target;
    int cycles;
};

// The extra page cycle compares the target with the address of the next instruction.
TEST_F(Instructions, TakenBranchCountsAPageCycleWhenItLeavesThePageOfTheNextInstruction) {
    const BranchCase cases[] = {
        {0x10FE, 0x05, 0x1105, 3}, {0x10F0, 0xEE, 0x10E0, 3}, {0x10FE, 0x00, 0x1100, 3},
        {0x1000, 0x80, 0x0F82, 4}, {0x1010, 0x7F, 0x1091, 3}, {0x10FD, 0x01, 0x1100, 4},
        {0x10FE, 0xFE, 0x10FE, 4},
    };
    for (const BranchCase& c : cases) {
        poke(c.at, {0xF0, c.offset});  // BEQ
        reg.PC = c.at;
        reg.Z = 1;
        executeInstruction();
        EXPECT_EQ(reg.PC, c.target) << std::hex << c.at;
        EXPECT_EQ(reg.lastCycle, c.cycles) << std::hex << c.at;
    }
}

TEST_F(Instructions, EachBranchTestsItsOwnFlag) {
    struct Branch {
        uint8_t opcode;
        uint8_t Registers::*flag;
        bool takenWhenSet;
    };
    const Branch branches[] = {
        {0x10, &Registers::N, false}, {0x30, &Registers::N, true},  {0x50, &Registers::V, false},
        {0x70, &Registers::V, true},  {0x90, &Registers::C, false}, {0xB0, &Registers::C, true},
        {0xD0, &Registers::Z, false}, {0xF0, &Registers::Z, true},
    };
    for (const Branch& b : branches)
        for (uint8_t flagValue : {0x00, 0x80, 0x01}) {
            resetCpuMachine();
            poke(0x1000, {b.opcode, 0x10});
            reg.PC = 0x1000;
            reg.*(b.flag) = flagValue;
            executeInstruction();
            bool taken = (flagValue != 0) == b.takenWhenSet;
            EXPECT_EQ(reg.PC, taken ? 0x1012 : 0x1002)
                << std::hex << int(b.opcode) << " flag " << int(flagValue);
            EXPECT_EQ(reg.lastCycle, taken ? 3 : 2);
        }
}

TEST_F(Instructions, PushedStatusHasBitsFourAndFiveSetWhateverB) {
    for (uint8_t b : {0, 1}) {
        poke(0x0400, {0x08, 0x68});  // PHP; PLA
        reg = Registers{.PC = 0x0400};
        reg.B = b;
        reg.C = 1;
        runInstructions(2);
        EXPECT_EQ(reg.AC, 0x31);
        EXPECT_EQ(reg.SP, 0xFF);
        EXPECT_EQ(reg.B, b);  // still the stored flag the monitor and snapshots show
    }
}

TEST_F(Instructions, StackWrapsWithinPageOne) {
    poke(0x0400, {0x48, 0x68});  // PHA; PLA
    reg = Registers{.PC = 0x0400, .AC = 0x5A, .SP = 0x00};
    executeInstruction();
    EXPECT_EQ(memory.ram[0x0100], 0x5A);
    EXPECT_EQ(reg.SP, 0xFF);
    reg.AC = 0;
    executeInstruction();
    EXPECT_EQ(reg.AC, 0x5A);
    EXPECT_EQ(reg.SP, 0x00);
}

TEST_F(Instructions, InstructionAtTopOfMemoryWrapsToZero) {
    memory.ram[0xFFFE] = 0xAD;  // LDA abs
    memory.ram[0xFFFF] = 0x34;
    memory.ram[0x0000] = 0x12;
    memory.ram[0x1234] = 0x77;
    reg.PC = 0xFFFE;
    executeInstruction();
    EXPECT_EQ(reg.AC, readMemory(uint16_t(readMemory(0x0000) << 8 | 0x34)));
    EXPECT_EQ(reg.AC, 0x77);
    EXPECT_EQ(reg.PC, 0x0001);
}

TEST_F(Instructions, SubroutineCallAndReturn) {
    poke(0x0400, {0x20, 0x00, 0x20});  // JSR $2000
    memory.ram[0x2000] = 0x60;         // RTS
    reg.PC = 0x0400;
    executeInstruction();
    EXPECT_EQ(reg.PC, 0x2000);
    EXPECT_EQ(memory.ram[0x01FF], 0x04);
    EXPECT_EQ(memory.ram[0x01FE], 0x02);  // the address of its own last byte
    EXPECT_EQ(reg.SP, 0xFD);
    executeInstruction();
    EXPECT_EQ(reg.PC, 0x0403);
    EXPECT_EQ(reg.SP, 0xFF);
}

TEST_F(Instructions, BreakPushesBitFourAndReturnsPastItsPaddingByte) {
    poke(0x0400, {0x00, 0xEA});
    pokeWord(0xFFFE, 0x3000);
    memory.ram[0x3000] = 0x40;  // RTI
    reg.PC = 0x0400;
    reg.D = 1;
    reg.C = 1;
    executeInstruction();
    EXPECT_EQ(reg.PC, 0x3000);
    EXPECT_EQ(memory.ram[0x01FD], 0x39);  // N V 1 1 D I Z C with I as before
    EXPECT_EQ(reg.I, 1);
    EXPECT_EQ(reg.B, 0);
    EXPECT_NE(reg.D, 0);
    executeInstruction();
    EXPECT_EQ(reg.PC, 0x0402);
    EXPECT_EQ(reg.I, 0);
    EXPECT_NE(reg.B, 0);  // RTI loads B from the pushed bit 4
    EXPECT_EQ(reg.SP, 0xFF);
}

TEST_F(Instructions, JamOpcodesStayPutAndClearI) {
    for (uint8_t opcode : {0x02, 0x12, 0x22, 0x32, 0x42, 0x52, 0x62, 0x72, 0x92, 0xB2, 0xD2, 0xF2}) {
        poke(0x2000, {opcode});
        reg = Registers{.PC = 0x2000};
        for (int step = 0; step < 5; ++step) {
            reg.I = 1;
            executeInstruction();
            EXPECT_EQ(reg.PC, 0x2000);
            EXPECT_EQ(reg.I, 0);
            EXPECT_EQ(reg.lastCycle, 2);
        }
    }
}

TEST_F(Instructions, TransferToStackPointerLeavesFlags) {
    poke(0x0400, {0x9A});
    reg = Registers{.PC = 0x0400, .XR = 0x00};
    reg.N = 1;
    reg.Z = 0;
    executeInstruction();
    EXPECT_EQ(reg.SP, 0x00);
    EXPECT_EQ(reg.N, 1);
    EXPECT_EQ(reg.Z, 0);
    EXPECT_EQ(reg.lastCycle, 2);
}

}  // namespace

// The documented instructions' flags and operand rules that a 6502 self-test program
// checks: BIT, the compares, the shifts and rotates through C, the increments, the
// single write of read-modify-write forms, indexed zero-page wrap and status unpacking.
#include <gtest/gtest.h>

#include <vector>

#include "support/cpu_helpers.h"

namespace {

class DocumentedInstructions : public ::testing::Test {
protected:
    void SetUp() override { resetCpuMachine(); }

    // Runs the bytes as one instruction at $0400.
    void run(const std::vector<uint8_t>& code) {
        for (size_t i = 0; i < code.size(); ++i) memory.ram[0x0400 + i] = code[i];
        reg.PC = 0x0400;
        executeInstruction();
    }
};

TEST_F(DocumentedInstructions, BitTakesNAndVFromTheOperandAndZFromTheMask) {
    struct Row {
        uint8_t ac, operand;
        bool n, v, z;
    };
    const Row rows[] = {
        {0x0F, 0xC0, true, true, true},   {0xFF, 0x01, false, false, false}, {0x40, 0x40, false, true, false},
        {0x80, 0x80, true, false, false}, {0x3F, 0x80, true, false, true},
    };
    for (const Row& row : rows)
        for (uint8_t opcode : {0x24, 0x2C}) {  // zp $10, abs $0010
            memory.ram[0x0010] = row.operand;
            reg.AC = row.ac;
            reg.C = 1;
            run({opcode, 0x10, 0x00});
            EXPECT_EQ(reg.N != 0, row.n) << std::hex << int(opcode) << " " << int(row.operand);
            EXPECT_EQ(reg.V != 0, row.v) << std::hex << int(opcode) << " " << int(row.operand);
            EXPECT_EQ(reg.Z != 0, row.z) << std::hex << int(opcode) << " " << int(row.operand);
            EXPECT_EQ(reg.AC, row.ac);
            EXPECT_NE(reg.C, 0);
        }
}

TEST_F(DocumentedInstructions, ComparesSetCarryWhenNotBelowAndLeaveVAndTheRegister) {
    for (uint8_t opcode : {0xC9, 0xE0, 0xC0}) {  // CMP, CPX, CPY immediate
        uint8_t Registers::*target = opcode == 0xC9   ? &Registers::AC
                                     : opcode == 0xE0 ? &Registers::XR
                                                      : &Registers::YR;
        for (int value = 0; value < 256; ++value)
            for (int operand = 0; operand < 256; ++operand) {
                reg.*target = uint8_t(value);
                reg.V = 1;
                run({opcode, uint8_t(operand)});
                ASSERT_EQ(reg.C != 0, value >= operand)
                    << std::hex << int(opcode) << " " << value << " " << operand;
                ASSERT_EQ(reg.Z != 0, value == operand)
                    << std::hex << int(opcode) << " " << value << " " << operand;
                ASSERT_EQ(reg.N != 0, ((value - operand) & 0x80) != 0)
                    << std::hex << int(opcode) << " " << value;
                ASSERT_NE(reg.V, 0);
                ASSERT_EQ(reg.*target, value);
            }
    }
}

TEST_F(DocumentedInstructions, ShiftsAndRotatesMoveTheCarryThroughBothEnds) {
    struct Shift {
        uint8_t accumulator, zeroPage;
        bool left, rotate;
    };
    const Shift shifts[] = {
        {0x0A, 0x06, true, false},   // ASL
        {0x4A, 0x46, false, false},  // LSR
        {0x2A, 0x26, true, true},    // ROL
        {0x6A, 0x66, false, true},   // ROR
    };
    for (const Shift& s : shifts)
        for (int value = 0; value < 256; ++value)
            for (int carry = 0; carry < 2; ++carry) {
                int in = s.rotate ? carry : 0;
                int expected = s.left ? (value << 1 | in) & 0xFF : value >> 1 | in << 7;
                bool out = s.left ? value & 0x80 : value & 0x01;
                for (bool onMemory : {false, true}) {
                    reg.AC = uint8_t(value);
                    memory.ram[0x0010] = uint8_t(value);
                    reg.C = uint8_t(carry);
                    reg.V = 1;
                    if (onMemory)
                        run({s.zeroPage, 0x10});
                    else
                        run({s.accumulator});
                    int result = onMemory ? memory.ram[0x0010] : reg.AC;
                    ASSERT_EQ(result, expected)
                        << std::hex << int(s.accumulator) << " " << value << " C" << carry;
                    ASSERT_EQ(reg.C != 0, out) << std::hex << int(s.accumulator) << " " << value;
                    ASSERT_EQ(reg.N != 0, (expected & 0x80) != 0)
                        << std::hex << int(s.accumulator) << " " << value;
                    ASSERT_EQ(reg.Z != 0, expected == 0) << std::hex << int(s.accumulator) << " " << value;
                    ASSERT_NE(reg.V, 0);
                }
            }
}

TEST_F(DocumentedInstructions, IncrementsAndDecrementsWrapAndLeaveCarryAndOverflow) {
    struct Row {
        std::vector<uint8_t> code;
        uint8_t* location;
        uint8_t before, after;
    };
    const Row rows[] = {
        {{0xE6, 0x10}, &memory.ram[0x0010], 0xFF, 0x00},        // INC zp
        {{0xEE, 0x10, 0x00}, &memory.ram[0x0010], 0x7F, 0x80},  // INC abs
        {{0xC6, 0x10}, &memory.ram[0x0010], 0x00, 0xFF},        // DEC zp
        {{0xCE, 0x10, 0x00}, &memory.ram[0x0010], 0x01, 0x00},  // DEC abs
        {{0xE8}, &reg.XR, 0xFF, 0x00},                          // INX
        {{0xC8}, &reg.YR, 0x7F, 0x80},                          // INY
        {{0xCA}, &reg.XR, 0x00, 0xFF},                          // DEX
        {{0x88}, &reg.YR, 0x01, 0x00},                          // DEY
    };
    for (const Row& row : rows)
        for (uint8_t flags : {0, 1}) {
            *row.location = row.before;
            reg.C = reg.V = flags;
            run(row.code);
            EXPECT_EQ(*row.location, row.after) << std::hex << int(row.code[0]);
            EXPECT_EQ(reg.N != 0, (row.after & 0x80) != 0) << std::hex << int(row.code[0]);
            EXPECT_EQ(reg.Z != 0, row.after == 0) << std::hex << int(row.code[0]);
            EXPECT_EQ(reg.C, flags);
            EXPECT_EQ(reg.V, flags);
        }
}

// A write to $FF09 acknowledges the bits written: an extra write of the old value
// (read back as $35 with timer 2 pending) would clear the pending timer-2 request.
TEST_F(DocumentedInstructions, ReadModifyWriteWritesOnlyTheNewValue) {
    for (const std::vector<uint8_t>& code : {std::vector<uint8_t>{0x0E, 0x09, 0xFF},  // ASL $FF09
                                             {0x2E, 0x09, 0xFF},                      // ROL $FF09
                                             {0x1E, 0x08, 0xFF},                      // ASL $FF08,X
                                             {0x0F, 0x09, 0xFF}}) {                   // ASO $FF09
        memory.ram[0xFF09] = 0x10;
        reg.XR = 1;
        reg.C = 0;
        run(code);
        EXPECT_EQ(memory.ram[0xFF09], 0x10) << std::hex << int(code[0]);
    }
}

TEST_F(DocumentedInstructions, IndexedZeroPageStaysInPageZero) {
    memory.ram[0x0010] = 0x5A;
    memory.ram[0x0110] = 0xA5;
    reg.XR = 0x20;
    run({0xB5, 0xF0});  // LDA $F0,X
    EXPECT_EQ(reg.AC, 0x5A);
    reg.YR = 0x20;
    run({0xB6, 0xF0});  // LDX $F0,Y
    EXPECT_EQ(reg.XR, 0x5A);
    reg.XR = 0x21;
    reg.AC = 0x77;
    run({0x95, 0xF0});  // STA $F0,X
    EXPECT_EQ(memory.ram[0x0011], 0x77);
    EXPECT_EQ(memory.ram[0x0111], 0x00);
    reg.XR = 0x33;
    reg.YR = 0x22;
    run({0x96, 0xF0});  // STX $F0,Y
    EXPECT_EQ(memory.ram[0x0012], 0x33);
    reg.XR = 0x23;
    memory.ram[0x0013] = 0x41;
    run({0xF6, 0xF0});  // INC $F0,X
    EXPECT_EQ(memory.ram[0x0013], 0x42);
    EXPECT_EQ(memory.ram[0x0113], 0x00);
}

TEST_F(DocumentedInstructions, IndexedZeroPagePointerIsFoundInPageZero) {
    pokeWord(0x0010, 0x2345);
    pokeWord(0x0110, 0x3456);
    memory.ram[0x2345] = 0x11;
    memory.ram[0x3456] = 0x22;
    reg.XR = 0x20;
    run({0xA1, 0xF0});  // LDA ($F0,X): the pointer is at $10, not $110
    EXPECT_EQ(reg.AC, 0x11);
}

TEST_F(DocumentedInstructions, AbsoluteAndPointerIndexingWrapAtTheTopOfMemory) {
    memory.ram[0x0010] = 0x66;
    reg.XR = 0x20;
    run({0xBD, 0xF0, 0xFF});  // LDA $FFF0,X
    EXPECT_EQ(reg.AC, 0x66);
    pokeWord(0x0040, 0xFFF0);
    reg.YR = 0x20;
    reg.AC = 0;
    run({0xB1, 0x40});  // LDA ($40),Y
    EXPECT_EQ(reg.AC, 0x66);
}

TEST_F(DocumentedInstructions, PullingTheStatusSetsEveryFlagFromItsBitAndIgnoresBitFive) {
    struct Row {
        uint8_t pulled, pushedAgain;
    };
    for (Row row : {Row{0xFF, 0xFF}, Row{0x00, 0x30}, Row{0x20, 0x30}, Row{0x10, 0x30}, Row{0xCF, 0xFF}}) {
        reg.SP = 0xFE;
        memory.ram[0x01FF] = row.pulled;
        run({0x28});  // PLP
        EXPECT_EQ(reg.SP, 0xFF);
        EXPECT_EQ(reg.N != 0, (row.pulled & 0x80) != 0);
        EXPECT_EQ(reg.V != 0, (row.pulled & 0x40) != 0);
        EXPECT_EQ(reg.B != 0, (row.pulled & 0x10) != 0);
        EXPECT_EQ(reg.D != 0, (row.pulled & 0x08) != 0);
        EXPECT_EQ(reg.I != 0, (row.pulled & 0x04) != 0);
        EXPECT_EQ(reg.Z != 0, (row.pulled & 0x02) != 0);
        EXPECT_EQ(reg.C != 0, (row.pulled & 0x01) != 0);
        run({0x08});  // PHP
        EXPECT_EQ(memory.ram[0x01FF], row.pushedAgain) << std::hex << int(row.pulled);
    }
}

TEST_F(DocumentedInstructions, ReturnFromInterruptRestoresStatusThenTheExactAddress) {
    reg.SP = 0xFC;
    memory.ram[0x01FD] = 0xDB;  // N V 1 1 1 0 1 1
    pokeWord(0x01FE, 0x1234);
    run({0x40});  // RTI
    EXPECT_EQ(reg.PC, 0x1234);
    EXPECT_EQ(reg.SP, 0xFF);
    EXPECT_EQ(packStatus(), 0xFB);
    EXPECT_EQ(reg.I, 0);
}

TEST_F(DocumentedInstructions, TransfersAndPullSetNAndZExceptIntoTheStackPointer) {
    struct Row {
        uint8_t opcode;
        uint8_t Registers::*from;
        uint8_t Registers::*to;
    };
    const Row rows[] = {
        {0xAA, &Registers::AC, &Registers::XR}, {0xA8, &Registers::AC, &Registers::YR},
        {0x8A, &Registers::XR, &Registers::AC}, {0x98, &Registers::YR, &Registers::AC},
        {0xBA, &Registers::SP, &Registers::XR},
    };
    for (const Row& row : rows)
        for (uint8_t value : {0x00, 0x80, 0x41}) {
            reg.SP = 0xFF;
            reg.*(row.from) = value;
            reg.N = reg.Z = 0x55;
            run({row.opcode});
            EXPECT_EQ(reg.*(row.to), value) << std::hex << int(row.opcode);
            EXPECT_EQ(reg.N != 0, (value & 0x80) != 0) << std::hex << int(row.opcode);
            EXPECT_EQ(reg.Z != 0, value == 0) << std::hex << int(row.opcode);
        }
    reg.SP = 0xFE;
    memory.ram[0x01FF] = 0x00;
    run({0x68});  // PLA
    EXPECT_EQ(reg.AC, 0x00);
    EXPECT_NE(reg.Z, 0);
    EXPECT_EQ(reg.N, 0);
}

TEST_F(DocumentedInstructions, FlagInstructionsSetAndClearOnlyTheirFlag) {
    struct Row {
        uint8_t opcode;
        uint8_t status;  // packed, starting from all clear
    };
    for (Row row : {Row{0x38, 0x21}, Row{0x78, 0x24}, Row{0xF8, 0x28}}) {
        unpackStatus(0x00);
        run({row.opcode});
        EXPECT_EQ(packStatus(), row.status) << std::hex << int(row.opcode);
        EXPECT_EQ(reg.lastCycle, 2);
    }
    for (Row row : {Row{0x18, 0xFE}, Row{0x58, 0xFB}, Row{0xD8, 0xF7}, Row{0xB8, 0xBF}}) {
        unpackStatus(0xFF);
        run({row.opcode});
        EXPECT_EQ(packStatus(), row.status) << std::hex << int(row.opcode);
        EXPECT_EQ(reg.lastCycle, 2);
    }
}

}  // namespace

// ADC and SBC in both modes, and the undocumented instructions that combine a
// memory step with an accumulator operation.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/cpu_helpers.h"

namespace {

struct Flags {
    int ac, n, v, z, c;
    bool operator==(const Flags&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Flags& f) {
    return out << "AC=" << f.ac << " N=" << f.n << " V=" << f.v << " Z=" << f.z << " C=" << f.c;
}

Flags observed() { return {reg.AC, reg.N != 0, reg.V != 0, reg.Z != 0, reg.C != 0}; }

// Runs opcode #operand with the given accumulator and flags.
void runImmediate(uint8_t opcode, int ac, int operand, int carry, int decimal, int overflow = 0) {
    reg.PC = 0x0400;
    poke(0x0400, {opcode, static_cast<uint8_t>(operand)});
    reg.AC = static_cast<uint8_t>(ac);
    reg.C = static_cast<uint8_t>(carry);
    reg.D = static_cast<uint8_t>(decimal);
    reg.V = static_cast<uint8_t>(overflow);
    executeInstruction();
}

// ADC adds the operand and C; SBC subtracts the operand and the borrow 1 - C. The carry out
// is the unsigned overflow (ADC) or the absence of a borrow (SBC), V the signed overflow.
TEST(BinaryArithmetic, AdcAndSbcMatchSignedAndUnsignedArithmetic) {
    resetCpuMachine();
    for (uint8_t opcode : {0x69, 0xE9, 0xEB}) {
        int sign = opcode == 0x69 ? 1 : -1;
        for (int ac = 0; ac < 256; ++ac)
            for (int operand = 0; operand < 256; ++operand)
                for (int carry = 0; carry < 2; ++carry) {
                    runImmediate(opcode, ac, operand, carry, 0);
                    int extra = sign > 0 ? carry : carry - 1;
                    int result = ac + sign * operand + extra;
                    int signedResult = int8_t(ac) + sign * int8_t(operand) + extra;
                    Flags expected = {result & 0xFF, (result & 0x80) != 0,
                                      signedResult < -128 || signedResult > 127, (result & 0xFF) == 0,
                                      sign > 0 ? result > 255 : result >= 0};
                    ASSERT_EQ(observed(), expected) << std::hex << "opcode $" << int(opcode) << " AC $" << ac
                                                    << " operand $" << operand << " C " << carry;
                }
    }
}

int toBcd(int value) { return value / 10 * 16 + value % 10; }

TEST(DecimalArithmetic, ValidBcdOperandsGiveDecimalResultAndCarry) {
    resetCpuMachine();
    for (int a = 0; a < 100; ++a)
        for (int b = 0; b < 100; ++b)
            for (int carry = 0; carry < 2; ++carry) {
                runImmediate(0x69, toBcd(a), toBcd(b), carry, 1);
                int sum = a + b + carry;
                ASSERT_EQ(reg.AC, toBcd(sum % 100)) << a << " + " << b << " + " << carry;
                ASSERT_EQ(reg.C != 0, sum > 99);
                runImmediate(0xE9, toBcd(a), toBcd(b), carry, 1);
                int diff = a - b - (1 - carry);
                ASSERT_EQ(reg.AC, toBcd((diff + 100) % 100)) << a << " - " << b << " - " << 1 - carry;
                ASSERT_EQ(reg.C != 0, diff >= 0);
            }
}

TEST(DecimalArithmetic, FlagsFollowTheDigitSteps) {
    struct Case {
        uint8_t opcode;
        int ac, operand, carry, overflowBefore;
        Flags expected;
    };
    const Case cases[] = {
        // opcode  AC    operand C  V before   AC    N  V  Z  C
        {0x69, 0x05, 0x05, 0, 0, {0x10, 0, 0, 0, 0}},
        {0x69, 0x99, 0x01, 0, 0, {0x00, 1, 0, 0, 1}},  // Z from the binary sum $9A
        {0x69, 0x50, 0x50, 0, 0, {0x00, 1, 1, 0, 1}},  // N and V before the high digit is adjusted
        {0xE9, 0x00, 0x01, 1, 1, {0x99, 1, 0, 0, 0}},  // the flags of the binary difference $FF
        {0xE9, 0x80, 0x01, 1, 0, {0x79, 0, 1, 0, 1}},  // V from $80 - $01 = $7F
        {0xE9, 0x00, 0x70, 1, 0, {0x30, 1, 0, 0, 0}},  // N from $90, not from the decimal $30
        {0xE9, 0x46, 0x46, 1, 1, {0x00, 0, 0, 1, 1}},
    };
    resetCpuMachine();
    for (const Case& c : cases) {
        runImmediate(c.opcode, c.ac, c.operand, c.carry, 1, c.overflowBefore);
        EXPECT_EQ(observed(), c.expected) << std::hex << "$" << c.ac << " op $" << c.operand;
    }
}

// The undocumented SBC $EB, and the ADC and SBC inside RAD and INB, count in decimal
// when D is set, as the documented opcodes do.
TEST(DecimalArithmetic, UndocumentedAddsAndSubtractsHonourTheDecimalFlag) {
    resetCpuMachine();
    runImmediate(0xEB, 0x10, 0x01, 1, 1);
    EXPECT_EQ(reg.AC, 0x09);
    EXPECT_NE(reg.C, 0);

    poke(0x0400, {0x67, 0x10});  // RAD $10: $02 rotates to $01 with C clear, then $09 + $01
    memory.ram[0x10] = 0x02;
    reg = Registers{.PC = 0x0400, .AC = 0x09};
    reg.D = 1;
    executeInstruction();
    EXPECT_EQ(reg.AC, 0x10);
    EXPECT_EQ(reg.C, 0);

    poke(0x0400, {0xE7, 0x10});  // INB $10: $05 steps to $06, then $12 - $06 with C set
    memory.ram[0x10] = 0x05;
    reg = Registers{.PC = 0x0400, .AC = 0x12};
    reg.D = reg.C = 1;
    executeInstruction();
    EXPECT_EQ(reg.AC, 0x06);
    EXPECT_NE(reg.C, 0);
}

// Undocumented opcodes in zero page on $10, except where the mode is the point.
struct Undocumented {
    const char* name;
    uint8_t code[3];
    int ac, xr, yr, carry, memory;  // memory at $10 (or the address noted)
    int expectAc, expectXr, expectMemory, expectCarry, expectN, expectZ;
    int expectV = 1;  // V is set before each case
};

// clang-format off
const Undocumented undocumentedCases[] = {
    // name           code               AC    XR    YR    C  mem     AC    XR    mem   C  N  Z  V
    {"ASO zp",        {0x07, 0x10},      0x01, 0x00, 0x00, 0, 0x81,   0x03, 0x00, 0x02, 1, 0, 0},
    {"RAN zp",        {0x27, 0x10},      0xFF, 0x00, 0x00, 1, 0x40,   0x81, 0x00, 0x81, 0, 1, 0},
    {"LSE zp",        {0x47, 0x10},      0xFF, 0x00, 0x00, 0, 0x03,   0xFE, 0x00, 0x01, 1, 1, 0},
    {"RAD zp",        {0x67, 0x10},      0x10, 0x00, 0x00, 1, 0x01,   0x91, 0x00, 0x80, 0, 1, 0, 0},  // + C of the rotate
    {"RAD overflow",  {0x67, 0x10},      0x40, 0x00, 0x00, 0, 0x80,   0x80, 0x00, 0x40, 0, 1, 0, 1},
    {"DEM zp",        {0xC7, 0x10},      0x05, 0x00, 0x00, 0, 0x06,   0x05, 0x00, 0x05, 1, 0, 1},
    {"INB zp",        {0xE7, 0x10},      0x42, 0x00, 0x00, 0, 0xFF,   0x41, 0x00, 0x00, 1, 0, 0, 0},  // - the borrow
    {"INB borrow",    {0xE7, 0x10},      0x01, 0x00, 0x00, 1, 0x02,   0xFE, 0x00, 0x03, 0, 1, 0, 0},
    {"INB to zero",   {0xE7, 0x10},      0x05, 0x00, 0x00, 1, 0x04,   0x00, 0x00, 0x05, 1, 0, 1, 0},
    {"INB overflow",  {0xE7, 0x10},      0x80, 0x00, 0x00, 1, 0x00,   0x7F, 0x00, 0x01, 1, 0, 0, 1},
    {"AXR zp",        {0x87, 0x10},      0xF0, 0x3C, 0x00, 0, 0x00,   0xF0, 0x3C, 0x30, 0, 0, 0},
    {"LDT zp",        {0xA7, 0x10},      0x00, 0x00, 0x00, 0, 0x80,   0x80, 0x80, 0x80, 0, 1, 0},
    {"LDT zpy",       {0xB7, 0x0E},      0x00, 0x05, 0x02, 0, 0x7F,   0x7F, 0x7F, 0x7F, 0, 0, 0},
    {"DEM zpx",       {0xD7, 0x0E},      0x10, 0x02, 0x05, 0, 0x20,   0x10, 0x02, 0x1F, 0, 1, 0},
    {"ANN imm",       {0x0B, 0x80},      0xC0, 0x00, 0x00, 0, 0x00,   0x80, 0x00, 0x00, 1, 1, 0},
    {"ANL imm",       {0x4B, 0x03},      0xFF, 0x00, 0x00, 0, 0x00,   0x01, 0x00, 0x00, 1, 0, 0},
    {"ARR imm",       {0x6B, 0xFF},      0xC0, 0x00, 0x00, 1, 0x00,   0xE0, 0x00, 0x00, 1, 1, 0, 0},  // C bit 6, V 6 ^ 5
    {"ARR overflow",  {0x6B, 0x7F},      0xC1, 0x00, 0x00, 0, 0x00,   0x20, 0x00, 0x00, 0, 0, 0, 1},
    {"TAN imm",       {0x8B, 0xFF},      0x01, 0x0F, 0x00, 0, 0x00,   0x0F, 0x0F, 0x00, 0, 0, 0},
    {"ANX imm",       {0xAB, 0x3C},      0x01, 0x00, 0x00, 0, 0x00,   0x2C, 0x2C, 0x00, 0, 0, 0},
    {"XAS imm",       {0xCB, 0x01},      0x0F, 0x03, 0x00, 0, 0x00,   0x0F, 0x02, 0x00, 1, 0, 0},
    {"XAS borrow",    {0xCB, 0x05},      0x0F, 0x03, 0x00, 1, 0x00,   0x0F, 0xFE, 0x00, 0, 1, 0},
};
// clang-format on

TEST(UndocumentedOpcodes, CombineTheirStepsAsListed) {
    for (const Undocumented& c : undocumentedCases) {
        SCOPED_TRACE(c.name);
        resetCpuMachine();
        poke(0x0400, {c.code[0], c.code[1], c.code[2]});
        memory.ram[0x10] = static_cast<uint8_t>(c.memory);
        reg = Registers{.PC = 0x0400, .AC = uint8_t(c.ac), .XR = uint8_t(c.xr), .YR = uint8_t(c.yr)};
        reg.C = static_cast<uint8_t>(c.carry);
        reg.V = 1;
        executeInstruction();
        EXPECT_EQ(reg.AC, c.expectAc);
        EXPECT_EQ(reg.XR, c.expectXr);
        EXPECT_EQ(memory.ram[0x10], c.expectMemory);
        EXPECT_EQ(reg.C != 0, c.expectCarry != 0);
        EXPECT_EQ(reg.N != 0, c.expectN != 0);
        EXPECT_EQ(reg.Z != 0, c.expectZ != 0);
        EXPECT_EQ(reg.V != 0, c.expectV != 0);
    }
}

TEST(UndocumentedOpcodes, StackFormsSetTheStackPointer) {
    resetCpuMachine();
    // TSA $1200,Y: AC, XR and SP all take memory AND SP.
    poke(0x0400, {0xBB, 0x00, 0x12});
    memory.ram[0x1203] = 0x3C;
    reg = Registers{.PC = 0x0400, .YR = 3, .SP = 0xF0};
    executeInstruction();
    EXPECT_EQ(reg.SP, 0x30);
    EXPECT_EQ(reg.AC, 0x30);
    EXPECT_EQ(reg.XR, 0x30);

    // AXS $1207,Y: SP := AC AND XR, and that AND $13 is stored.
    poke(0x0400, {0x9B, 0x07, 0x12});
    reg = Registers{.PC = 0x0400, .AC = 0xFC, .XR = 0x3F, .YR = 1};
    executeInstruction();
    EXPECT_EQ(reg.SP, 0x3C);
    EXPECT_EQ(memory.ram[0x1208], 0x10);
}

// The stores of the $9x column store their register(s) AND the base address's high byte + 1;
// when the index carries into the next page, that value is also the page written.
struct HighByteStore {
    const char* name;
    uint8_t code[3];
    uint8_t ac, xr, yr;
    uint16_t target;
    uint8_t value;
};

// clang-format off
const HighByteStore highByteStores[] = {
    // name            code                AC    XR    YR    target  value
    {"SHA aby",        {0x9F, 0x00, 0x12}, 0xFF, 0x3F, 0x05, 0x1205, 0x13},
    {"SHA aby carry",  {0x9F, 0xFF, 0x12}, 0xF0, 0xFF, 0x01, 0x1000, 0x10},
    {"SHX aby",        {0x9E, 0x00, 0x12}, 0x00, 0xF7, 0x05, 0x1205, 0x13},
    {"SHX aby carry",  {0x9E, 0xFF, 0x12}, 0x00, 0x11, 0x01, 0x1100, 0x11},
    {"SHY abx",        {0x9C, 0x00, 0x12}, 0x00, 0x05, 0xF7, 0x1205, 0x13},
    {"SHY abx carry",  {0x9C, 0xFF, 0x12}, 0x00, 0x01, 0x03, 0x0300, 0x03},
    {"AXI izy",        {0x93, 0x20},       0xFF, 0x3F, 0x01, 0x1301, 0x14},  // pointer $1300
    {"AXI izy carry",  {0x93, 0x22},       0xF0, 0xFF, 0x01, 0x1000, 0x10},  // pointer $12FF
    {"AXS aby carry",  {0x9B, 0xFF, 0x12}, 0x3F, 0xF1, 0x01, 0x1100, 0x11},  // SP $31
};
// clang-format on

TEST(UndocumentedOpcodes, HighByteStoresAndWithTheBasePageAndMoveToItOnACarry) {
    for (const HighByteStore& c : highByteStores) {
        SCOPED_TRACE(c.name);
        resetCpuMachine();
        poke(0x0400, {c.code[0], c.code[1], c.code[2]});
        pokeWord(0x0020, 0x1300);
        pokeWord(0x0022, 0x12FF);
        reg = Registers{.PC = 0x0400, .AC = c.ac, .XR = c.xr, .YR = c.yr};
        executeInstruction();
        EXPECT_EQ(memory.ram[c.target], c.value);
        EXPECT_EQ(reg.lastCycle, c.code[0] == 0x93 ? 6 : 5);
    }
}

}  // namespace

#include "monitor/disassembler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "cpu/opcode_table.h"
#include "memory/memory.h"

namespace {

class Disassembler : public ::testing::Test {
protected:
    void SetUp() override {
        allocateRamBlock();
        setRamSize(2);
        memory.romEnabled = 0;
    }
    void put(uint16_t address, const std::vector<uint8_t>& bytes) {
        for (uint8_t b : bytes) memory.ram[address++] = b;
    }
    std::string line(uint16_t address, uint16_t* next = nullptr) {
        uint16_t n = 0;
        std::string text = disassembleLine(address, n);
        if (next) *next = n;
        return text;
    }
};

// The listing shows the operand the processor actually uses: the two-byte skips read an
// immediate byte, and $BB indexes with Y.
TEST_F(Disassembler, OperandsAreThoseTheProcessorUses) {
    struct Case {
        uint8_t opcode;
        const char* operand;
    };
    for (const Case& c : {Case{0x80, "NO2 #$34"}, Case{0x82, "NO2 #$34"}, Case{0xC2, "NO2 #$34"},
                          Case{0xE2, "NO2 #$34"}, Case{0xBB, "TSA $1234,Y"}, Case{0x20, "JSR $1234"}}) {
        put(0x2000, {c.opcode, 0x34, 0x12});
        EXPECT_EQ(line(0x2000).substr(9, std::string(c.operand).size()), c.operand) << int(c.opcode);
    }
}

TEST_F(Disassembler, EveryOpcodeHasTheLengthAndShapeOfItsMode) {
    const int lengths[13] = {0, 1, 2, 3, 3, 2, 2, 2, 3, 3, 2, 2, 2};
    for (int opcode = 0; opcode < 256; ++opcode) {
        const cpu::OpcodeInfo& entry = cpu::opcodeTable[opcode];
        ASSERT_GE(entry.mode, 1);
        ASSERT_LE(entry.mode, 12);
        put(0x2000, {static_cast<uint8_t>(opcode), 0x34, 0x12});
        uint16_t next = 0;
        std::string text = line(0x2000, &next);
        EXPECT_EQ(next, 0x2000 + lengths[entry.mode]) << "opcode " << opcode;
        EXPECT_EQ(text.substr(9, 3), entry.mnemonic) << "opcode " << opcode;
        // Every format is padded so that lines overwrite each other whole.
        EXPECT_GE(text.size(), 33u) << "opcode " << opcode;
    }
}

TEST_F(Disassembler, OperandsArePrintedPerMode) {
    const std::pair<std::vector<uint8_t>, const char*> cases[] = {
        {{0xEA}, "EA       NOP                      "},
        {{0xA9, 0x7F}, "A9 7F    LDA #$7F                 "},
        {{0x6C, 0xFF, 0x10}, "6C FF 10 JMP ($10FF)              "},
        {{0xB5, 0x10}, "B5 10    LDA $10,X                "},
        {{0xB6, 0x10}, "B6 10    LDX $10,Y                "},
        {{0xBD, 0x00, 0x40}, "BD 00 40 LDA $4000,X              "},
        {{0xB9, 0x00, 0x40}, "B9 00 40 LDA $4000,Y              "},
        {{0xB1, 0xFB}, "B1 FB    LDA ($FB),Y              "},
        {{0xA1, 0xFB}, "A1 FB    LDA ($FB,X)              "},
        {{0x6B, 0x0F}, "6B 0F    ARR #$0F                 "},
        {{0xD7, 0x10}, "D7 10    DEM $10,X                "},
        {{0x9C, 0x00, 0x40}, "9C 00 40 SHY $4000,X              "},
        {{0x9E, 0x00, 0x40}, "9E 00 40 SHX $4000,Y              "},
        {{0x9F, 0x00, 0x40}, "9F 00 40 SHA $4000,Y              "},
        {{0x02}, "02       ABS                      "},
    };
    for (auto& [bytes, expected] : cases) {
        put(0x3000, bytes);
        EXPECT_EQ(line(0x3000), expected);
    }
}

TEST_F(Disassembler, AbsoluteOperandsNameTedRegisters) {
    put(0x1000, {0x20, 0xD2, 0xFF});
    uint16_t next = 0;
    EXPECT_EQ(line(0x1000, &next), "20 D2 FF JSR $FFD2                ");
    EXPECT_EQ(next, 0x1003);
    put(0x1000, {0x8D, 0x0E, 0xFF});
    EXPECT_EQ(line(0x1000), "8D 0E FF STA $FF0E   ;OSC1 LO     ");
    put(0x1000, {0x8D, 0x3F, 0xFF});
    EXPECT_EQ(line(0x1000), "8D 3F FF STA $FF3F   ;DISABLE ROM ");
    EXPECT_STREQ(tedRegisterName(0xFF20), "             ");
}

TEST_F(Disassembler, BranchTargetsWrapAroundTheAddressSpace) {
    put(0x2000, {0xD0, 0xFE});
    EXPECT_EQ(line(0x2000), "D0 FE    BNE $2000                ");
    put(0x2000, {0x10, 0x80});
    EXPECT_EQ(line(0x2000), "10 80    BPL $1F82                ");
    put(0xFFF0, {0x10, 0x7F});
    EXPECT_EQ(line(0xFFF0), "10 7F    BPL $0071                ");
}

}  // namespace

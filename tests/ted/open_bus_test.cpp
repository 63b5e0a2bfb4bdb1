// Reading the write-only ROM bank latch gives what the data bus carries: the TED's fetch
// while it draws the window, else the $FD the processor took from its own operand.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "support/cpu_helpers.h"

namespace {

constexpr uint8_t pattern = 0x5A;  // every character's every line

struct LatchProgram {
    const char* name;
    uint8_t ff06;               // screen on ($1B) or blanked ($0B)
    uint8_t line;               // the TED line the program waits for first
    std::vector<uint8_t> body;  // runs after the wait at $1007 and ends in JMP *
    std::function<void()> check;
};
void PrintTo(const LatchProgram& p, std::ostream* out) { *out << p.name; }

std::vector<uint8_t> readsTo3000() {
    return {0xA2, 0x00,         // LDX #0
            0xAD, 0xD0, 0xFD,   // loop: LDA $FDD0
            0x9D, 0x00, 0x30,   //       STA $3000,X
            0xE8, 0xD0, 0xF7,   //       INX; BNE loop
            0x4C, 0x12, 0x10};  // JMP *
}

const LatchProgram programs[] = {
    {"OrOf256ReadsIsNotZero",
     0x1B,
     100,
     {0xA9, 0x00, 0x85, 0x30, 0xA2, 0x00,  // LDA #0; STA $30; LDX #0
      0xAD, 0xD0, 0xFD, 0x05, 0x30,        // loop: LDA $FDD0; ORA $30
      0x85, 0x30, 0xCA, 0xD0, 0xF6,        //       STA $30; DEX; BNE loop
      0x4C, 0x17, 0x10},                   // JMP *
     [] { EXPECT_NE(memory.ram[0x30], 0); }},
    {"ReadsWithTheScreenOnAreTheFetchOrTheOperandByte", 0x1B, 100, readsTo3000(),
     [] {
         int differing = 0;
         for (int i = 0; i < 256; ++i) {
             const uint8_t read = memory.ram[0x3000 + i];
             EXPECT_TRUE(read == pattern || read == 0xFD) << i << ": " << int(read);
             differing += read != memory.ram[0x3000];
         }
         EXPECT_GT(differing, 0) << "all 256 reads alike";
     }},
    {"ABlankedScreenReadsTheOperandByte", 0x0B, 100, readsTo3000(),
     [] {
         for (int i = 0; i < 256; ++i) ASSERT_EQ(memory.ram[0x3000 + i], 0xFD) << i;
     }},
    {"TheLowerBorderReadsTheOperandByte",
     0x1B,
     230,
     {0xAD, 0xD0, 0xFD, 0x85, 0x30, 0x4C, 0x0C, 0x10},  // LDA $FDD0; STA $30; JMP *
     [] { EXPECT_EQ(memory.ram[0x30], 0xFD); }},
};

class BankLatchRead : public ::testing::TestWithParam<LatchProgram> {
protected:
    void SetUp() override {
        resetCpuMachine();
        startBeam();
        // Text: codes at $0C00, attributes at $0800, characters from RAM at $2000.
        for (int i = 0; i < 1000; ++i) memory.ram[0x0C00 + i] = uint8_t(i);
        std::memset(memory.ram + 0x2000, pattern, 0x800);
        writeMemory(0xFF07, 0x88);
        writeMemory(0xFF13, 0x20);
        writeMemory(0xFF14, 0x08);
        writeMemory(0xFF06, GetParam().ff06);
        // wait: LDA $FF1D; CMP #line; BNE wait
        poke(0x1000, {0xAD, 0x1D, 0xFF, 0xC9, GetParam().line, 0xD0, 0xF9});
        const std::vector<uint8_t>& body = GetParam().body;
        for (size_t i = 0; i < body.size(); ++i) memory.ram[0x1007 + i] = body[i];
        reg.PC = 0x1000;
    }
};

TEST_P(BankLatchRead, GivesWhatTheBusCarries) {
    const uint16_t end = uint16_t(0x1007 + GetParam().body.size() - 3);
    for (long budget = 200000; budget > 0 && reg.PC != end; --budget) emulationStep();
    ASSERT_EQ(reg.PC, end);
    GetParam().check();
}

INSTANTIATE_TEST_SUITE_P(Programs, BankLatchRead, ::testing::ValuesIn(programs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

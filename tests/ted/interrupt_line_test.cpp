// The TED's interrupt line is the OR of the requests that are enabled: acknowledging one
// source keeps the line for another, enabling a pending source raises it, masking drops it.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/cpu_helpers.h"

namespace {

constexpr uint8_t raster = 0x02, timer2 = 0x10;

struct LineCase {
    const char* name;
    uint8_t enabled;                // $FF0A before the requests arrive
    std::vector<uint8_t> requests;  // sources requesting, in order
    uint16_t registerWritten;       // then the program writes this register ...
    uint8_t value;                  // ... with this value, and clears I
    uint16_t line;                  // the line after the write
    uint8_t requestRead;            // $FF09 as read after the write
    uint8_t entries;                // interrupts entered after CLI
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << c.name; }

// clang-format off
const LineCase lineCases[] = {
    {"AcknowledgingOneSourceKeepsTheOther",  raster | timer2, {raster, timer2}, 0xFF09, raster,          1, 0xB5, 1},
    {"EnablingAPendingSourceRaisesTheLine",  0x00,            {raster},         0xFF0A, raster,          1, 0xA7, 1},
    {"MaskingEverySourceDropsTheLine",       raster,          {raster},         0xFF0A, 0x00,            0, 0x27, 0},
    {"AcknowledgingBothInOneWriteDropsIt",   raster | timer2, {raster, timer2}, 0xFF09, raster | timer2, 0, 0x25, 0},
    {"ARequestThatIsNotEnabledRaisesNothing", timer2,         {raster},         0xFF0A, timer2,          0, 0x27, 0},
};
// clang-format on

class InterruptLine : public ::testing::TestWithParam<LineCase> {
protected:
    void SetUp() override {
        resetCpuMachine();
        startBeam();
        const LineCase& c = GetParam();
        // SEI; LDA #value; STA register; CLI; then NOPs.
        poke(0x1000,
             {0x78, 0xA9, c.value, 0x8D, uint8_t(c.registerWritten), uint8_t(c.registerWritten >> 8), 0x58});
        for (int i = 0; i < 32; ++i) memory.ram[0x1007 + i] = 0xEA;
        // The handler counts its entries in $30 and acknowledges everything.
        poke(0x2000, {0xE6, 0x30, 0xA9, 0xFF, 0x8D, 0x09, 0xFF, 0x40});
        pokeWord(0xFFFE, 0x2000);
        writeMemory(0xFF0A, c.enabled);
        for (uint8_t source : c.requests) requestInterrupt(source);
        reg.PC = 0x1000;
    }
};

TEST_P(InterruptLine, FollowsTheEnabledRequestsAfterEveryWrite) {
    const LineCase& c = GetParam();
    for (int i = 0; i < 3; ++i) emulationStep();  // up to the register write, I still set
    ASSERT_EQ(reg.PC, 0x1006);
    EXPECT_EQ(ted.irqLine, c.line);
    EXPECT_EQ(readMemory(0xFF09), c.requestRead);
    for (int i = 0; i < 20; ++i) emulationStep();
    EXPECT_EQ(memory.ram[0x30], c.entries);
    EXPECT_EQ(ted.irqLine, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, InterruptLine, ::testing::ValuesIn(lineCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InterruptLineReset, ClearingTheRegistersDropsTheLine) {
    resetCpuMachine();
    writeMemory(0xFF0A, raster);
    requestInterrupt(raster);
    ASSERT_EQ(ted.irqLine, 1);
    resetMachine(Reset::hard);
    EXPECT_EQ(ted.irqLine, 0);
}

}  // namespace

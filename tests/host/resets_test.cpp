// Hard and special resets: a cold start that keeps the ROM choice, and for the special
// reset the program in RAM.
#include <gtest/gtest.h>

#include <cstring>

#include "bus/interrupts.h"
#include "machine/power.h"
#include "memory/memory.h"
#include "state/machine.h"
#include "ted/raster.h"
#include "ted/ted.h"

namespace {

struct ResetCase {
    const char* name;
    Reset kind;
    bool refillsRam;
};

class Resets : public ::testing::TestWithParam<ResetCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(allocateRamBlock());
        setRamSize(2);
        std::memset(memory.ram, 0xAA, 0x10000);
        reg.PC = 0x1234;
        reg.AC = reg.XR = reg.YR = 0x55;
        reg.SP = 0x10;
        reg.N = reg.C = reg.I = 1;
        interrupts.resetPending = 0;
        memory.romEnabled = 0;
        memory.romBankLow = 2;
        memory.romBankHigh = 3;
        ted.timer1.counter = 0x123;
        ted.beamY = 100;
        ted.beamX = 50;
    }
    void TearDown() override { releaseRamBlock(); }
};

TEST_P(Resets, RestartTheMachineThroughTheResetVector) {
    resetMachine(GetParam().kind);
    for (int a = 0xFF00; a < 0xFF40; ++a) ASSERT_EQ(memory.ram[a], 0) << std::hex << a;
    for (int a = 0xFF40; a < 0xFFFF; ++a) ASSERT_EQ(memory.ram[a], 0) << std::hex << a;
    EXPECT_EQ(memory.ram[0xFFFF], 0xAA);
    EXPECT_EQ(reg.PC, 0x0000);
    EXPECT_EQ(reg.AC | reg.XR | reg.YR, 0);
    EXPECT_EQ(reg.SP, 0xFF);
    EXPECT_EQ(reg.N | reg.V | reg.B | reg.D | reg.I | reg.Z | reg.C, 0);
    EXPECT_EQ(interrupts.resetPending, 1);
    EXPECT_EQ(memory.romEnabled, 1);
    EXPECT_EQ(ted.beamY, 0);
    EXPECT_EQ(ted.beamX, 0);
    EXPECT_EQ(ted.flashPhase, 0);
    // The timers and the bank choice belong to the running machine, not to the reset.
    EXPECT_EQ(ted.timer1.counter, 0x123);
    EXPECT_EQ(memory.romBankLow, 2);
    EXPECT_EQ(memory.romBankHigh, 3);
}

TEST_P(Resets, RefillRamOnlyOnAHardReset) {
    resetMachine(GetParam().kind);
    const uint8_t pattern[8] = {0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    for (int a : {0x0000, 0x1000, 0xFEF8}) {
        bool refilled = std::memcmp(memory.ram + a, pattern, 8) == 0;
        EXPECT_EQ(refilled, GetParam().refillsRam) << std::hex << a;
    }
    if (!GetParam().refillsRam) {
        EXPECT_EQ(memory.ram[0x1000], 0xAA);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, Resets,
                         ::testing::Values(ResetCase{"Hard", Reset::hard, true},
                                           ResetCase{"Special", Reset::special, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

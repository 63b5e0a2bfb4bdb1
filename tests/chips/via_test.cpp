// The 6522's timers and control lines as a drive's DOS leans on them: a free-running
// timer 1 that flags every latch + 2 cycles (the 1541 times its format with it), a
// one-shot that flags once, and CA1 edges as the PCR chooses them.
#include <gtest/gtest.h>

#include "chips/via6522.h"

namespace {

// Counts timer 1 flags over `cycles`, taken in steps of `step` and cleared by reading the
// counter's low byte as the DOS does.
int timer1Flags(Via6522& via, int cycles, int step) {
    int flags = 0;
    for (int spent = 0; spent < cycles; spent += step) {
        viaTick(via, uint32_t(step));
        if (viaRead(via, 13, 0xFF, 0xFF) & viaTimer1) {
            ++flags;
            viaRead(via, 4, 0xFF, 0xFF);
        }
    }
    return flags;
}

class ViaFreeRunning : public ::testing::TestWithParam<int> {};

TEST_P(ViaFreeRunning, FlagsEveryLatchPlusTwoCyclesAndStaysBelowTheLatch) {
    Via6522 via;
    viaWrite(via, 11, 0x40);  // timer 1 free-running
    viaWrite(via, 6, 0x62);
    viaWrite(via, 7, 0x00);
    viaWrite(via, 5, 0x00);  // load and start
    EXPECT_EQ(timer1Flags(via, 100 * 1000, GetParam()), 1000);
    EXPECT_LE(via.timer1, 0x63);
}

INSTANTIATE_TEST_SUITE_P(Steps, ViaFreeRunning, ::testing::Values(1, 2, 3, 4, 7));

TEST(Via, OneShotTimersFlagOnceAndInterruptWhenEnabled) {
    Via6522 via;
    viaWrite(via, 4, 0x10);
    viaWrite(via, 5, 0x00);  // timer 1: 16 cycles, once
    viaWrite(via, 8, 0x20);
    viaWrite(via, 9, 0x00);  // timer 2: 32 cycles
    viaWrite(via, 14, 0x80 | viaTimer2);
    viaTick(via, 16);
    EXPECT_EQ(via.ifr, 0);
    viaTick(via, 1);
    EXPECT_EQ(via.ifr, viaTimer1);
    EXPECT_FALSE(viaIrq(via));
    viaRead(via, 4, 0xFF, 0xFF);
    viaTick(via, 70000);  // timer 1 wraps round without flagging again
    EXPECT_EQ(via.ifr, viaTimer2);
    EXPECT_TRUE(viaIrq(via));
    EXPECT_EQ(viaRead(via, 13, 0xFF, 0xFF), 0x80 | viaTimer2);
    viaWrite(via, 13, viaTimer2);
    EXPECT_FALSE(viaIrq(via));
}

TEST(Via, Ca1FlagsTheEdgeThePcrChoosesAndPortAReadsClearIt) {
    Via6522 via;
    viaSetCa1(via, true);  // rising: not the active edge while PCR bit 0 is clear
    viaSetCa1(via, false);
    EXPECT_EQ(via.ifr, viaCa1);
    viaRead(via, 1, 0xFF, 0xFF);
    EXPECT_EQ(via.ifr, 0);
    viaWrite(via, 12, 0x01);  // rising edge active
    viaSetCa1(via, true);
    EXPECT_EQ(via.ifr, viaCa1);
}

}  // namespace

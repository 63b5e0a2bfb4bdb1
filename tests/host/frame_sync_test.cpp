// Speed synchronisation on the fake clock: every counter read advances it by counterStep.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "host/configuration.h"
#include "host/frame_end.h"
#include "host/program.h"
#include "memory/memory.h"
#include "support/fake_platform.h"

namespace {

class FrameSync : public ::testing::Test {
protected:
    void SetUp() override {
        resetFakePlatform();
        ASSERT_TRUE(allocateRamBlock());
        fake.counterStep = 1000;
        shell.ticksPerFrame = fake.frequency / 50;  // 200,000 ticks
        shell.frameStamp = 0;
    }
    void TearDown() override { releaseRamBlock(); }
};

TEST_F(FrameSync, SyncOffOnlyTakesTheStamp) {
    emulatorConfig.sync = 0;
    fake.counter = 5000;
    frameSync();
    EXPECT_EQ(shell.frameStamp, 6000u);
    EXPECT_EQ(fake.verticalBlankWaits, 0);
}

TEST_F(FrameSync, FiftyHertzFramesAreAtLeastOnePeriodApart) {
    emulatorConfig.sync = 2;
    for (int frame = 0; frame < 3; ++frame) {
        uint64_t previous = shell.frameStamp;
        frameSync();
        EXPECT_GE(shell.frameStamp - previous, shell.ticksPerFrame);
        EXPECT_LE(shell.frameStamp - previous, shell.ticksPerFrame + 2 * fake.counterStep);
    }
}

TEST_F(FrameSync, ALateFrameIsNotMadeUp) {
    emulatorConfig.sync = 2;
    fake.counter = 300000;  // this frame took 30 ms
    frameSync();
    EXPECT_EQ(shell.frameStamp, 302000u);  // no wait: one read to test, one to stamp
    uint64_t late = shell.frameStamp;
    frameSync();
    EXPECT_GE(shell.frameStamp - late, shell.ticksPerFrame);  // the next one still waits a whole period
}

TEST_F(FrameSync, CounterBehindTheStampWaitsInsteadOfRunningFree) {
    emulatorConfig.sync = 2;
    shell.frameStamp = 50000;
    fake.counter = 0;
    frameSync();
    EXPECT_GE(shell.frameStamp, 250000u);
}

TEST_F(FrameSync, VerticalBlankIsRetriedUntilItSucceeds) {
    emulatorConfig.sync = 1;
    fake.failures["waitForVerticalBlank"] = platform::failed;
    fake.onVerticalBlank = [] {
        if (fake.verticalBlankWaits == 3) fake.failures.clear();
    };
    frameSync();
    EXPECT_EQ(fake.verticalBlankWaits, 3);
    EXPECT_EQ(shell.frameStamp, fake.counter);
}

TEST_F(FrameSync, ADisplayWithoutVerticalBlankDoesNotHangTheMachine) {
    emulatorConfig.sync = 1;
    fake.failures["waitForVerticalBlank"] = platform::failed;
    frameSync();
    EXPECT_GT(fake.verticalBlankWaits, 1);
    EXPECT_EQ(shell.frameStamp, fake.counter);
}

struct SleepCase {
    uint64_t counterAtFrameEnd;  // the frame began at 0; a period is 200,000 ticks
    std::vector<uint32_t> sleeps;
};

class FiftyHertzSleep : public FrameSync, public ::testing::WithParamInterface<SleepCase> {};

// Only the last 0.2 ms of the period is spun, reading the counter.
TEST_P(FiftyHertzSleep, SleepsThroughThePeriodButItsLastMoment) {
    emulatorConfig.sync = 2;
    fake.counterStep = 100;
    fake.counter = GetParam().counterAtFrameEnd;
    frameSync();
    EXPECT_EQ(fake.sleeps, GetParam().sleeps);
    EXPECT_GE(shell.frameStamp, std::max<uint64_t>(shell.ticksPerFrame, GetParam().counterAtFrameEnd));
    EXPECT_LE(shell.frameStamp, std::max<uint64_t>(shell.ticksPerFrame, GetParam().counterAtFrameEnd) + 300);
}

INSTANTIATE_TEST_SUITE_P(Frames, FiftyHertzSleep,
                         ::testing::Values(SleepCase{0, {19790}}, SleepCase{50000, {14790}},
                                           SleepCase{197500, {40}}, SleepCase{198000, {}},
                                           SleepCase{250000, {}}));

TEST_F(FrameSync, VerticalBlankAndSyncOffNeverSleep) {
    for (int sync : {0, 1}) {
        emulatorConfig.sync = sync;
        frameSync();
    }
    EXPECT_TRUE(fake.sleeps.empty());
}

}  // namespace

// Speed synchronisation on the fake clock: every counter read advances it by counterStep.
#include <gtest/gtest.h>

#include "host/configuration.h"
#include "host/frame_end.h"
#include "host/shell.h"
#include "support/fake_platform.h"
#include "ted/memory_map.h"

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

}  // namespace

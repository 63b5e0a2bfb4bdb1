// Warp and pause as a front end switches them.
#include "host/run_control.h"

#include "common/configuration.h"
#include "host_test.h"
#include "state/machine.h"
#include "ted/ted.h"

namespace {

using RunControl = HostTest;

TEST_F(RunControl, WarpRunsFreeAndGivesTheSyncBack) {
    emulatorConfig.sync = 1;
    setWarp(true);
    EXPECT_EQ(emulatorConfig.sync, 0);
    EXPECT_TRUE(warpOn());
    setWarp(true);  // a second switch on keeps the sync to give back
    setWarp(false);
    EXPECT_EQ(emulatorConfig.sync, 1);
    EXPECT_FALSE(warpOn());
}

TEST_F(RunControl, WarpIsOffOnceTheSyncIsSetAgain) {
    emulatorConfig.sync = 2;
    setWarp(true);
    emulatorConfig.sync = 1;  // a new start, or the options menu
    EXPECT_FALSE(warpOn());
    setWarp(true);
    setWarp(false);
    EXPECT_EQ(emulatorConfig.sync, 1);
}

TEST_F(RunControl, PausedLoopRunsNoInstructionButServesMessages) {
    writeSettings();
    queueRun(200, 6);
    uint16_t pausedAt = 0;
    fake.onPresent = [&] {
        if (shell.paused) return;
        setPaused(true);  // as a front end would between two frames
        pausedAt = reg.PC;
    };
    EXPECT_EQ(start(), 6);
    EXPECT_TRUE(shell.paused);
    EXPECT_EQ(reg.PC, pausedAt);  // no instruction ran after the pause
    EXPECT_GT(fake.waitMessageCalls, 0);
    setPaused(false);
}

TEST_F(RunControl, ANewStartIsNotPaused) {
    writeSettings();
    setPaused(true);
    queueRun(0);
    start();
    EXPECT_FALSE(shell.paused);
}

TEST_F(RunControl, PauseSilencesTheVoicesAndGoingOnRestoresThem) {
    writeSettings({{"SoundEmulation", 1u}});
    queueRun(0);
    start();  // leaves the sound channels set up
    fake.channels[1].exists = fake.channels[2].exists = true;
    emulatorConfig.soundEmulation = 1;
    fake.channels[1].volume = ted.sound.voices[0].volume = -300;
    fake.channels[2].volume = ted.sound.voices[1].volume = -10000;
    setPaused(true);
    EXPECT_EQ(fake.channels[1].volume, -10000);
    setPaused(false);
    EXPECT_EQ(fake.channels[1].volume, -300);
    EXPECT_EQ(fake.channels[2].volume, -10000);
}

}  // namespace

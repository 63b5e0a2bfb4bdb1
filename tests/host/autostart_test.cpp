// Starting a handed-over file: what kind it is, the reset first, the wait for the ROM,
// the keys typed one command at a time, and files that cannot be started.
#include "host/autostart.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/configuration.h"
#include "cpu/registers.h"
#include "drive/drive.h"
#include "shell/shell.h"
#include "storage/program_files.h"
#include "support/fake_platform.h"
#include "support/machine_helpers.h"
#include "ted/memory_map.h"

namespace {

struct KindCase {
    const char* name;
    StartKind kind;
};

class StartKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(StartKinds, FollowTheExtensionInAnyCase) { EXPECT_EQ(startKindOf(GetParam().name), GetParam().kind); }

INSTANTIATE_TEST_SUITE_P(Names, StartKinds,
                         ::testing::Values(KindCase{"GAME.PRG", StartKind::program},
                                           KindCase{"disk.D64", StartKind::disk},
                                           KindCase{"/a/b/state.Fre", StartKind::snapshot},
                                           KindCase{"noextension", StartKind::program},
                                           KindCase{"old.d64.prg", StartKind::program},
                                           KindCase{"d64", StartKind::program}));

class Autostart : public ::testing::Test {
protected:
    void SetUp() override {
        resetFakePlatform();
        resetShellState();
        ASSERT_TRUE(allocateRamBlock());
        std::memset(memory.ram, 0, 0x10000);
        emulatorConfig = EmulatorConfig{};
        emulatorConfig.driveType8 = 1;
        buildTrackOffsets();
    }
    void TearDown() override {
        // Ends any start a test left waiting, so the next test begins without one.
        while (autostartPending()) {
            memory.ram[keysWaiting] = 0;
            autostartFrame();
        }
    }

    // Serves the reset the start asked for, as the main loop would.
    void serveReset() { shell.requests.hardReset = shell.requests.pending = 0; }
    void frames(int count) {
        for (int i = 0; i < count; ++i) autostartFrame();
    }
    std::string typed() const {
        return std::string(reinterpret_cast<const char*>(memory.ram + 0x0527), memory.ram[keysWaiting]);
    }

    static constexpr uint16_t keysWaiting = 0xEF;
    ScratchDirectory dir;
};

TEST_F(Autostart, ProgramWaitsForTheResetAndTheRomThenLoadsAndRuns) {
    writeFile(dir.file("game.prg"), {0x01, 0x10, 0xAB, 0xCD});
    ASSERT_TRUE(autostartFile(dir.file("game.prg").c_str()));
    EXPECT_EQ(shell.requests.hardReset, 1);
    EXPECT_EQ(shell.requests.pending, 1);
    frames(40);  // the reset has not been served: nothing happens
    EXPECT_EQ(memory.ram[0x1001], 0);
    serveReset();
    frames(25);
    EXPECT_EQ(memory.ram[0x1001], 0);  // the ROM is still starting
    frames(1);
    EXPECT_EQ(memory.ram[0x1001], 0xAB);
    EXPECT_EQ(typed(), "RUN\r");
    EXPECT_FALSE(autostartPending());
}

TEST_F(Autostart, FramesOfAnOpenMenuOrAPauseDoNotCount) {
    writeFile(dir.file("game.prg"), {0x01, 0x10, 0xAB});
    ASSERT_TRUE(autostartFile(dir.file("game.prg").c_str()));
    serveReset();
    shell.menuOpen = 1;
    frames(30);
    shell.menuOpen = 0;
    shell.paused = 1;
    frames(30);
    shell.paused = 0;
    EXPECT_EQ(memory.ram[0x1001], 0);
    frames(26);
    EXPECT_EQ(memory.ram[0x1001], 0xAB);
}

TEST_F(Autostart, DiskGoesIntoDrive8AndItsCommandsAreTypedOneAtATime) {
    std::vector<uint8_t> image(d64ImageBytes, 0);
    image[trackOffset[18]] = 18;
    writeFile(dir.file("games.D64"), image);
    ASSERT_TRUE(autostartFile(dir.file("games.D64").c_str()));
    EXPECT_EQ(emulatorConfig.driveType8, 2);
    EXPECT_EQ(drive.d64Image[trackOffset[18]], 18);
    serveReset();
    frames(26);
    EXPECT_EQ(typed(), "LOAD\"*\",8\r");
    frames(5);  // the ROM has not taken the keys yet
    EXPECT_EQ(typed(), "LOAD\"*\",8\r");
    memory.ram[keysWaiting] = 0;
    frames(1);
    EXPECT_EQ(typed(), "RUN\r");
    EXPECT_FALSE(autostartPending());
}

TEST_F(Autostart, SnapshotIsRestoredAtOnceWithoutAReset) {
    reg = Registers{};
    reg.PC = 0x2345;
    memory.ram[0x3000] = 0x77;
    ASSERT_TRUE(saveSnapshot(dir.file("state.fre").c_str()));
    reg.PC = 0;
    memory.ram[0x3000] = 0;
    ASSERT_TRUE(autostartFile(dir.file("state.fre").c_str()));
    EXPECT_EQ(reg.PC, 0x2345);
    EXPECT_EQ(memory.ram[0x3000], 0x77);
    EXPECT_EQ(shell.requests.hardReset, 0);
    EXPECT_FALSE(autostartPending());
}

TEST_F(Autostart, FilesThatCannotStartChangeNothing) {
    writeFile(dir.file("empty.d64"), {});
    EXPECT_FALSE(autostartFile(dir.file("missing.prg").c_str()));
    EXPECT_FALSE(autostartFile(dir.file("empty.d64").c_str()));
    EXPECT_FALSE(autostartFile(nullptr));
    EXPECT_EQ(shell.requests.hardReset, 0);
    EXPECT_EQ(emulatorConfig.driveType8, 1);
    EXPECT_FALSE(autostartPending());
}

TEST_F(Autostart, ALaterFileReplacesAStartStillWaiting) {
    writeFile(dir.file("first.prg"), {0x01, 0x10, 0x11});
    writeFile(dir.file("second.prg"), {0x01, 0x10, 0x22});
    ASSERT_TRUE(autostartFile(dir.file("first.prg").c_str()));
    serveReset();
    frames(10);
    ASSERT_TRUE(autostartFile(dir.file("second.prg").c_str()));
    serveReset();
    frames(26);
    EXPECT_EQ(memory.ram[0x1001], 0x22);
}

}  // namespace

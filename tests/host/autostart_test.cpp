// Starting a handed-over file: what kind it is, the reset first, the wait for the ROM,
// the keys typed one command at a time, and files that cannot be started.
#include "host/autostart.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bus/interrupts.h"
#include "common/configuration.h"
#include "drive/drive.h"
#include "memory/memory.h"
#include "shell/shell.h"
#include "state/machine.h"
#include "storage/program_files.h"
#include "support/fake_platform.h"
#include "support/machine_helpers.h"
#include "truedrive/true_drive.h"

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
    }
    // Ends any start a test left waiting, so the next test begins without one.
    void TearDown() override { cancelAutostart(); }

    // Serves the reset the start asked for, as the main loop would.
    void serveReset() { shell.requests.hardReset = shell.requests.pending = 0; }
    void frames(int count) {
        for (int i = 0; i < count; ++i) autostartFrame();
    }
    // The text screen at $0C00 (matrix $0800) with `lines` from its top, the rest blank.
    void showScreen(std::initializer_list<const char*> lines) {
        memory.ram[0xFF14] = 0x08;
        std::memset(memory.ram + 0x0C00, 0x20, 1000);
        int row = 0;
        for (const char* line : lines) {
            for (int column = 0; line[column]; ++column) {
                const char c = line[column];
                memory.ram[0x0C00 + 40 * row + column] = uint8_t(c >= 'A' && c <= 'Z' ? c - 'A' + 1 : c);
            }
            ++row;
        }
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
    showScreen({"BANNER", "", "READY."});
    frames(26);
    EXPECT_EQ(typed(), "LOAD\"*\",8\r");
    frames(5);  // the ROM has not taken the keys yet
    EXPECT_EQ(typed(), "LOAD\"*\",8\r");
    // The keys are taken and the load runs: the prompt is not back, so RUN waits.
    memory.ram[keysWaiting] = 0;
    showScreen({"BANNER", "", "READY.", "LOAD\"*\",8", "SEARCHING FOR *", "LOADING"});
    frames(1000);
    EXPECT_EQ(typed(), "");
    EXPECT_TRUE(autostartPending());
    showScreen({"BANNER", "", "READY.", "LOAD\"*\",8", "SEARCHING FOR *", "LOADING", "READY."});
    frames(1);
    EXPECT_EQ(typed(), "RUN\r");
    EXPECT_FALSE(autostartPending());
}

TEST_F(Autostart, DiskLoadWaitsForThePromptAndIsTypedAnywayAfterTenSeconds) {
    writeFile(dir.file("games.d64"), std::vector<uint8_t>(d64ImageBytes, 0));
    ASSERT_TRUE(autostartFile(dir.file("games.d64").c_str()));
    serveReset();
    showScreen({"A ROM OF ITS OWN", "OK>"});
    frames(25 + 499);
    EXPECT_EQ(typed(), "");
    frames(1);
    EXPECT_EQ(typed(), "LOAD\"*\",8\r");
}

// A true drive loads in its real time: a disk's start waits for its DOS to start and runs
// with the sync off until RUN is typed, then the stored sync is back. The port-level drive
// keeps the sync throughout.
TEST_F(Autostart, DiskOnATrueDriveLoadsAtFullSpeedUntilRunIsTyped) {
    writeFile(dir.file("games.d64"), std::vector<uint8_t>(d64ImageBytes, 0));
    emulatorConfig.sync = 2;
    ASSERT_TRUE(autostartFile(dir.file("games.d64").c_str()));
    EXPECT_EQ(emulatorConfig.sync, 2);
    trueDrive.kind = TrueDriveKind::drive1551;
    ASSERT_TRUE(autostartFile(dir.file("games.d64").c_str()));
    EXPECT_EQ(emulatorConfig.sync, 0);
    serveReset();
    showScreen({"READY."});
    frames(150);  // the drive's DOS starts
    EXPECT_EQ(typed(), "");
    frames(1);
    EXPECT_EQ(typed(), "LOAD\"*\",8\r");
    memory.ram[keysWaiting] = 0;
    EXPECT_EQ(emulatorConfig.sync, 0);
    frames(1);  // the prompt is back
    EXPECT_EQ(typed(), "RUN\r");
    EXPECT_EQ(emulatorConfig.sync, 2);
    trueDrive = TrueDrive{};
}

struct Refused {
    const char* name;
    std::vector<uint8_t> bytes;  // written to the file, unless it is a FIFO or a folder
    const char* reason;
};
void PrintTo(const Refused& c, std::ostream* os) { *os << c.name; }

class AutostartRefusal : public Autostart, public ::testing::WithParamInterface<Refused> {};

TEST_P(AutostartRefusal, NamesTheFileAndTheReasonAndChangesNothing) {
    const std::string path = dir.file(GetParam().name);
    if (std::string(GetParam().name) == "pipe.prg")
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);  // a read would wait for a writer for ever
    else if (std::string(GetParam().name) == "folder.d64")
        std::filesystem::create_directory(path);
    else if (std::string(GetParam().name) != "missing.prg")
        writeFile(path, GetParam().bytes);
    std::memset(memory.ram, 0x5A, 0x10000);
    std::string error;
    EXPECT_FALSE(autostartFile(path, error));
    EXPECT_EQ(error, path + ": " + GetParam().reason);
    EXPECT_EQ(shell.requests.hardReset, 0);
    EXPECT_EQ(emulatorConfig.driveType8, 1);
    EXPECT_FALSE(autostartPending());
    for (uint32_t a = 0; a < 0x10000; ++a) ASSERT_EQ(memory.ram[a], 0x5A) << a;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Files, AutostartRefusal,
    ::testing::Values(Refused{"missing.prg", {}, "no such file"},
                      Refused{"pipe.prg", {}, "is a FIFO, not a regular file"},
                      Refused{"folder.d64", {}, "is a folder, not a file"},
                      Refused{"short.prg", {0x01, 0x10}, "too short for a program file"},
                      Refused{"high.prg", {0xFF, 0xFF, 0xEA}, "the program runs past $FFFF"},
                      Refused{"huge.prg", std::vector<uint8_t>(2 + 0x10000 + 1, 0), "the program runs past $FFFF"},
                      Refused{"cut.FRE", std::vector<uint8_t>(65607, 0), "not a snapshot: wrong size"},
                      Refused{"long.fre", std::vector<uint8_t>(65609, 0), "not a snapshot: wrong size"},
                      // Past the largest image (40 tracks with error bytes), and past the read limit.
                      Refused{"long.d64", std::vector<uint8_t>(197377, 0), "the disk image cannot be read"},
                      Refused{"huge.d64", std::vector<uint8_t>((1 << 20) + 1, 0), "larger than 1048576 bytes"}));
// clang-format on

TEST_F(Autostart, SnapshotAtPowerOnGoesOnFromItsOwnPcNotTheResetVector) {
    reg = Registers{};
    reg.PC = 0x2345;
    ASSERT_TRUE(saveSnapshot(dir.file("state.fre").c_str()));
    interrupts.resetPending = 1;  // as power-on leaves it
    ASSERT_TRUE(autostartFile(dir.file("state.fre").c_str()));
    EXPECT_EQ(interrupts.resetPending, 0);
    EXPECT_EQ(reg.PC, 0x2345);
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

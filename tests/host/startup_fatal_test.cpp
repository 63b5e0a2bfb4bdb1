// Start-up failures: each ends the program with its box (also on standard error), its log
// line and exit status 1.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "host/log.h"
#include "host_test.h"
#include "memory/memory.h"
#include "rom/open_rom.h"

namespace {

struct FatalCase {
    const char* name;
    // Prepares the failure; returns the log line expected last, or "" when no log is written.
    std::function<std::string(HostTest&)> arrange;
    const char* box;     // the box's first line
    const char* detail;  // found in its second line (the file and what is wrong); "" for none
};

class StartupFatal : public HostTest, public ::testing::WithParamInterface<FatalCase> {
public:
    void runCase() {
        std::string lastLine = GetParam().arrange(*this);
        testing::internal::CaptureStderr();
        EXPECT_EQ(start(commandLine.c_str()), 1);
        const std::string errors = testing::internal::GetCapturedStderr();
        ASSERT_EQ(fake.messageBoxes.size(), 1u);
        const std::string& box = fake.messageBoxes[0];
        EXPECT_EQ(errors, box + "\n");
        const size_t lineEnd = box.find('\n');
        EXPECT_EQ(box.substr(0, lineEnd), GetParam().box);
        if (*GetParam().detail)
            EXPECT_NE(box.find(GetParam().detail, lineEnd), std::string::npos) << box;
        else
            EXPECT_EQ(lineEnd, std::string::npos) << box;
        EXPECT_FALSE(fake.messageBoxOwned[0]);
        EXPECT_FALSE(loggingOn());
        EXPECT_EQ(currentWindowProc(), &windowProc);
        EXPECT_FALSE(fake.windowCreated);
        if (lastLine.empty()) return;
        std::string text = log();
        ASSERT_GE(text.size(), lastLine.size());
        EXPECT_EQ(text.substr(text.size() - lastLine.size()), lastLine);
    }
};

TEST_P(StartupFatal, ShowsTheBoxAndEndsTheLogWithTheReason) { runCase(); }

using StartupFailure = HostTest;

std::string missingRom(HostTest& t, const char* setting) {
    std::string name = t.dir->file("missing.bin");
    t.writeSettings({{setting, name}});
    return "Error: File not found: " + name + ".\n";
}

std::string emptyRom(HostTest& t, const char* setting) {
    std::string name = t.dir->file("empty.bin");
    writeFile(name, {});
    t.writeSettings({{setting, name}});
    return "Info: " + name + " successfully opened.\nError: Error while loading " + name + ".\n";
}

std::string ntscKernal(HostTest& t) {
    RomImage image = palKernal();
    image.place(0xFF80, {0x7F});
    t.writeKernal(image);
    t.writeSettings();
    return "Error: Varnok requires PAL KERNAL ROM.\n";
}

INSTANTIATE_TEST_SUITE_P(
    Failures, StartupFatal,
    ::testing::Values(
        FatalCase{"Rom0LMissing", [](HostTest& t) { return missingRom(t, "Rom0L"); },
                  "Varnok Error: ROM0L file not found.", "/missing.bin"},
        FatalCase{"Rom0HMissing", [](HostTest& t) { return missingRom(t, "Rom0H"); },
                  "Varnok Error: ROM0H file not found.", "/missing.bin"},
        FatalCase{"Rom0LEmpty", [](HostTest& t) { return emptyRom(t, "Rom0L"); },
                  "Varnok Error: Error while loading ROM0L file.", "empty.bin: empty file"},
        FatalCase{"Rom0HEmpty", [](HostTest& t) { return emptyRom(t, "Rom0H"); },
                  "Varnok Error: Error while loading ROM0H file.", "empty.bin: empty file"},
        FatalCase{"Rom0LIsADirectory",
                  [](HostTest& t) {
                      t.writeSettings({{"Rom0L", t.dir->path()}});
                      return "Error: Error while loading " + t.dir->path() + ".\n";
                  },
                  "Varnok Error: Error while loading ROM0L file.", ": is a folder, not a file"},
        FatalCase{"Rom0LIsAFifo",
                  [](HostTest& t) {
                      const std::string fifo = t.dir->file("fifo.bin");
                      mkfifo(fifo.c_str(), 0600);  // a read would wait for a writer for ever
                      t.writeSettings({{"Rom0L", fifo}});
                      return "Error: Error while loading " + fifo + ".\n";
                  },
                  "Varnok Error: Error while loading ROM0L file.", "fifo.bin: is a FIFO, not a regular file"},
        FatalCase{"Rom0LLongNameIsTriedWhole",
                  [](HostTest& t) {
                      t.writeSettings({{"Rom0L", std::string(300, 'x')}});
                      return "Error: File not found: " + std::string(300, 'x') + ".\n";
                  },
                  "Varnok Error: ROM0L file not found.", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"},
        FatalCase{"NtscKernalWithRomCheckByDefault", ntscKernal,
                  "Varnok Error: Varnok requires PAL KERNAL ROM", ""},
        FatalCase{"LogCannotBeCreated",
                  [](HostTest& t) {
                      std::filesystem::create_directory(t.dir->file("Varnok.log"));
                      t.writeSettings();
                      return std::string();
                  },
                  "Varnok Error: Cannot create Varnok.log file.", "Varnok.log: is a folder, not a file"},
        // Neither followed to the file it names nor opened to wait for a reader.
        FatalCase{"LogIsALink",
                  [](HostTest& t) {
                      writeFile(t.dir->file("notes.txt"), {'k', 'e', 'e', 'p'});
                      symlink("notes.txt", t.dir->file("Varnok.log").c_str());
                      t.writeSettings();
                      return std::string();
                  },
                  "Varnok Error: Cannot create Varnok.log file.", "Varnok.log: is a symbolic link"},
        FatalCase{"LogIsAFifo",
                  [](HostTest& t) {
                      mkfifo(t.dir->file("Varnok.log").c_str(), 0600);
                      // With a reader there an open for writing would succeed.
                      open(t.dir->file("Varnok.log").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
                      t.writeSettings();
                      return std::string();
                  },
                  "Varnok Error: Cannot create Varnok.log file.",
                  "Varnok.log: is a FIFO, not a regular file"},
        FatalCase{"CommandLineFileMissing",
                  [](HostTest& t) {
                      t.writeSettings();
                      t.commandLine = t.dir->file("no such game.prg");
                      return "Error: " + t.commandLine + ": no such file\n";
                  },
                  "Varnok Error: Cannot start the file named on the command line.",
                  "no such game.prg: no such file"},
        FatalCase{"CommandLineProgramTooShort",
                  [](HostTest& t) {
                      t.writeSettings();
                      t.commandLine = t.dir->file("short.prg");
                      writeFile(t.commandLine, {0x01, 0x10});
                      return "Error: " + t.commandLine + ": too short for a program file\n";
                  },
                  "Varnok Error: Cannot start the file named on the command line.",
                  "short.prg: too short for a program file"},
        FatalCase{"CommandLineFolder",
                  [](HostTest& t) {
                      t.writeSettings();
                      t.commandLine = t.dir->path();
                      return "Error: " + t.commandLine + ": is a folder, not a file\n";
                  },
                  "Varnok Error: Cannot start the file named on the command line.",
                  ": is a folder, not a file"},
        FatalCase{"CommandLineSnapshotOfTheWrongSize",
                  [](HostTest& t) {
                      t.writeSettings();
                      t.commandLine = t.dir->file("state.FRE");
                      writeFile(t.commandLine, std::vector<uint8_t>(72, 0));
                      return "Error: " + t.commandLine + ": not a snapshot: wrong size\n";
                  },
                  "Varnok Error: Cannot start the file named on the command line.",
                  "state.FRE: not a snapshot: wrong size"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupFailure, BothRomNamesEmptyBootTheBuiltInOpenRom) {
    writeSettingsStore({{"Log", 1u}, {"Sync", 0u}, {"Rom0L", ""}});
    queueRun(2);
    EXPECT_EQ(start(), 0);
    EXPECT_TRUE(fake.messageBoxes.empty());
    EXPECT_NE(log().find("Info: built-in open ROM in use.\n"), std::string::npos);
    EXPECT_EQ(std::memcmp(memory.romLow[0], openBasicImage, romImageBytes), 0);
    EXPECT_EQ(std::memcmp(memory.romHigh[0], openKernalImage, romImageBytes), 0);
}

TEST_F(StartupFailure, NoSettingsStoreWritesNoLog) {
    start();
    EXPECT_FALSE(fileExists(dir->file("Varnok.log")));
}

TEST_F(StartupFailure, NtscKernalStartsWhenTheRomCheckIsOff) {
    RomImage image = palKernal();
    image.place(0xFF80, {0x00});
    writeKernal(image);
    writeSettings({{"PALROM", 0u}});
    start();
    EXPECT_TRUE(fake.messageBoxes.empty());
    EXPECT_NE(log().find("Info: Main loop reached."), std::string::npos);
}

TEST_F(StartupFailure, FatalErrorWithAWindowOwnsTheBoxDestroysTheWindowAndReturnsItsCode) {
    ASSERT_EQ(platform::openWindow({}), platform::WindowOpened::opened);
    setWindowProc(windowProc);
    EXPECT_EQ(fatalError(true, -7, "Varnok Error: %s FAILED", "SetPalette"), -7);
    ASSERT_EQ(fake.messageBoxes.size(), 1u);
    EXPECT_EQ(fake.messageBoxes[0], "Varnok Error: SetPalette FAILED");
    EXPECT_TRUE(fake.messageBoxOwned[0]);
    EXPECT_FALSE(fake.windowCreated);
}

TEST_F(StartupFailure, FatalTextIsCutToItsBuffer) {
    testing::internal::CaptureStderr();
    fatalError(false, 0, "%s", std::string(5000, 'e').c_str());
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(fake.messageBoxes.size(), 1u);
    EXPECT_EQ(fake.messageBoxes[0].size(), 4095u);
}

}  // namespace

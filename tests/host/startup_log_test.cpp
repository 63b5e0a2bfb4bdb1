// Start-up: the log header and configuration block, the progress lines, the ROM images.
#include <cstring>

#include "host/configuration.h"
#include "host_test.h"
#include "memory/memory.h"

namespace {

// clang-format off
std::string headerFor(const std::string& basic, const std::string& kernal, const char* commandLine) {
    return "Varnok log file created.\n"
           "Version: 0.48R3\n\n"
           "Operating System name: Test OS\n"
           "Operating System version: 1.0\n"
           "Operating System build: 42\n"
           "\n"
           "Screenmode: 320x200\n"
           "Sound emulation: Enabled\n"
           "Ram: 2\n"
           "ModeX: Disabled\n"
           "Debugger: Disabled\n"
           "Process priority: 0\n"
           "Synchronization: 0\n"
           "Joystick: 0\n"
           "50Hz performance frequency: 200000\n"
           "Palette: 0\n"
           "Drive8: None\n"
           "\n"
           "ROM0L: " + basic + "\n"
           "ROM0H: " + kernal + "\n"
           "ROM1L: \nROM1H: \nROM2L: \nROM2H: \nROM3L: \nROM3H: \n"
           "\n"
           "Command line: " + commandLine + "\n"
           "\n";
}
// clang-format on

using StartupLog = HostTest;

TEST_F(StartupLog, HeaderConfigurationAndProgressLinesAreWrittenInOrder) {
    writeSettings();
    writeFile(dir->file("game.prg"), {0x01, 0x10, 0x00});
    EXPECT_EQ(start("game.prg"), 0);
    // clang-format off
    std::string expected = headerFor(basic, kernal, "game.prg") +
                           "Info: 64K RAM has been allocated.\n"
                           "Info: 64K RAM has been initialized.\n"
                           "Info: " + basic + " successfully opened.\n"
                           "Info: " + basic + " successfully loaded.\n"
                           "Info: " + kernal + " successfully opened.\n"
                           "Info: " + kernal + " successfully loaded.\n"
                           "Info: Internal tables generated.\n"
                           "Info: CPU initialized.\n";
    // clang-format on
    std::string text = log();
    EXPECT_EQ(text.substr(0, expected.size()), expected);
    // The device lines come between; the log ends with the priority and the loop.
    const std::string tail =
        "Info: GetPriorityClass executed.\n"
        "Info: SetPriorityClass executed.\n"
        "Info: Main loop reached. Emulation has beed started.\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(StartupLog, UnavailableOperatingSystemTextsSaySo) {
    fake.osVersionText.clear();
    fake.osBuildText.clear();
    writeSettings();
    start();
    EXPECT_NE(log().find("Operating System name: Test OS\n"
                         "Operating System version: NOT AVAILABLE\n"
                         "Operating System build: NOT AVAILABLE\n\n"),
              std::string::npos);
}

struct HeaderCase {
    const char* name;
    Setting setting;
    const char* expected;
};

class StartupLogHeader : public HostTest, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(StartupLogHeader, ShowsTheEffectiveSetting) {
    writeSettings({GetParam().setting});
    start();
    EXPECT_NE(log().find(GetParam().expected), std::string::npos) << log();
}

INSTANTIATE_TEST_SUITE_P(
    Values, StartupLogHeader,
    ::testing::Values(
        HeaderCase{"ScreenMode4IsLabelled640x400", {"ScreenMode", 4u}, "Screenmode: 640x400\n"},
        HeaderCase{"ScreenMode5IsLabelled640x480Full", {"ScreenMode", 5u}, "Screenmode: 640x480 Full\n"},
        HeaderCase{"UnknownScreenModeFallsBackWithAWarning", {"ScreenMode", 9u}, "Screenmode: 320x200\n"},
        HeaderCase{
            "OutOfRangeSyncIsLoggedAfterTheHeader",
            {"Sync", 3u},
            "\n\nWarning: Sync 3 is out of range (0-2); 2 is used.\nInfo: 64K RAM has been allocated."},
        HeaderCase{"SoundEmulation2IsDisabled", {"SoundEmulation", 2u}, "Sound emulation: Disabled\n"},
        HeaderCase{"NegativePriorityPrintsSigned", {"Priority", 0xFFFFFFFFu}, "Process priority: -1\n"},
        HeaderCase{"UnknownDriveTypeFallsBackToNone", {"DriveType8", 3u}, "Drive8: None\n"},
        HeaderCase{"DisabledRomCheckIsLogged", {"PALROM", 0u}, "Info: ROM check disabled.\n"},
        HeaderCase{"OptionalRomNotFoundIsAWarning",
                   {"Rom1L", "/nonexistent/cart.bin"},
                   "Warning: /nonexistent/cart.bin not found.\nInfo: Internal tables generated.\n"},
        HeaderCase{"MissingD64IsAWarning", {"DriveType8", 2u}, "Warning: D64 file not found: \n"},
        HeaderCase{
            "MissingDriveFolderIsAWarning", {"DriveType8", 1u}, "Warning: Drive 8 folder not found: \n"}),
    [](const auto& info) { return std::string(info.param.name); });

// The disk image named in the settings: mounted, or a warning that names the file or
// gives the reason; an image file too large for any disk counts as not found.
TEST_F(StartupLog, DiskImageIsMountedOrWarnedAbout) {
    const struct {
        size_t bytes;
        const char* expected;  // "%s" stands for the image's path
    } cases[] = {{174848, "Info: D64 file has been loaded.\n"},
                 {197376, "Info: D64 file has been loaded.\n"},
                 {0, "Warning: D64 file not found: %s\n"},
                 {197377, "Warning: D64 file not found: %s\n"},
                 {(1 << 20) + 1, "Warning: %s: larger than 1048576 bytes\n"}};
    for (const auto& c : cases) {
        const std::string path = dir->file("disk.d64");
        writeFile(path, std::vector<uint8_t>(c.bytes, 0));
        writeSettings({{"DriveType8", 2u}, {"Drive8D64", path}});
        start();
        std::string expected = c.expected;
        if (const size_t at = expected.find("%s"); at != std::string::npos) expected.replace(at, 2, path);
        EXPECT_NE(log().find(expected), std::string::npos) << c.bytes << " bytes:\n" << log();
    }
}

TEST_F(StartupLog, PriorityWithinRangeIsSetAndOtherValuesLeaveItAlone) {
    const struct {
        uint32_t setting;
        int32_t expected;
    } cases[] = {{0, platform::priorityNormal},
                 {1, platform::priorityHigh},
                 {2, platform::priorityRealtime},
                 {3, platform::priorityHigh},
                 {5, platform::priorityHigh}};
    for (auto c : cases) {
        resetFakePlatform();
        fake.priorityClass = platform::priorityHigh;
        writeSettings({{"Priority", c.setting}});
        start();
        EXPECT_EQ(fake.priorityClass, c.expected) << "Priority " << c.setting;
        EXPECT_NE(log().find("Info: GetPriorityClass executed.\nInfo: SetPriorityClass executed.\n"),
                  std::string::npos);
    }
}

TEST_F(StartupLog, ShortAndOptionalImagesLoadWithTheRestZero) {
    std::vector<uint8_t> cartridge(20000, 0x33);  // longer than an image: only 16 KB is taken
    writeFile(dir->file("cart.bin"), cartridge);
    writeFile(dir->file("empty.bin"), {});
    writeSettings({{"Rom3H", dir->file("cart.bin")}, {"Rom2L", dir->file("empty.bin")}});
    start();
    EXPECT_EQ(memory.romLow[0][7], 8);
    EXPECT_EQ(memory.romLow[0][8], 0);
    EXPECT_EQ(memory.romHigh[3][0x3FFF], 0x33);
    EXPECT_EQ(memory.romLow[2][0], 0);
    std::string text = log();
    EXPECT_NE(text.find("Info: " + dir->file("cart.bin") + " successfully loaded.\n"), std::string::npos);
    EXPECT_EQ(text.find("empty.bin successfully"), std::string::npos);
    EXPECT_EQ(text.find("empty.bin not found"), std::string::npos);
}

TEST_F(StartupLog, ImagesOfAnEarlierRunDoNotSurviveARestart) {
    writeFile(dir->file("cart.bin"), {0x44});
    writeSettings({{"Rom1L", dir->file("cart.bin")}});
    start();
    ASSERT_EQ(memory.romLow[1][0], 0x44);
    writeSettings();
    start();
    EXPECT_EQ(memory.romLow[1][0], 0);
}

TEST_F(StartupLog, RamHoldsThePowerOnPatternAndTedRegistersAreClear) {
    writeSettings({{"Ram", 2u}});
    fake.messages.push_back({platform::msgQuit, 0});  // leave before any instruction runs
    start();
    ASSERT_NE(memory.ram, nullptr);
    const uint8_t pattern[8] = {0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    for (int address : {0x0000, 0x1000, 0x8000, 0xFEF8}) {
        EXPECT_EQ(std::memcmp(memory.ram + address, pattern, 8), 0) << "at " << address;
    }
    for (int address = 0xFF00; address < 0xFF40; ++address) EXPECT_EQ(memory.ram[address], 0) << address;
    EXPECT_EQ(memory.romEnabled, 1);
}

}  // namespace

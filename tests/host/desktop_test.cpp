// The desktop's own ways in, through the window's messages and the main loop: files
// dropped on the window, the load menu's disk page, and the Pause and F10 keys.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/configuration.h"
#include "drive/drive.h"
#include "host/autostart.h"
#include "host/backend/display_mode.h"
#include "host/run_control.h"
#include "host_test.h"
#include "memory/memory.h"
#include "menus/key_codes.h"
#include "state/machine.h"
#include "storage/program_files.h"
#include "support/menu_script.h"

namespace {

constexpr uint32_t dropped = 1;

// Clears the screen at $0400 (the matrix after a reset) to spaces, shows READY. on its top row and waits
// there, as a ROM does at its prompt (without taking the keys typed at it).
RomImage readyKernal() {
    RomImage kernal = palKernal();
    // clang-format off
    kernal.place(0xF000, {
        0xA2, 0x00, 0xA9, 0x20,                          // LDX #0; LDA #' '
        0x9D, 0x00, 0x04, 0x9D, 0x00, 0x05,              // STA $0400,X; STA $0500,X
        0x9D, 0x00, 0x06, 0x9D, 0x00, 0x07,              // STA $0600,X; STA $0700,X
        0xE8, 0xD0, 0xF1,                                // INX; BNE
        0xA2, 0x05, 0xBD, 0x21, 0xF0, 0x9D, 0x00, 0x04,  // LDX #5; LDA $F021,X; STA $0400,X
        0xCA, 0x10, 0xF7,                                // DEX; BPL
        0x4C, 0x1E, 0xF0,                                // JMP *
        0x12, 0x05, 0x01, 0x04, 0x19, 0x2E,              // READY. as screen codes
    });
    // clang-format on
    return kernal;
}

class Desktop : public HostTest {
public:
    void SetUp() override {
        HostTest::SetUp();
        writeKernal(readyKernal());
        disk.assign(d64ImageBytes, 0);
        disk[0] = 0x5A;  // tells this image from an empty drive
        unmountDrive();
        std::fill(std::begin(drive.d64Image), std::end(drive.d64Image), 0);
        fake.counterStep = 1000;  // the 50 Hz wait ends by reading the clock
    }
    void TearDown() override {
        cancelAutostart();  // no start is left for the next test
        setPaused(false);
        if (warpOn()) setWarp(false);
        HostTest::TearDown();
    }

    void idle(int messages) {
        for (int i = 0; i < messages; ++i) fake.messages.push_back({platform::msgSetCursor, 0});
    }
    void key(uint32_t virtualKey) { fake.messages.push_back({platform::msgKeyDown, virtualKey}); }
    void drop(const std::string& path) {
        fake.droppedFiles[dropped] = path;
        fake.messages.push_back({platform::msgDropFile, dropped});
    }
    // What waits in the KERNAL's keyboard buffer.
    static std::string typed() {
        return std::string(reinterpret_cast<const char*>(memory.ram + 0x0527), memory.ram[0xEF]);
    }
    // Reads the status line of each frame shown; the glyphs are made readable first.
    void watchStatusLine() {
        fake.onPresent = [this] {
            if (!markers) installMarkerCharset();
            markers = true;
            statusLines.push_back(menuRowText(24, 0, 32));
        };
    }
    bool statusLineShowed(const std::string& text) const {
        return std::any_of(statusLines.begin(), statusLines.end(),
                           [&](const std::string& line) { return line.rfind(text, 0) == 0; });
    }

    std::vector<uint8_t> disk;
    std::vector<std::string> statusLines;
    bool markers = false;
};

// About 40 frames of the looping KERNAL after the drop: the reset, the ROM's start and the
// first keys typed all fit in them.
constexpr int framesOfMessages = 1200;

struct DropCase {
    const char* name;
    void (*arrange)(Desktop&, std::string& path);
    void (*check)(Desktop&);
};
void PrintTo(const DropCase& c, std::ostream* os) { *os << c.name; }

class DroppedFile : public Desktop, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DroppedFile, IsStartedLikeACommandLineFile) {
    std::string path;
    GetParam().arrange(*this, path);
    writeSettings({{"Sync", 2u}, {"DriveType8", 1u}});
    watchStatusLine();
    fake.messages.push_back({platform::msgActivate, 1});
    idle(5);
    drop(path);
    idle(framesOfMessages);
    fake.messages.push_back({platform::msgQuit, 0});
    start();
    GetParam().check(*this);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Kinds, DroppedFile, ::testing::Values(
    DropCase{"ProgramIsLoadedAndRun",
             [](Desktop& t, std::string& path) {
                 path = t.dir->file("game.PRG");
                 writeFile(path, {0x01, 0x10, 0xAB, 0xCD});
             },
             [](Desktop& t) {
                 EXPECT_EQ(memory.ram[0x1001], 0xAB);
                 EXPECT_EQ(t.typed(), "RUN\r");
             }},
    DropCase{"DiskIsMountedAndLoadTyped",
             [](Desktop& t, std::string& path) {
                 path = t.dir->file("game.d64");
                 writeFile(path, t.disk);
             },
             [](Desktop& t) {
                 EXPECT_EQ(drive.d64Image[0], 0x5A);
                 EXPECT_EQ(emulatorConfig.driveType8, 2);
                 EXPECT_EQ(t.typed(), "LOAD\"*\",8\r");
             }},
    DropCase{"SnapshotIsRestoredAtOnce",
             [](Desktop& t, std::string& path) {
                 path = t.dir->file("state.fre");
                 ASSERT_TRUE(allocateRamBlock());
                 std::fill_n(memory.ram, 0x10000, 0);
                 const uint8_t loop[] = {0x4C, 0x00, 0x20};  // $2000: JMP $2000
                 std::copy(std::begin(loop), std::end(loop), memory.ram + 0x2000);
                 memory.ram[0x3000] = 0x77;
                 reg = Registers{};
                 reg.PC = 0x2000;
                 ASSERT_TRUE(saveSnapshot(path.c_str()));
                 releaseRamBlock();
             },
             [](Desktop&) {
                 EXPECT_EQ(reg.PC, 0x2000);
                 EXPECT_EQ(memory.ram[0x3000], 0x77);
             }},
    DropCase{"MissingFileChangesNothingAndSaysSo",
             [](Desktop& t, std::string& path) { path = t.dir->file("gone.prg"); },
             [](Desktop& t) {
                 EXPECT_TRUE(t.statusLineShowed("GONE.PRG: NO SUCH FILE"));
                 EXPECT_EQ(memory.ram[0xEF], 0);
                 EXPECT_FALSE(autostartPending());
             }},
    DropCase{"EmptyDiskChangesNothingAndSaysSo",
             [](Desktop& t, std::string& path) {
                 path = t.dir->file("empty.d64");
                 writeFile(path, {});
             },
             [](Desktop& t) {
                 EXPECT_TRUE(t.statusLineShowed("EMPTY.D64: THE DISK IMAGE CANNOT"));
                 EXPECT_EQ(emulatorConfig.driveType8, 1);
                 EXPECT_FALSE(autostartPending());
             }}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Desktop, DiskPageF1MountsTheDiskAndTheLoopStartsIt) {
    writeFile(dir->file("game.d64"), disk);
    writeSettings({{"Sync", 2u}, {"DriveType8", 1u}});
    fake.messages = {{platform::msgActivate, 1}, {platform::msgKeyDown, platform::vkF8}};
    std::vector<MenuStep> steps;
    for (uint8_t k : {key::right, key::right, key::right, key::down, key::f1})
        steps.insert(steps.end(), {{k, 1}, {0, 1}});
    playMenuScript(steps);
    int framesAfterMenu = 0;
    fake.onPresent = [advance = fake.onPresent, &framesAfterMenu] {
        advance();
        // The closing menu drops whatever waits; the quit comes once the start had its frames.
        if (!shell.menuOpen && shell.frameCount > 0 && ++framesAfterMenu == 40)
            fake.messages.push_back({platform::msgQuit, 0});
    };
    start();
    EXPECT_EQ(drive.d64Image[0], 0x5A);
    EXPECT_EQ(emulatorConfig.drive8D64, dir->file("game.d64"));
    EXPECT_EQ(typed(), "LOAD\"*\",8\r");
}

TEST_F(Desktop, PauseStopsTheFramesShowsPausedAndF12StillQuits) {
    writeSettings({{"Sync", 2u}});
    uint32_t framesWhenPaused = 0;
    int pausedPictures = 0;
    fake.onPresent = [&] {
        if (!markers) installMarkerCharset();
        markers = true;
        if (shell.frameCount == 3 && !shell.paused && framesWhenPaused == 0)
            fake.messages.push_front({platform::msgKeyDown, platform::vkPause});
        if (!shell.paused) return;
        framesWhenPaused = shell.frameCount;
        pausedPictures += menuRowText(24, 0, 6) == "PAUSED";
    };
    fake.messages.push_back({platform::msgActivate, 1});
    idle(2000);  // many frames' worth, were it running
    key(platform::vkF12);
    EXPECT_EQ(start(), 0);
    EXPECT_TRUE(shell.paused);
    EXPECT_EQ(pausedPictures, 1);
    EXPECT_EQ(shell.frameCount, framesWhenPaused);
    EXPECT_LE(shell.frameCount, 4u);
    EXPECT_NE(menuRowText(24, 0, 6), "PAUSED");  // the frame itself keeps what the machine drew
}

TEST_F(Desktop, PauseAgainGoesOn) {
    writeSettings({{"Sync", 2u}});
    fake.messages.push_back({platform::msgActivate, 1});
    key(platform::vkPause);
    idle(50);
    key(platform::vkPause);
    idle(1000);
    fake.messages.push_back({platform::msgQuit, 0});
    start();
    EXPECT_FALSE(shell.paused);
    EXPECT_GT(shell.frameCount, 20u);
}

// Each frame end reads the clock once or twice, 0.1 ms apart: warp runs far more frames
// than the display could show, and shows one per 50 Hz period at most.
TEST_F(Desktop, F10WarpsShowingTheSpeedAndGivesTheSyncBack) {
    writeSettings({{"Sync", 2u}});
    struct Shown {
        uint64_t at;
        int32_t sync;
    };
    std::vector<Shown> shown;
    uint8_t speedWhileWarping = 0;
    fake.onPresent = [&] {
        shown.push_back({fake.counter, emulatorConfig.sync});
        if (emulatorConfig.sync == 0) speedWhileWarping = shell.speedDisplayShown;
    };
    fake.messages.push_back({platform::msgActivate, 1});
    idle(20);
    key(platform::vkF10);
    idle(2000);
    key(platform::vkF10);
    idle(100);
    fake.messages.push_back({platform::msgQuit, 0});
    start();
    EXPECT_EQ(emulatorConfig.sync, 2);
    EXPECT_EQ(shell.speedDisplayShown, 0);
    EXPECT_EQ(speedWhileWarping, 1);
    EXPECT_GT(fake.framesNotPresented, 50);
    for (size_t i = 1; i < shown.size(); ++i) {
        if (shown[i].sync == 0 && shown[i - 1].sync == 0) {
            EXPECT_GE(shown[i].at - shown[i - 1].at, shell.ticksPerFrame);
        }
    }
}

// What went wrong at the start while the machine goes on: the ROM images that did not
// load and a missing sound device, each on the status line in turn.
TEST_F(Desktop, StartProblemsShowOnTheStatusLineOneAfterAnother) {
    writeSettings({{"Sync", 2u},
                   {"SoundEmulation", 1u},
                   {"Rom1L", "3plus1lo.rom"},
                   {"Rom1H", dir->file("gone/3plus1hi.rom")}});
    fake.failures["soundObject"] = platform::failed;
    watchStatusLine();
    fake.onPresent = [watch = fake.onPresent] {
        watch();
        if (shell.frameCount == 500) fake.messages.push_back({platform::msgQuit, 0});
    };
    fake.messages.push_back({platform::msgActivate, 1});
    EXPECT_EQ(start(), 0);
    const std::string blank(32, ' ');
    std::vector<std::string> shown;
    for (const std::string& line : statusLines)
        if (line != blank && (shown.empty() || shown.back() != line)) shown.push_back(line);
    const std::vector<std::string> notices = {"ROM1L NOT FOUND: 3PLUS1LO.ROM   ",
                                              "ROM1H NOT FOUND: 3PLUS1HI.ROM   ",
                                              "NO SOUND DEVICE: RUNNING SILENT "};
    EXPECT_EQ(shown, notices);
    EXPECT_EQ(statusLines.back(), blank);
    EXPECT_EQ(std::count(statusLines.begin(), statusLines.end(), notices[1]), 150);
    EXPECT_FALSE(fake.soundCreated);
}

// A screenshot that cannot be written (here its folder has gone) is said so, on the status
// line and with the reason on standard error; the machine goes on.
TEST_F(Desktop, FailedScreenshotSaysSo) {
    writeSettings({{"Sync", 2u}});
    const std::filesystem::path shots = dir->file("shots");
    std::filesystem::create_directory(shots);
    std::filesystem::current_path(shots);
    watchStatusLine();
    fake.onPresent = [watch = fake.onPresent, &shots] {
        watch();
        if (shell.frameCount == 3) {
            std::filesystem::remove_all(shots);  // the log with it, still open
            fake.messages.push_back({platform::msgKeyDown, platform::vkF6});
        }
        if (shell.frameCount == 20) fake.messages.push_back({platform::msgQuit, 0});
    };
    fake.messages.push_back({platform::msgActivate, 1});
    testing::internal::CaptureStderr();
    EXPECT_EQ(start(), 0);
    const std::string errors = testing::internal::GetCapturedStderr();
    std::filesystem::current_path(dir->path());
    EXPECT_TRUE(statusLineShowed("SCREENSHOT NOT SAVED"));
    EXPECT_NE(errors.find("varnok: screenshot not saved: " + shots.string() + "/Output000.bmp: "),
              std::string::npos)
        << errors;
}

// Windowed and WindowScale place the window; VARNOK_WINDOWED overrides the first for a run;
// a scale the user gave the window by resizing it is stored for the next start.
TEST_F(Desktop, WindowSettingsPlaceTheWindowAndAResizedScaleIsKept) {
    struct Case {
        const char* environment;  // VARNOK_WINDOWED, or none
        uint32_t windowed, scale;
        int chosen;  // the scale the user resized the window to, 0 for none
        bool fullScreen;
        uint32_t storedScale;
    };
    const Case cases[] = {
        {nullptr, 1, 3, 0, false, 3}, {nullptr, 0, 2, 0, true, 2},  {"1", 0, 0, 0, false, 0},
        {"0", 1, 0, 0, true, 0},      {nullptr, 1, 2, 4, false, 4}, {nullptr, 1, 9, 0, false, 9},
    };
    for (const Case& c : cases) {
        resetFakePlatform();
        if (c.environment) setenv("VARNOK_WINDOWED", c.environment, 1);
        writeSettings({{"Windowed", c.windowed}, {"WindowScale", c.scale}});
        fake.chosenWindowScale = c.chosen;
        queueRun(5);
        EXPECT_EQ(start(), 0);
        unsetenv("VARNOK_WINDOWED");
        const std::string name = std::string(c.environment ? c.environment : "-") + " " +
                                 std::to_string(c.windowed) + " " + std::to_string(c.scale);
        EXPECT_EQ(fake.fullScreen, c.fullScreen) << name;
        // A stored scale out of range is taken as the default, 0, and said so.
        EXPECT_EQ(fake.windowScale, c.scale > 8 ? 0 : int(c.scale)) << name;
        EXPECT_EQ(c.scale > 8,
                  log().find("WindowScale 9 is out of range (0-8); 0 is used.") != std::string::npos)
            << name;
        EXPECT_NE(readFile(dir->file("registry.reg"))
                      .find("\"WindowScale\"=dword:0000000" + std::to_string(c.storedScale)),
                  std::string::npos)
            << name;
    }
}

// A window takes the largest whole scale of the mode that fits the screen's usable area.
TEST(WindowScale, LargestWholeMultipleThatFits) {
    struct Case {
        int areaWidth, areaHeight, modeWidth, modeHeight, scale;
    };
    const Case cases[] = {
        {1280, 800, 640, 480, 1},   // scale 2 would overflow the height
        {1920, 1080, 640, 480, 2},  // the width would allow 3
        {1280, 960, 320, 200, 4},   // exactly four across
        {1279, 960, 320, 200, 3},   // a pixel short
        {300, 200, 640, 480, 1},    // a screen smaller than the mode still gets 1
        {1920, 1080, 0, 0, 1},      // no mode yet
    };
    for (const Case& c : cases)
        EXPECT_EQ(backend::wholeScale(c.areaWidth, c.areaHeight, c.modeWidth, c.modeHeight), c.scale)
            << c.areaWidth << "x" << c.areaHeight << " for " << c.modeWidth << "x" << c.modeHeight;
}

}  // namespace

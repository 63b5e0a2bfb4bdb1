// The open ROM on the whole machine: started as the program starts, typed at
// through the keyboard matrix, loading from a host-directory drive.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/program.h"
#include "memory/memory.h"
#include "state/machine.h"
#include "support/fake_platform.h"
#include "support/machine_helpers.h"

namespace {

constexpr uint16_t screenBase = 0x0C00;
constexpr uint16_t colourBase = 0x0800;

// DirectInput scan codes of the keys the tests type with.
constexpr uint8_t keyShift = 0x2A, keyCtrl = 0x1D, keyReturn = 0x1C, keyTab = 0x0F;

uint8_t scanCodeOf(char c) {
    static const char* letters = "QWERTYUIOP";  // $10-$19
    static const char* middle = "ASDFGHJKL";    // $1E-$26
    static const char* bottom = "ZXCVBNM";      // $2C-$32
    if (const char* p = std::strchr(letters, c)) return uint8_t(0x10 + (p - letters));
    if (const char* p = std::strchr(middle, c)) return uint8_t(0x1E + (p - middle));
    if (const char* p = std::strchr(bottom, c)) return uint8_t(0x2C + (p - bottom));
    if (c >= '1' && c <= '9') return uint8_t(0x02 + (c - '1'));
    switch (c) {
        case '0':
            return 0x0B;
        case ' ':
            return 0x39;
        case ',':
            return 0x33;
        case '.':
            return 0x34;
        case '*':
            return 0x2B;
        case '"':
            return 0x03;  // shift 2
        case '$':
            return 0x05;  // shift 4
        case '@':
            return 0x0C;
        case ':':
            return 0x27;
        case '=':
            return 0x0D;
    }
    ADD_FAILURE() << "no key for '" << c << "'";
    return 0;
}

bool needsShift(char c) { return c == '"' || c == '$'; }

// One row of the screen as text: letters, digits and punctuation as typed, the
// reverse bit ignored, anything else as '~'.
std::string screenRow(int row) {
    std::string text;
    for (int col = 0; col < 40; ++col) {
        uint8_t code = memory.ram[screenBase + row * 40 + col] & 0x7F;
        if (code == 0)
            text += '@';
        else if (code <= 26)
            text += char('A' + code - 1);
        else if (code >= 32 && code < 64)
            text += char(code);
        else
            text += '~';
    }
    return text;
}

std::string screenText() {
    std::string all;
    for (int row = 0; row < 25; ++row) all += screenRow(row) + "\n";
    return all;
}

// 10 SYS4109, then code that marks $3000/$3001 and returns.
std::vector<uint8_t> markerProgram(bool tokenised) {
    std::vector<uint8_t> sys = tokenised ? std::vector<uint8_t>{0x9E} : std::vector<uint8_t>{'S', 'Y', 'S'};
    std::vector<uint8_t> line = {0x00, 0x00, 10, 0};  // link filled in below
    line.insert(line.end(), sys.begin(), sys.end());
    const char* address = tokenised ? "4109" : "4111";
    line.insert(line.end(), address, address + 4);
    line.push_back(0);
    uint16_t next = uint16_t(0x1001 + line.size());
    line[0] = uint8_t(next & 0xFF);
    line[1] = uint8_t(next >> 8);
    std::vector<uint8_t> file = line;
    file.insert(file.begin(), {0x01, 0x10});
    file.insert(file.end(), {0x00, 0x00});
    file.insert(file.end(), {0xA9, 0x5A, 0x8D, 0x00, 0x30,  // LDA #$5A, STA $3000
                             0xA9, 0xA5, 0x8D, 0x01, 0x30,  // LDA #$A5, STA $3001
                             0x60});                        // RTS
    return file;
}

class OpenRom : public ::testing::Test {
public:
    void SetUp() override {
        resetFakePlatform();
        dir = std::make_unique<ScratchDirectory>();
        disk = dir->file("disk");
        std::filesystem::create_directory(disk);
        writeFile(disk + "/game.prg", markerProgram(true));
    }
    void TearDown() override { dir.reset(); }

    // Starts the machine the way the program does; the main loop runs about
    // 257 passes per queued message, so 200 of them reach the command-line pass.
    void boot(std::vector<Setting> extra = {}, const char* commandLine = "") {
        std::vector<Setting> settings = {{"Log", 0u},
                                         {"Rom0L", std::string(OPEN_ROM_BASIC)},
                                         {"Rom0H", std::string(OPEN_ROM_KERNAL)},
                                         {"Ram", 2u},
                                         {"Sync", 0u},
                                         {"DriveType8", 1u},
                                         {"Drive8PCDir", disk}};
        settings.insert(settings.end(), extra.begin(), extra.end());
        writeSettingsStore(settings);
        fake.messages.push_back({platform::msgActivate, 1});
        for (int i = 0; i < 200; ++i) fake.messages.push_back({platform::msgSetCursor, 0});
        fake.messages.push_back({platform::msgQuit, 0});
        startEmulator(commandLine, 1);
        ASSERT_TRUE(fake.messageBoxes.empty()) << fake.messageBoxes.front();
        ASSERT_NE(memory.ram, nullptr);
        runFrames(10);
    }

    // Each key is held for two frames and released for two, as a typist would.
    void type(const std::string& text) {
        for (char c : text) {
            if (needsShift(c)) fake.keys[keyShift] = 0x80;
            fake.keys[scanCodeOf(c)] = 0x80;
            ASSERT_EQ(runFrames(2), 2);
            fake.keys = {};
            ASSERT_EQ(runFrames(2), 2);
        }
    }
    void press(uint8_t scanCode, uint8_t modifier = 0) {
        if (modifier) fake.keys[modifier] = 0x80;
        fake.keys[scanCode] = 0x80;
        runFrames(2);
        fake.keys = {};
        runFrames(2);
    }
    void enter(const std::string& line) {
        type(line);
        press(keyReturn);
        runFrames(10);
    }

    std::unique_ptr<ScratchDirectory> dir;
    std::string disk;
};

TEST_F(OpenRom, BootShowsBannerAndReadyWithTheCursorBelow) {
    boot();
    std::string screen = screenText();
    EXPECT_NE(screen.find("VARNOK OPEN ROM V1.0"), std::string::npos) << screen;
    EXPECT_NE(screen.find("64K RAM"), std::string::npos) << screen;
    EXPECT_NE(
        screen.find("MACHINE CODE: LOAD, SAVE, LIST, RUN, SYS\nFULL BASIC NEEDS THE MACHINE'S OWN ROMS."),
        std::string::npos)
        << screen;
    int readyRow = -1;
    for (int row = 0; row < 25; ++row)
        if (screenRow(row).rfind("READY.", 0) == 0) readyRow = row;
    ASSERT_GE(readyRow, 0) << screen;
    int cursor = (memory.ram[0xFF0C] & 3) * 256 + memory.ram[0xFF0D];
    EXPECT_EQ(cursor, (readyRow + 1) * 40);
    EXPECT_EQ(memory.ram[0xFF06], 0x1B);
    EXPECT_EQ(memory.ram[0xFF07], 0x08);
    EXPECT_EQ(memory.ram[0xFF14] & 0xF8, 0x08);
    EXPECT_NE(memory.ram[0xFF12] & 0x04, 0);
}

class OpenRomRamSize : public OpenRom,
                       public ::testing::WithParamInterface<std::pair<uint32_t, const char*>> {};

TEST_P(OpenRomRamSize, BannerNamesTheRamFitted) {
    boot({{"Ram", GetParam().first}});
    EXPECT_NE(screenText().find(GetParam().second), std::string::npos) << screenText();
}

INSTANTIATE_TEST_SUITE_P(Sizes, OpenRomRamSize,
                         ::testing::Values(std::pair<uint32_t, const char*>{0, " 16K RAM"},
                                           std::pair<uint32_t, const char*>{1, " 32K RAM"},
                                           std::pair<uint32_t, const char*>{2, " 64K RAM"}));

TEST_F(OpenRom, TypedLoadAndRunStartTheProgramFromTheDrive) {
    boot();
    enter("LOAD\"*\",8");
    std::string screen = screenText();
    EXPECT_NE(screen.find("LOAD\"*\",8"), std::string::npos) << "typing echoes: " << screen;
    EXPECT_NE(screen.find("SEARCHING FOR *"), std::string::npos) << screen;
    EXPECT_NE(screen.find("LOADING"), std::string::npos) << screen;
    const uint16_t end = uint16_t(0x1001 + markerProgram(true).size() - 2);
    EXPECT_EQ(memory.ram[0x2D] | memory.ram[0x2E] << 8, end);
    EXPECT_EQ(memory.ram[0x9D] | memory.ram[0x9E] << 8, end);

    enter("RUN");
    EXPECT_EQ(memory.ram[0x3000], 0x5A);
    EXPECT_EQ(memory.ram[0x3001], 0xA5);
    int readyCount = 0;
    for (size_t at = screenText().find("READY."); at != std::string::npos;
         at = screenText().find("READY.", at + 1))
        ++readyCount;
    EXPECT_GE(readyCount, 3) << "READY. after boot, LOAD and RUN:\n" << screenText();
}

TEST_F(OpenRom, RunAcceptsSysSpelledOutInLetters) {
    writeFile(disk + "/letters.prg", markerProgram(false));
    boot();
    enter("LOAD\"LETTERS\",8");
    enter("RUN");
    EXPECT_EQ(memory.ram[0x3000], 0x5A) << screenText();
}

TEST_F(OpenRom, SysTypedDirectlyCallsMachineCode) {
    boot();
    const uint8_t code[] = {0xA9, 0x77, 0x8D, 0x00, 0x30, 0x60};  // LDA #$77, STA $3000, RTS
    std::memcpy(&memory.ram[0x2000], code, sizeof code);
    enter("SYS 8192");
    EXPECT_EQ(memory.ram[0x3000], 0x77);
    EXPECT_NE(screenText().rfind("READY."), std::string::npos);
}

TEST_F(OpenRom, DirectoryLoadsAndListsAsABasicProgram) {
    boot();
    enter("LOAD\"$\",8");
    enter("LIST");
    std::string screen = screenText();
    EXPECT_NE(screen.find("0 \"VARNOK DIRECTORY\" 00 2A"), std::string::npos) << screen;
    EXPECT_NE(screen.find("1    \"GAME\"             PRG"), std::string::npos) << screen;
    EXPECT_NE(screen.find("BLOCKS FREE."), std::string::npos) << screen;
}

// What a screen row must hold: its text and the attribute byte of each cell.
struct ExpectedRow {
    std::string text;
    std::vector<uint8_t> colours;
};

ExpectedRow rowOf(std::string text, uint8_t colour) {
    text.resize(40, ' ');
    return {text, std::vector<uint8_t>(40, colour)};
}

std::vector<uint8_t> rowColours(int row) {
    return {&memory.ram[colourBase + row * 40], &memory.ram[colourBase + row * 40 + 40]};
}

TEST_F(OpenRom, ScrollingMovesEveryRowUpWithItsColours) {
    boot();
    // CTRL 1-8 select these attributes; each typed line takes the next one.
    const uint8_t ctrlColours[8] = {0x00, 0x71, 0x32, 0x53, 0x44, 0x35, 0x46, 0x67};
    auto colourOfLine = [&](int n) { return ctrlColours[n % 8]; };

    // Each line is typed on a row cleared in the previous line's colour; RETURN,
    // the blank line before the error, the error and READY. each scroll once.
    std::vector<ExpectedRow> transcript;
    for (int n = 1; n <= 30; ++n) {
        const std::string line = "LINE " + std::to_string(n);
        press(uint8_t(0x02 + n % 8), keyCtrl);
        enter(line);
        ExpectedRow typed = rowOf(line, colourOfLine(n - 1));
        std::fill_n(typed.colours.begin(), line.size(), colourOfLine(n));
        transcript.push_back(typed);
        transcript.push_back(rowOf("", colourOfLine(n)));
        transcript.push_back(rowOf("?SYNTAX ERROR", colourOfLine(n)));
        transcript.push_back(rowOf("READY.", colourOfLine(n)));
    }
    transcript.push_back(rowOf("", colourOfLine(30)));  // the cursor's row

    const size_t top = transcript.size() - 25;
    for (int row = 0; row < 25; ++row) {
        EXPECT_EQ(screenRow(row), transcript[top + row].text) << "row " << row;
        EXPECT_EQ(rowColours(row), transcript[top + row].colours) << "row " << row;
    }
    if (HasFailure()) FAIL() << "the screen:\n" << screenText();
}

struct CommandOutcome {
    const char* typed;
    const char* shown;
};

class OpenRomErrors : public OpenRom, public ::testing::WithParamInterface<CommandOutcome> {};

TEST_P(OpenRomErrors, BadCommandsReportAnErrorAndComeBackReady) {
    boot();
    enter(GetParam().typed);
    std::string screen = screenText();
    size_t error = screen.find(GetParam().shown);
    ASSERT_NE(error, std::string::npos) << screen;
    EXPECT_NE(screen.find("READY.", error), std::string::npos) << screen;
    // The machine still takes commands afterwards.
    enter("LOAD\"GAME\",8");
    enter("RUN");
    EXPECT_EQ(memory.ram[0x3000], 0x5A) << screenText();
}

INSTANTIATE_TEST_SUITE_P(Commands, OpenRomErrors,
                         ::testing::Values(CommandOutcome{"HELLO", "?SYNTAX ERROR"},
                                           CommandOutcome{"LOAD\"NOPE\",8", "?FILE NOT FOUND ERROR"},
                                           CommandOutcome{"LOAD\"GAME\",9", "?DEVICE NOT PRESENT ERROR"},
                                           CommandOutcome{"LOAD", "?MISSING FILE NAME ERROR"},
                                           CommandOutcome{"SYS 70000", "?ILLEGAL QUANTITY ERROR"},
                                           CommandOutcome{"LOAD\"GAMEGAMEGAMEGAME1\",8", "?SYNTAX ERROR"}));

std::vector<uint8_t> fileBytes(const std::string& path) {
    const std::string text = readFile(path);
    return {text.begin(), text.end()};
}

// The text after "SAVING NAME" up to READY.: empty when the drive said 00.
std::string afterSaving(const std::string& screen, const std::string& name) {
    const size_t saving = screen.find("SAVING " + name);
    if (saving == std::string::npos) return "<no SAVING line>";
    const size_t start = screen.find('\n', saving) + 1;
    const size_t ready = screen.find("READY.", start);
    std::string between = screen.substr(start, ready == std::string::npos ? 0 : ready - start);
    between.erase(std::remove(between.begin(), between.end(), ' '), between.end());
    return between;
}

TEST_F(OpenRom, SaveWritesTheProgramTheDriveLoadsBack) {
    boot();
    enter("LOAD\"GAME\",8");
    enter("SAVE\"COPY\",8");
    EXPECT_EQ(afterSaving(screenText(), "COPY"), "") << screenText();
    EXPECT_EQ(fileBytes(disk + "/COPY.prg"), markerProgram(true));
    enter("NEW");
    enter("LOAD\"COPY\",8");
    enter("RUN");
    EXPECT_EQ(memory.ram[0x3000], 0x5A) << screenText();
}

TEST_F(OpenRom, RefusedSaveShowsTheDrivesStatusLine) {
    writeFile(disk + "/other.prg", {0x01, 0x10, 0x00, 0x00});
    boot();
    enter("LOAD\"GAME\",8");
    enter("SAVE\"OTHER\",8");
    EXPECT_EQ(afterSaving(screenText(), "OTHER"), "63,FILEEXISTS,00,00\n") << screenText();
    EXPECT_EQ(fileBytes(disk + "/other.prg"), (std::vector<uint8_t>{0x01, 0x10, 0x00, 0x00}));
    enter("SAVE\"@0:OTHER\",8");
    EXPECT_EQ(fileBytes(disk + "/other.prg"), markerProgram(true));
    std::filesystem::permissions(disk,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    enter("SAVE\"THIRD\",8");
    EXPECT_EQ(afterSaving(screenText(), "THIRD"), "26,WRITEPROTECTON,00,00\n") << screenText();
    std::filesystem::permissions(disk, std::filesystem::perms::owner_all);
    EXPECT_FALSE(fileExists(disk + "/THIRD.prg"));
}

TEST_F(OpenRom, DsAndAtReadTheErrorChannelAndSendCommands) {
    boot();
    enter("DS$");
    EXPECT_NE(screenText().find("73,CBM DOS V2.6 TDISK,00,00"), std::string::npos) << screenText();
    enter("@\"S:GAME\"");
    EXPECT_NE(screenText().find("01, FILES SCRATCHED,01,00"), std::string::npos) << screenText();
    EXPECT_FALSE(fileExists(disk + "/game.prg"));
    enter("@R:NEW=GAME");
    EXPECT_NE(screenText().find("62, FILE NOT FOUND,00,00"), std::string::npos) << screenText();
    enter("@");
    EXPECT_NE(screenText().find("00, OK,00,00"), std::string::npos) << screenText();
}

// A load the drive refuses for a reason other than a missing file says why.
TEST_F(OpenRom, LoadPastTheTopOfMemoryShowsFileTooLarge) {
    std::vector<uint8_t> high = {0x00, 0xFF};
    high.resize(2 + 300, 0xEA);
    writeFile(disk + "/high.prg", high);
    boot();
    enter("LOAD\"HIGH\",8");
    const std::string screen = screenText();
    const size_t line = screen.find("52, FILE TOO LARGE,00,00");
    ASSERT_NE(line, std::string::npos) << screen;
    EXPECT_NE(screen.find("?LOAD ERROR", line), std::string::npos) << screen;
}

TEST_F(OpenRom, DiskCommandsWithoutADriveReportDeviceNotPresent) {
    boot({{"DriveType8", 0u}});
    for (const char* command : {"LOAD\"GAME\",8", "SAVE\"GAME\",8", "DS$", "@\"I\""}) {
        enter(command);
        const std::string screen = screenText();
        const size_t typed = screen.rfind(command);
        ASSERT_NE(typed, std::string::npos) << screen;
        EXPECT_NE(screen.find("?DEVICE NOT PRESENT ERROR", typed), std::string::npos) << command << "\n"
                                                                                      << screen;
    }
}

// The opcodes that stop the processor on themselves.
bool stuckOpcode(uint8_t opcode) {
    static const uint8_t stuck[] = {0x02, 0x12, 0x22, 0x32, 0x42, 0x52, 0x62, 0x72, 0x92, 0xB2, 0xD2, 0xF2};
    for (uint8_t s : stuck)
        if (s == opcode) return true;
    return false;
}

// The demo's raster bars wait on the beam, so a frame takes many short steps.
constexpr long demoSteps = 4'000'000;

TEST_F(OpenRom, DemoRunsFromTheCommandLineAndReturnsOnRunStop) {
    boot({}, OPEN_ROM_DEMO);
    ASSERT_EQ(runFrames(20, demoSteps), 20);
    EXPECT_NE(screenText().find("VARNOK OPEN ROM DEMO"), std::string::npos) << screenText();
    const uint16_t irq = memory.ram[0x0314] | memory.ram[0x0315] << 8;
    EXPECT_GE(irq, 0x1001) << "the demo's raster interrupt is installed";
    EXPECT_LT(irq, 0x2000);

    for (int second = 0; second < 60; ++second) {
        fake.keys[0xCB] = second % 20 < 10 ? 0x80 : 0;  // cursor left, then right
        fake.keys[0xCD] = second % 20 < 10 ? 0 : 0x80;
        fake.keys[0x39] = second % 7 == 0 ? 0x80 : 0;  // space: a noise burst
        ASSERT_EQ(runFrames(50, demoSteps), 50);
        ASSERT_FALSE(stuckOpcode(memory.ram[reg.PC])) << "PC $" << std::hex << reg.PC;
    }
    fake.keys = {};
    EXPECT_EQ(memory.ram[0xFF11] & 0x0F, 8) << "sound is on";
    EXPECT_NE(memory.ram[0xFF11] & 0x10, 0) << "voice 1 plays";

    fake.keys[keyTab] = 0x80;
    runFrames(3, demoSteps);
    fake.keys = {};
    runFrames(10, demoSteps);
    EXPECT_GE(memory.ram[0x0315], 0xC0) << "the KERNAL's interrupt is back";
    EXPECT_EQ(memory.ram[0xFF11] & 0x30, 0) << "voices off";
    EXPECT_NE(screenText().find("READY."), std::string::npos) << screenText();
}

}  // namespace

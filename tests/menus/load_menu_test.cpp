#include <cstring>

#include "common/configuration.h"
#include "drive/drive.h"
#include "menus/file_menu_fixture.h"
#include "menus/key_codes.h"
#include "menus/menus.h"
#include "state/machine.h"
#include "storage/program_files.h"
#include "ted/sound.h"

namespace {

constexpr int firstListRow = 6;

class LoadMenu : public FileMenuTest {
public:
    void SetUp() override {
        FileMenuTest::SetUp();
        shell.requests.loadMenu = 1;
    }
    static void run(const std::vector<uint8_t>& keys) {
        playMenuScript(taps(keys));
        runScreen(loadMenu);
    }
    static void makeEntries(const char* format, int count, bool directories = false) {
        char name[16];
        for (int i = 0; i < count; ++i) {
            std::snprintf(name, sizeof name, format, i);
            if (directories)
                std::filesystem::create_directory(name);
            else
                writeFile(name);
        }
    }
};

// The screen row of the selection bar, or -1.
int selectedRow() {
    for (int row = firstListRow; row < firstListRow + 15; ++row)
        if (menuCellBackground(8, row) == 0x51) return row;
    return -1;
}

std::string listName(int row) {
    const std::string text = menuRowText(row, 10, 24);
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

TEST_F(LoadMenu, ListsDirectoriesFirstEachSortedAndColouredByKind) {
    for (const char* dir : {"zeta", "alpha"}) std::filesystem::create_directory(dir);
    for (const char* file : {"b.prg", "a.PRG", "readme.txt"}) writeFile(file);
    run({});
    const char* rows[] = {"..", "ALPHA", "ZETA", "A.PRG", "B.PRG", ""};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(listName(firstListRow + i), rows[i]);
    const uint8_t colours[] = {0x43, 0x33, 0x33, 0x61};  // selected directory, directories, file
    for (int i = 0; i < 4; ++i) EXPECT_EQ(menuCellForeground(10, firstListRow + i), colours[i]);
    EXPECT_EQ(selectedRow(), firstListRow);
    EXPECT_EQ(menuRowText(0), " PROGRAM  -  SNAPSHOT  -  TAPE  -  DISK ");
    EXPECT_EQ(menuRowText(24), "ESC-BACK ENT-LOAD UP/DN-MOVE F1-LOAD/RUN");
    EXPECT_EQ(menuRowText(22, 1, 9), "DRIVES: C");
    EXPECT_EQ(shell.requests.loadMenu | shell.menuOpen, 0);
}

struct ScrollCase {
    int files;  // after the ".." entry
    std::vector<uint8_t> keys;
    std::string firstShown;
    int selectedAt;
};

class LoadMenuScrolling : public LoadMenu, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(LoadMenuScrolling, KeysMoveSelectionAndWindow) {
    makeEntries("f%02d.prg", GetParam().files);
    run(GetParam().keys);
    EXPECT_EQ(listName(firstListRow), GetParam().firstShown);
    EXPECT_EQ(selectedRow(), GetParam().selectedAt);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, LoadMenuScrolling,
    ::testing::Values(ScrollCase{40, {key::end}, "F25.PRG", 20},
                      ScrollCase{40, {key::end, key::home}, "..", 6},
                      ScrollCase{40, {key::pageDown, key::pageDown, key::pageDown}, "F25.PRG", 20},
                      ScrollCase{40, {key::pageDown, key::pageUp}, "..", 6},
                      ScrollCase{40, std::vector<uint8_t>(16, key::down), "F01.PRG", 20},
                      ScrollCase{4, {key::end}, "..", 10}, ScrollCase{4, {key::pageDown}, "..", 10}));

TEST_F(LoadMenu, LeavingASubdirectorySelectsItAsTheNinthRowBeyondTheFirstWindow) {
    makeEntries("d%02d", 20, true);
    // D17 is entry 18: in, then out through "..".
    run({key::end, key::up, key::up, key::enter, key::enter});
    EXPECT_EQ(std::filesystem::current_path(), home);
    EXPECT_EQ(listName(firstListRow), "D09");
    EXPECT_EQ(selectedRow(), firstListRow + 8);
    EXPECT_EQ(listName(firstListRow + 8), "D17");
}

TEST_F(LoadMenu, EnterAndF1LoadAFileWhoseNameDiffersInCase) {
    struct Case {
        std::vector<uint8_t> keys;
        bool loaded, typesRun;
    };
    const Case cases[] = {{{key::down, key::f1}, true, true},
                          {{key::down, key::enter}, true, false},
                          {{key::f1}, false, false}};  // on "..": nothing
    writeFile("game.prg", {0x01, 0x10, 0xA9, 0x05, 0x60});
    for (const Case& c : cases) {
        memory.ram[0x1001] = memory.ram[0x1003] = memory.ram[0x0527] = memory.ram[0xEF] = 0;
        run(c.keys);
        EXPECT_EQ(memory.ram[0x1001] == 0xA9 && memory.ram[0x1003] == 0x60, c.loaded);
        const uint8_t keyboardBuffer[] = {0x52, 0x55, 0x4E, 0x0D};
        EXPECT_EQ(
            std::equal(keyboardBuffer, keyboardBuffer + 4, &memory.ram[0x0527]) && memory.ram[0xEF] == 4,
            c.typesRun);
        EXPECT_EQ(std::filesystem::current_path(), home);
    }
}

TEST_F(LoadMenu, EnterOnTheSnapshotPageRestoresTheMachine) {
    reg.PC = 0x1234;
    ASSERT_TRUE(saveSnapshot("State.fre"));
    reg.PC = 0;
    run({key::right, key::down, key::enter});
    EXPECT_EQ(reg.PC, 0x1234);
    EXPECT_EQ(listName(firstListRow + 1), "STATE.FRE");
    EXPECT_EQ(menuRowText(24), "ESC-BACK ENTER-LOAD UP/DOWN-MOVE D-DRIVE");
}

// A file that cannot be loaded leaves the machine alone and the menu open, saying why.
TEST_F(LoadMenu, RefusedFilesAreNamedOnScreenAndChangeNothing) {
    struct Case {
        std::vector<uint8_t> keys;
        const char* message;
    };
    writeFile("short.prg", {0x01, 0x10});
    writeFile("high.prg", {0xFF, 0xFF, 0x01});
    writeFile("cut.fre", std::vector<uint8_t>(snapshotFileBytes - 1, 0x11));
    const Case cases[] = {
        {{key::down, key::down, key::enter, key::escape}, "TOO SHORT FOR A PROGRAM FILE"},
        {{key::down, key::f1, key::escape}, "THE PROGRAM RUNS PAST $FFFF"},
        {{key::right, key::down, key::enter, key::escape}, "NOT A SNAPSHOT: WRONG SIZE"},
    };
    for (const Case& c : cases) {
        std::memset(memory.ram, 0x33, 0x10000);
        reg.PC = 0x4321;
        run(c.keys);
        const std::string row = menuRowText(21);
        EXPECT_NE(row.find(c.message), std::string::npos) << row;
        EXPECT_EQ(reg.PC, 0x4321);
        for (uint32_t a = 0; a < 0x10000; ++a) ASSERT_EQ(memory.ram[a], 0x33) << a;
    }
}

TEST_F(LoadMenu, ASnapshotsToneSoundsOnceTheMenuCloses) {
    const int32_t soundSetting = emulatorConfig.soundEmulation;
    emulatorConfig.soundEmulation = 1;
    setSoundSwitch(true);
    fake.channels[1] = FakeSoundChannel{true, true, 44100, 0, -10000};
    memory.ram[0xFF0E] = 0x90, memory.ram[0xFF12] = 0x03, memory.ram[0xFF11] = 0x18;  // 912, voice 1 on
    ASSERT_TRUE(saveSnapshot("Tone.fre"));
    memory.ram[0xFF11] = 0x00;
    run({key::right, key::down, key::enter});
    EXPECT_EQ(fake.channels[1].volume, -1400);
    EXPECT_EQ(fake.channels[1].frequency, voiceFrequencyTable[912]);
    emulatorConfig.soundEmulation = soundSetting;
}

TEST_F(LoadMenu, TapePageIsNotAvailable) {
    run({key::right, key::right});
    EXPECT_EQ(menuCellForeground(26, 0), 0x71);
    EXPECT_EQ(menuRowText(2, 2, 13), "NOT AVAILABLE");
    EXPECT_EQ(menuRowText(24, 0, 3), "   ");  // no key help
}

// The disk page: three Right presses from the program page, past the tape page.
class DiskPage : public LoadMenu {
public:
    void SetUp() override {
        LoadMenu::SetUp();
        emulatorConfig = EmulatorConfig{};
        emulatorConfig.driveType8 = 1;
        image.assign(d64ImageBytes, 0);
        image[0] = 0x5A;  // tells this image from an empty drive
        unmountDrive();
        std::memset(drive.d64Image, 0, sizeof drive.d64Image);
        shell.requests.start = shell.requests.pending = 0;
        shell.fileToStart.clear();
    }
    static void runOnDiskPage(std::vector<uint8_t> keys) {
        keys.insert(keys.begin(), {key::right, key::right, key::right});
        run(keys);
    }
    std::vector<uint8_t> image;
};

TEST_F(DiskPage, ListsFoldersAndDiskImagesAndNamesTheEmptyDrive) {
    std::filesystem::create_directory("disks");
    for (const char* file : {"b.D64", "a.d64", "game.prg"}) writeFile(file);
    runOnDiskPage({});
    const char* rows[] = {"..", "DISKS", "A.D64", "B.D64", ""};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(listName(firstListRow + i), rows[i]);
    EXPECT_EQ(menuCellForeground(35, 0), 0x71);
    EXPECT_EQ(menuRowText(2, 9, 23), "SELECT A DISK TO MOUNT:");
    EXPECT_EQ(menuRowText(24), "ESC-BACK ENT-MOUNT UP/DN-MOVE F1-AUTORUN");
    EXPECT_EQ(menuRowText(23, 1, 13), "DRIVE 8: NONE");
}

TEST_F(DiskPage, EnterMountsTheImageForThisRunAndThePageNamesIt) {
    writeFile("Game.d64", image);
    runOnDiskPage({key::down, key::enter});
    EXPECT_EQ(shell.menuOpen, 0);
    EXPECT_EQ(drive.d64Image[0], 0x5A);
    EXPECT_EQ(emulatorConfig.driveType8, 2);
    EXPECT_EQ(emulatorConfig.drive8D64, (home / "Game.d64").string());  // kept when the folder changes
    EXPECT_EQ(shell.requests.start, 0);
    runOnDiskPage({});
    EXPECT_EQ(menuRowText(23, 1, 17), "DRIVE 8: GAME.D64");
}

TEST_F(DiskPage, AnImageThatCannotBeReadKeepsTheDriveAndTheMenuOpen) {
    writeFile("empty.d64", {});
    writeFile("good.d64", image);
    runOnDiskPage({key::down, key::down, key::enter});
    ASSERT_EQ(drive.d64Image[0], 0x5A);
    runOnDiskPage({key::down, key::enter, key::escape});
    EXPECT_NE(menuRowText(21).find("THE DISK IMAGE CANNOT BE READ"), std::string::npos) << menuRowText(21);
    EXPECT_EQ(drive.d64Image[0], 0x5A);
    EXPECT_EQ(emulatorConfig.drive8D64, (home / "good.d64").string());
}

TEST_F(DiskPage, F1HandsTheImageToTheLoopToStartAndF1OnAFolderDoesNothing) {
    std::filesystem::create_directory("disks");
    writeFile("game.d64", image);
    runOnDiskPage({key::down, key::f1});
    EXPECT_EQ(shell.requests.start, 0);
    runOnDiskPage({key::down, key::down, key::f1});
    EXPECT_EQ(shell.menuOpen, 0);
    EXPECT_EQ(shell.requests.start, 1);
    EXPECT_EQ(shell.requests.pending, 1);
    EXPECT_EQ(shell.fileToStart, (home / "game.d64").string());
    EXPECT_EQ(emulatorConfig.driveType8, 1);  // the loop puts it in when it starts it
}

TEST_F(LoadMenu, DriveModeMarksTheCursorAndEnterGoesToTheRoot) {
    std::vector<uint8_t> letterBackgrounds;
    playMenuScript(taps({key::letter('D'), 0, key::enter}));
    fake.onPresent = [&, advance = fake.onPresent] {
        letterBackgrounds.push_back(menuCellBackground(9, 22));
        advance();
    };
    runScreen(loadMenu);
    EXPECT_NE(std::count(letterBackgrounds.begin(), letterBackgrounds.end(), 0x43), 0);
    EXPECT_EQ(std::filesystem::current_path(), "/");
    EXPECT_NE(listName(firstListRow), "..");
    EXPECT_EQ(menuCellForeground(1, 22), 0x3B);  // drive mode left: the D is a hot key again
}

TEST_F(LoadMenu, EscapeInDriveModeOnlyLeavesDriveMode) {
    // Enter afterwards acts on the list: it goes to the parent, not to the root.
    run({key::letter('D'), key::escape, key::enter});
    EXPECT_EQ(std::filesystem::current_path(), home.parent_path());
}

TEST_F(LoadMenu, SelectionFollowsAListThatShrankWhileSwitchingPages) {
    makeEntries("f%02d.prg", 20);
    playMenuScript(taps({key::end, key::right, key::left}));
    fake.onPresent = [this, advance = fake.onPresent] {
        advance();
        if (fake.keys[key::right])
            for (const auto& entry : std::filesystem::directory_iterator(home))
                std::filesystem::remove(entry);
    };
    runScreen(loadMenu);
    EXPECT_EQ(selectedRow(), firstListRow);
}

TEST_F(LoadMenu, VanishedDirectoryShowsNoFilesAndKeysAreSafe) {
    std::filesystem::create_directory("gone");
    std::filesystem::current_path("gone");
    std::filesystem::remove(home / "gone");
    run({key::end, key::pageDown, key::down, key::enter, key::f1, key::right, key::left});
    EXPECT_EQ(menuRowText(5, 15, 9), "NO FILES.");
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_EQ(memory.ram[0xEF], 0);
}

}  // namespace

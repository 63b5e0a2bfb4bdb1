#include <cctype>

#include "menus/file_menu_fixture.h"
#include "menus/key_codes.h"
#include "menus/menus.h"

namespace {

class SaveMenu : public FileMenuTest {
public:
    void SetUp() override {
        FileMenuTest::SetUp();
        shell.requests.saveMenu = shell.shiftHeld = shell.ctrlHeld = 1;
    }
    // The editors present a frame before they read the keys, so each key is held for two.
    static void run(const std::vector<uint8_t>& keys) {
        playMenuScript(taps(keys, 2));
        runScreen(saveMenu);
    }
};

// Keys typing each text (digits, capitals, spaces), each followed by Enter.
std::vector<uint8_t> typed(std::initializer_list<std::string> texts) {
    std::vector<uint8_t> keys;
    for (const std::string& text : texts) {
        for (char c : text)
            keys.push_back(c == ' ' ? key::space : c <= '9' ? key::digits[c - '0'] : key::letter(c));
        keys.push_back(key::enter);
    }
    return keys;
}

std::vector<uint8_t> saveProgram(const std::string& name, const std::string& start, const std::string& end) {
    std::vector<uint8_t> keys = typed({"", name, start, end});  // Enter starts the dialogue
    keys.push_back(key::enter);                                 // and one continues after it
    return keys;
}

struct RangeCase {
    std::string start, end, shownStart, shownEnd;
    size_t fileSize;  // 0: refused
};

class SaveMenuRange : public SaveMenu, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(SaveMenuRange, AddressesArePaddedAndRangeChecked) {
    const RangeCase& c = GetParam();
    run(saveProgram("GAME", c.start, c.end));
    EXPECT_EQ(menuRowText(10, 10, 8), "GAME.PRG");
    EXPECT_EQ(menuRowText(12, 10, 20), "START ADDRESS: $" + c.shownStart);
    EXPECT_EQ(menuRowText(14, 10, 20), "  END ADDRESS: $" + c.shownEnd);
    EXPECT_EQ(menuCellBackground(26, 14), 0x14);
    EXPECT_EQ(fileSize("GAME.PRG"), c.fileSize);
    EXPECT_EQ(menuRowText(18), c.fileSize ? "          OPERATION SUCCESSFUL          "
                                          : "     ILLEGAL START AND END ADDRESS      ");
    EXPECT_EQ(menuCellForeground(10, 18), c.fileSize ? 0x71 : 0x3B);
    // A saved file names its folder, the current one; its end when it is long.
    std::string folder = std::filesystem::current_path().filename().string();
    for (char& ch : folder) ch = char(std::toupper(static_cast<unsigned char>(ch)));
    const std::string saidIn = menuRowText(19);
    EXPECT_EQ(saidIn.find("IN ") != std::string::npos && saidIn.find(folder + " ") != std::string::npos,
              c.fileSize != 0)
        << saidIn;
    EXPECT_EQ(menuRowText(20), "        PRESS ENTER TO CONTINUE!        ");
}

INSTANTIATE_TEST_SUITE_P(Ranges, SaveMenuRange,
                         ::testing::Values(RangeCase{"1001", "1002", "1001", "1002", 3},
                                           RangeCase{"1001", "1001", "1001", "1001", 0},
                                           RangeCase{"FFFF", "", "FFFF", "0000", 0},
                                           RangeCase{"A", "ABC", "000A", "0ABC", 0xABC - 0xA + 2}));

TEST_F(SaveMenu, SnapshotPageWritesAWholeSnapshot) {
    std::vector<uint8_t> keys = {key::right};
    for (uint8_t k : typed({"", "STATE 1"})) keys.push_back(k);
    keys.push_back(key::enter);
    run(keys);
    EXPECT_EQ(fileSize("STATE 1.FRE"), 65608u);
    EXPECT_EQ(menuRowText(0), "     SAVE PROGRAM  -  SAVE SNAPSHOT     ");
    EXPECT_EQ(menuCellForeground(22, 0), 0x71);
    EXPECT_EQ(menuRowText(5), "     PRESS ENTER TO SAVE A SNAPSHOT     ");
}

TEST_F(SaveMenu, EmptyNameSavesUnderTheExtensionAlone) {
    run(saveProgram("", "1001", "1002"));
    EXPECT_EQ(fileSize(".PRG"), 3u);
}

TEST_F(SaveMenu, FileThatCannotBeWrittenIsNotReportedAsSaved) {
    std::filesystem::create_directory("GAME.PRG");
    run(saveProgram("GAME", "1001", "1002"));
    EXPECT_TRUE(std::filesystem::is_directory("GAME.PRG"));
    EXPECT_EQ(menuRowText(18), "            OPERATION FAILED            ");
}

TEST_F(SaveMenu, EscapeInAnyFieldLeavesWithoutSavingAndClearsTheFlags) {
    const std::vector<std::vector<uint8_t>> scripts = {{key::escape},
                                                       {key::enter, key::escape},
                                                       {key::enter, key::enter, key::escape},
                                                       {key::right, key::enter, key::escape}};
    for (const auto& keys : scripts) {
        shell.requests.saveMenu = shell.shiftHeld = shell.ctrlHeld = 1;
        run(keys);
        EXPECT_TRUE(std::filesystem::is_empty(home));
        EXPECT_EQ(shell.requests.saveMenu | shell.shiftHeld | shell.ctrlHeld | shell.menuOpen, 0);
    }
}

TEST_F(SaveMenu, QuitWhileWaitingForEnterEndsTheMenu) {
    // Enter to continue never comes: only the quit message can end the wait.
    playMenuScript(taps({key::right, key::enter, key::enter}, 2));
    auto advance = fake.onPresent;
    fake.onPresent = [advance] {
        advance();
        if (menuRowText(20, 8, 5) == "PRESS" && fake.messages.empty())
            fake.messages.push_back(platform::Message{platform::msgQuit, 0});
    };
    runScreen(saveMenu);
    EXPECT_EQ(shell.quitRequested, 1);
    EXPECT_EQ(fileSize(".FRE"), 65608u);
    EXPECT_EQ(shell.requests.saveMenu | shell.menuOpen, 0);
}

}  // namespace

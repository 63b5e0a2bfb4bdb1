#include <gtest/gtest.h>

#include "host/program.h"
#include "memory/memory.h"
#include "menus/key_codes.h"
#include "menus/menu_screen.h"
#include "menus/menus.h"
#include "state/machine.h"
#include "support/menu_script.h"

namespace {

class GameDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        prepareMenuMachine();
        reg.PC = 0x1234;
        shell.requests.gameDatabase = 1;
    }
};

TEST_F(GameDatabase, EnterAtOnceJumpsToTheFirstGame) {
    playMenuScript({{key::enter}});
    runScreen(gameDatabaseMenu);
    EXPECT_EQ(reg.PC, 7633);
    EXPECT_EQ(shell.requests.gameDatabase, 0);
    EXPECT_EQ(shell.menuOpen, 0);
}

TEST_F(GameDatabase, EscapeLeavesThePcAlone) {
    playMenuScript({});
    runScreen(gameDatabaseMenu);
    EXPECT_EQ(reg.PC, 0x1234);
}

TEST_F(GameDatabase, PagingClampsToTheLastWindow) {
    // Page Down three times: rows 15, 30, then 44; Enter takes the last game.
    playMenuScript({{key::pageDown, 1}, {0}, {key::pageDown, 1}, {0}, {key::pageDown, 1}, {0}, {key::enter}});
    runScreen(gameDatabaseMenu);
    EXPECT_EQ(reg.PC, 8402);  // ZYLON
}

TEST_F(GameDatabase, EndThenUpKeepsTheLastWindow) {
    playMenuScript({{key::end, 1}, {0}, {key::up, 1}, {0}});
    runScreen(gameDatabaseMenu);
    // Rows 30..44 are shown: screen row 4 holds game 30, PROSPECTOR PETE.
    EXPECT_EQ(menuRowText(4, 1, 15), "PROSPECTOR PETE");
    EXPECT_EQ(menuCellBackground(1, 4 + 13), 0x51);  // row 43 selected
}

TEST_F(GameDatabase, RowShowsNameAndAddressAtTheirColumns) {
    playMenuScript({{key::pageDown, 1}, {0}, {key::pageDown, 1}, {0}});
    runScreen(gameDatabaseMenu);
    // Window from 30: SABOTEUR (32) is on screen row 6.
    EXPECT_EQ(menuRowText(6, 1, 8), "SABOTEUR");
    EXPECT_EQ(menuRowText(6, 28, 11), "30720 $7800");
    EXPECT_EQ(menuCellForeground(1, 6), 0x33);
}

}  // namespace

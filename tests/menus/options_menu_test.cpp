#include <gtest/gtest.h>

#include "host/configuration.h"
#include "host/program.h"
#include "memory/memory.h"
#include "menus/key_codes.h"
#include "menus/menus.h"
#include "shell/presentation.h"
#include "support/menu_script.h"
#include "ted/keyboard.h"
#include "ted/sound.h"
#include "truedrive/true_drive.h"

namespace {

class OptionsMenu : public ::testing::Test {
protected:
    void SetUp() override {
        prepareMenuMachine();
        keyboard.joystickMode = 0;
        shell.speedDisplayShown = 0;
        shell.requests.optionsMenu = 1;
    }
};

TEST_F(OptionsMenu, EachLetterStepsItsOption) {
    playMenuScript({{key::letter('J')},
                    {0},
                    {key::letter('S')},
                    {0},
                    {key::letter('S')},
                    {0},
                    {key::letter('C')},
                    {0},
                    {key::letter('C')},
                    {0},
                    {key::letter('C')},
                    {0},
                    {key::letter('D')},
                    {0}});
    runScreen(optionsMenu);
    EXPECT_EQ(keyboard.joystickMode, 1);
    EXPECT_EQ(emulatorConfig.sync, 2);
    EXPECT_EQ(emulatorConfig.clock, 0);  // three presses come back round
    EXPECT_EQ(shell.speedDisplayShown, 1);
    EXPECT_EQ(shell.requests.optionsMenu, 0);
}

TEST_F(OptionsMenu, StarsMarkTheCurrentValues) {
    emulatorConfig.sync = 1;
    playMenuScript({});
    runScreen(optionsMenu);
    EXPECT_EQ(menuCellChar(3, 11), '*');
    EXPECT_EQ(menuCellChar(3, 4), '*');
    EXPECT_EQ(menuRowText(8, 0, 12), " SPEED SYNC:");
    EXPECT_EQ(menuCellForeground(1, 8), 0x4F);  // the hot key S
    EXPECT_EQ(menuRowText(14, 23, 15), " SPEED DISPLAY:");
    EXPECT_EQ(menuCellForeground(30, 14), 0x4F);  // D of DISPLAY
    EXPECT_EQ(menuCellForeground(24, 14), 0x71);
    EXPECT_EQ(menuRowText(8, 23, 7), " SOUND:");
    EXPECT_EQ(menuCellForeground(25, 8), 0x4F);  // O of SOUND
}

TEST_F(OptionsMenu, SoundBlockOnlyWithSoundEmulation) {
    emulatorConfig.soundEmulation = 0;
    playMenuScript({{key::letter('O')}, {0}});
    runScreen(optionsMenu);
    EXPECT_EQ(menuRowText(8, 23, 7), "       ");
    EXPECT_EQ(volumeTable[8], -1400);  // O did nothing
}

TEST_F(OptionsMenu, SoundSwitchSilencesTheVolumeTable) {
    emulatorConfig.soundEmulation = 1;
    playMenuScript({{key::letter('O')}, {0}});
    runScreen(optionsMenu);
    for (int v = 0; v < 9; ++v) EXPECT_EQ(volumeTable[v], -10000);
    EXPECT_EQ(menuCellChar(26, 11), '*');
    playMenuScript({{key::letter('O')}, {0}});
    runScreen(optionsMenu);
    EXPECT_EQ(volumeTable[8], -1400);
}

TEST_F(OptionsMenu, CapsLockLineFollowsShiftLock) {
    keyboard.shiftLock = 1;
    playMenuScript({});
    runScreen(optionsMenu);
    EXPECT_EQ(menuRowText(22, 1, 14), " CAPS-LOCK: ON");
    keyboard.shiftLock = 0;
}

// The drive 8 this run has, read-only: a true drive that fell back shows the port level.
TEST_F(OptionsMenu, SystemInfoNamesTheDriveMode) {
    const std::pair<TrueDriveKind, const char*> modes[] = {
        {TrueDriveKind::none, " DRIVE 8: PORT LEVEL"},
        {TrueDriveKind::drive1551, " DRIVE 8: TRUE 1551 "},
        {TrueDriveKind::drive1541, " DRIVE 8: TRUE 1541 "}};
    for (const auto& [kind, text] : modes) {
        trueDrive.kind = kind;
        playMenuScript({});
        runScreen(optionsMenu);
        EXPECT_EQ(menuRowText(23, 1, 20), text);
    }
    trueDrive.kind = TrueDriveKind::none;
}

}  // namespace

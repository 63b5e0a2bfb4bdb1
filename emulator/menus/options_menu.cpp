// The options menu: five running options, one letter key each, for the rest of the run.
#include "common/configuration.h"
#include "menus/key_codes.h"
#include "menus/menu_parts.h"
#include "menus/menu_screen.h"
#include "menus/menus.h"
#include "shell/shell.h"
#include "ted/keyboard.h"
#include "ted/sound.h"
#include "truedrive/true_drive.h"

namespace {

bool soundSwitchOn = true;  // the sound switch is on at start

struct RadioGroup {
    int col, row;  // where the title stands
    const char* title;
    char hotKey;  // the letter of the title that is the key, redrawn at hotCol
    int hotCol;
    const char* items[3];
};

constexpr RadioGroup joystickGroup{
    0, 2, " JOYSTICK EMULATION WITH DEFINED KEYS:", 'J', 1, {"  ( ) NONE", "  ( ) JOY 1", "  ( ) JOY 2"}};
constexpr RadioGroup syncGroup{
    0, 8, " SPEED SYNC:", 'S', 1, {"  ( ) NONE (MAX SPEED)", "  ( ) VERTICAL BLANK", "  ( ) 50HZ TIMER"}};
constexpr RadioGroup clockGroup{0, 14, " CLOCK:", 'C', 1, {"  ( ) OFF", "  ( ) TOP RIGHT", "  ( ) TOP LEFT"}};
constexpr RadioGroup speedGroup{23, 14, " SPEED DISPLAY:", 'D', 30, {"  ( ) OFF", "  ( ) ON", nullptr}};
constexpr RadioGroup soundGroup{23, 8, " SOUND:", 'O', 25, {"  ( ) ON", "  ( ) OFF", nullptr}};

// Draws a group with its star on item `marked` (items start two rows below the title).
void drawGroup(const RadioGroup& group, int marked) {
    drawMenuText(group.col, group.row, group.title, 0x71, 0x00);
    for (int i = 0; i < 3 && group.items[i]; ++i)
        drawMenuText(group.col, group.row + 2 + i, group.items[i], 0x57, 0x00);
    drawMenuText(group.col + 3, group.row + 2 + marked, "*", 0x57, 0x00);
    const char hot[2] = {group.hotKey, 0};
    drawMenuText(group.hotCol, group.row, hot, 0x4F, 0x00);
}

bool pressed(char letter) {
    if (isKeyDown(key::letter(letter)) != 1) return false;
    awaitRelease(key::letter(letter));
    return true;
}

// The drive 8 of this run: the stored choice, or the port level it fell back to.
const char* driveModeText() {
    switch (trueDrive.kind) {
        case TrueDriveKind::drive1551:
            return " DRIVE 8: TRUE 1551";
        case TrueDriveKind::drive1541:
            return " DRIVE 8: TRUE 1541";
        case TrueDriveKind::none:
            break;
    }
    return " DRIVE 8: PORT LEVEL";
}

int32_t nextOfThree(int32_t value) { return value >= 2 || value < 0 ? 0 : value + 1; }

void open() {
    clearMenuScreen();
    drawMenuText(0, 0, "VARNOK OPTIONS                          ", 0x71, 0x5E);
    drawKeyHelp("ESC-BACK                                ", {{0, "ESC"}});
    openMenu();
    presentMenu();
}

bool pass() {
    const bool soundAvailable = emulatorConfig.soundEmulation == 1;
    drawGroup(joystickGroup, keyboard.joystickMode);
    drawGroup(syncGroup, emulatorConfig.sync);
    drawGroup(clockGroup, emulatorConfig.clock);
    drawGroup(speedGroup, shell.speedDisplayShown);
    if (soundAvailable) drawGroup(soundGroup, soundSwitchOn ? 0 : 1);
    drawMenuText(0, 20, " SYSTEM INFO:", 0x71, 0x00);
    drawMenuText(1, 22, keyboard.shiftLock == 1 ? " CAPS-LOCK: ON" : " CAPS-LOCK: OFF", 0x57, 0x00);
    drawMenuText(1, 23, driveModeText(), 0x57, 0x00);
    drawMenuText(24, 20, "VARNOK VERSION:", 0x71, 0x00);
    drawMenuText(25, 22, VARNOK_VERSION, 0x57, 0x00);
    presentMenu();
    if (pressed('J')) keyboard.joystickMode = emulatorConfig.joystick = nextOfThree(keyboard.joystickMode);
    if (pressed('S')) emulatorConfig.sync = nextOfThree(emulatorConfig.sync);
    if (pressed('C')) emulatorConfig.clock = nextOfThree(emulatorConfig.clock);
    if (pressed('D')) shell.speedDisplayShown = !shell.speedDisplayShown;
    if (soundAvailable && pressed('O')) {
        soundSwitchOn = !soundSwitchOn;
        setSoundSwitch(soundSwitchOn);
    }
    return isKeyDown(key::escape) != 1;
}

}  // namespace

const Screen optionsMenu{open, pass, nullptr, &shell.requests.optionsMenu};

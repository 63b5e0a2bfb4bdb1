// The game database: 45 games already in memory, started by a jump to their address.
#include <cstdio>

#include "menus/key_codes.h"
#include "menus/menu_parts.h"
#include "menus/menu_screen.h"
#include "menus/menus.h"
#include "shell/shell.h"
#include "state/machine.h"

struct GameEntry {
    char name[30];
    uint16_t start;
};

const GameEntry gameTable[45] = {
    {"AIRWOLF", 7633},         {"ARENA 3000", 9708},
    {"ATLANTIS", 18464},       {"APOLLO MISSION", 15150},
    {"AURIGA", 4136},          {"BERKS 3", 4232},
    {"BIG MAC", 16384},        {"BLAZE", 9728},
    {"BONGO", 4109},           {"BOOTY", 4180},
    {"CAVE FIGHTER", 8192},    {"COMMANDO", 9843},
    {"CORMAN", 4112},          {"DORKS DILEMMA", 6501},
    {"EXORCIST", 15104},       {"FINDERS KEEPERS", 20016},
    {"FINGERS MALONE", 5792},  {"FIRE ANT", 6915},
    {"GHOST TOWN", 15027},     {"HARVEY HEADBANGER", 4120},
    {"HUSTLER", 4112},         {"JET SET WILLY", 10752},
    {"KING OF KINGS", 8128},   {"LEAPER (1)", 4109},
    {"LEAPER (2)", 16385},     {"LOCOMOTION", 4352},
    {"MERCENARY", 23552},      {"MR. PUNIVERSE 3", 6900},
    {"PETALS OF DOOM", 15593}, {"POGO PETE", 15546},
    {"PROSPECTOR PETE", 6144}, {"REACH FOR THE SKYS", 8192},
    {"SABOTEUR", 30720},       {"SABOTEUR 2", 12288},
    {"SHARK ATTACK", 8192},    {"SWORD OF DESTINY", 15896},
    {"TIMESLIP", 4109},        {"TOM 16", 4176},
    {"TRAILBLAZER", 9408},     {"TREASURE ISLAND", 4109},
    {"TUTTI FRUTTI", 8192},    {"TYCOON TEX", 16232},
    {"XARGON WARS", 7296},     {"YIE AR KUNG FU", 12900},
    {"ZYLON", 8402},
};

namespace {

constexpr int gameCount = 45, windowRows = 15;

int selected = 0, top = 0;

void drawStatic() {
    clearMenuScreen();
    drawMenuText(0, 0, "VARNOK GAME-DATABASE                    ", 0x71, 0x5E);
    drawKeyHelp("ESC-BACK ENTER-GO TO ADDRESS            ", {{0, "ESC"}, {9, "ENTER"}});
}

void drawRows(int selected, int top) {
    drawMenuText(0, 2, " GAME NAME                   DEC   HEX", 0x71, 0x00);
    for (int i = 0; i < windowRows; ++i) {
        const GameEntry& game = gameTable[top + i];
        uint8_t background = top + i == selected ? 0x51 : 0x00;
        char address[16];
        std::snprintf(address, sizeof address, "%5d $%X", game.start, game.start);
        drawMenuText(2, 4 + i, "                                     ", 0x71, background);
        drawMenuText(1, 4 + i, game.name, 0x33, background);
        drawMenuText(28, 4 + i, address, 0x33, background);
    }
}

void open() {
    selected = top = 0;
    drawStatic();
    openMenu();
    presentMenu();
}

bool pass() {
    moveListSelection(selected, top, gameCount, windowRows);
    drawRows(selected, top);
    presentMenu();
    const bool closing = isKeyDown(key::escape) == 1;
    if (isKeyDown(key::enter) == 1) {
        reg.PC = gameTable[selected].start;
        awaitRelease(key::enter);
        return false;
    }
    return !closing;
}

}  // namespace

const Screen gameDatabaseMenu{open, pass, nullptr, &shell.requests.gameDatabase};

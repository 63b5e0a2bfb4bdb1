#include "support/menu_script.h"

#include <string>

#include "host/configuration.h"
#include "host/program.h"
#include "host/screens.h"
#include "machine/power.h"
#include "memory/memory.h"
#include "menus/key_codes.h"
#include "menus/menu_screen.h"
#include "ted/raster.h"

namespace {
std::vector<MenuStep> script;
size_t stepIndex = 0;
int framesInStep = 0;
int readsSinceFrame = 0;

const uint8_t* cellPixels(int col, int row) {
    return frameBuffer + (56 + row * 8) * frameWidth + 64 + col * 8;
}

void advance() {
    readsSinceFrame = 0;
    fake.keys.fill(0);
    if (stepIndex >= script.size()) {
        // Past the script, Escape is pressed and released in turn, so that a
        // screen that waits for its release closes too.
        if (++framesInStep % 4 < 2) fake.keys[key::escape] = 0x80;
        return;
    }
    const MenuStep& step = script[stepIndex];
    if (step.key) fake.keys[step.key] = 0x80;
    if (++framesInStep >= step.frames) {
        framesInStep = 0;
        ++stepIndex;
    }
}
}  // namespace

void playMenuScript(std::vector<MenuStep> steps) {
    script = std::move(steps);
    stepIndex = 0;
    framesInStep = 0;
    fake.keys.fill(0);
    if (!script.empty() && script[0].key) fake.keys[script[0].key] = 0x80;
    fake.onPresent = advance;
    fake.onVerticalBlank = advance;
    // Key reads that neither present nor wait for a frame must still see the release.
    fake.onKeyboardRead = [] {
        if (++readsSinceFrame > 64) advance();
    };
}

void runScreen(const Screen& screen) {
    openScreen(screen);
    while (screenOpen()) performWait(screenTurn());
}

void installMarkerCharset() {
    // Row 0 holds the code, row 1 its complement, row 7 all set: a cell is
    // readable whatever the colours, and a 0 code is still told from a blank.
    for (int code = 0; code < 256; ++code) {
        uint8_t* glyph = &memory.romHigh[0][0x1000 + code * 8];
        for (int line = 0; line < 8; ++line) glyph[line] = 0;
        glyph[0] = static_cast<uint8_t>(code);
        glyph[1] = static_cast<uint8_t>(~code);
        glyph[7] = 0xFF;
    }
}

uint8_t menuCellForeground(int col, int row) { return cellPixels(col, row)[7 * frameWidth]; }

uint8_t menuCellBackground(int col, int row) { return cellPixels(col, row)[2 * frameWidth]; }

char menuCellChar(int col, int row) {
    const uint8_t* p = cellPixels(col, row);
    uint8_t fg = menuCellForeground(col, row);
    int code = 0;
    for (int x = 0; x < 8; ++x) code = code << 1 | (p[x] == fg);
    if (fg == menuCellBackground(col, row)) return ' ';  // a cell drawn in one colour
    return static_cast<char>(screenCodeTable[code]);
}

std::string menuRowText(int row, int col, int length) {
    std::string text;
    for (int i = 0; i < length; ++i) text += menuCellChar(col + i, row);
    return text;
}

void prepareMenuMachine() {
    resetFakePlatform();
    resetKeyRepeat();
    freshMachine();
    allocateRamBlock();
    setRamSize(2);
    installMarkerCharset();
    openFakeDisplay(320, 200);
    emulatorConfig = EmulatorConfig{};
    emulatorConfig.sync = 0;  // the fake clock stands still: no frame waits
    shell.windowActive = 1;
    shell.quitRequested = 0;
    shell.menuOpen = 0;
}

#pragma once
// Drives a menu with scripted keys through the platform test double: each step
// holds one key for a number of presented frames, then releases it.
#include <cstdint>
#include <string>
#include <vector>

#include "menus/menu_screen.h"
#include "support/fake_platform.h"

struct MenuStep {
    uint8_t key;     // 0: no key
    int frames = 2;  // presented frames to hold it
};

// Opens a screen and runs the main loop's turns of it, waits included, until it has closed.
void runScreen(const Screen& screen);

// Installs the script; when it runs out, Escape is pressed (and released) so
// every menu closes.
void playMenuScript(std::vector<MenuStep> steps);

// Reads the character drawn at a text cell back as ASCII through a glyph set in
// which every screen code has a unique pattern; '\0' when the cell matches none.
char menuCellChar(int col, int row);
uint8_t menuCellForeground(int col, int row);
uint8_t menuCellBackground(int col, int row);
// The text of a row from col, length characters.
std::string menuRowText(int row, int col = 0, int length = 40);
// Gives screen code n a unique glyph so cells can be read back.
void installMarkerCharset();

// A fresh machine ready to open a menu: RAM, the marker glyphs, a 320 x 200 display,
// an active window, default settings and no menu open.
void prepareMenuMachine();

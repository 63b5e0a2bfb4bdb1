#include "menus/menu_parts.h"

#include <algorithm>

#include "menus/key_codes.h"
#include "menus/menu_screen.h"

void drawKeyHelp(const char* text, std::initializer_list<HotKey> keys) {
    drawMenuText(0, 24, text, 0x4F, 0x61);
    for (const HotKey& k : keys) drawMenuText(k.col, 24, k.name, 0x3B, 0x61);
}

void drawPageTitle(const char* text, HotKey currentPage) {
    drawMenuText(0, 0, text, 0x46, 0x33);
    drawMenuText(currentPage.col, 0, currentPage.name, 0x71, 0x33);
}

void moveListSelection(int& selected, int& top, int count, int windowRows) {
    const int last = std::max(count - 1, 0);
    const int lastTop = std::max(count - windowRows, 0);
    if (repeatedKeyDown(key::down) && selected < last) {
        if (++selected >= top + windowRows) ++top;
    }
    if (repeatedKeyDown(key::up) && selected > 0) {
        if (--selected < top) --top;
    }
    if (isKeyDown(key::home) == 1) selected = top = 0;
    if (isKeyDown(key::end) == 1) selected = last, top = lastTop;
    if (repeatedKeyDown(key::pageDown)) {
        selected = std::min(selected + windowRows, last);
        top = std::min(top + windowRows, lastTop);
    }
    if (repeatedKeyDown(key::pageUp)) {
        selected = std::max(selected - windowRows, 0);
        top = std::max(top - windowRows, 0);
    }
}

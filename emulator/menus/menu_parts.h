#pragma once
#include <initializer_list>

// Pieces the load and save menus share: the title bar, the key-help line and
// the movement keys of a scrolling list.
struct HotKey {
    int col;
    const char* name;  // redrawn at col in the hot-key colour
};

// Row 24: the help text, then each key name over it.
void drawKeyHelp(const char* text, std::initializer_list<HotKey> keys);

// Row 0: all page names, then the current one brightened at its column.
void drawPageTitle(const char* text, HotKey currentPage);

// Down, Up, Home, End, Page Down and Page Up over a list of `count` entries shown
// `windowRows` at a time from `top`. An empty list keeps entry 0 selected.
void moveListSelection(int& selected, int& top, int count, int windowRows);

#pragma once
#include <cstdint>
#include <cstring>

// `count` 8-pixel blocks of the display window from character column `column`, by the
// mode bits of $FF06/$FF07.
void drawWindowCells(uint8_t* pixels, int column, int count, int line);
// The pattern byte the TED fetches for character column `column` of the window, by the mode
// bits, as drawWindowCells draws it (the screen on).
uint8_t windowFetch(int column, int line);

inline void fillCell(uint8_t* pixels, uint8_t colour) {
    const uint64_t eight = colour * 0x0101010101010101ull;
    std::memcpy(pixels, &eight, 8);
}

// `count` blocks of one colour: a few stores each, cheaper than a call for the short runs
// one step draws.
inline void fillCells(uint8_t* pixels, int count, uint8_t colour) {
    for (int i = 0; i < count; ++i) fillCell(pixels + 8 * i, colour);
}

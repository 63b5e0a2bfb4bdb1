#pragma once
#include <cstdint>

// A colour as the host's palette takes it.
struct PaletteColour {
    uint8_t red, green, blue, flags;
};

// defined in ted/palette.cpp
// The 256 entries the frame buffer's palette indices map to; entries 128-255 copy 0-127.
extern PaletteColour paletteEntries[256];

// Fills paletteEntries from the calculated table (setting 0) or the digitized one
// (any other value), and logs which.
void buildPalette(int32_t paletteSetting);
// One entry of the palette the setting selects, without building or logging.
PaletteColour paletteColour(int32_t paletteSetting, uint8_t index);

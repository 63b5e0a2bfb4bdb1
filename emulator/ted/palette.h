#pragma once
#include <cstdint>

#include "state/machine.h"

// paletteEntries (state/machine.h): the 256 entries the frame buffer's palette indices
// map to; entries 128-255 copy 0-127.

// Fills paletteEntries from the calculated table (setting 0) or the digitized one
// (any other value).
void buildPalette(int32_t paletteSetting);
// One entry of the palette the setting selects, without building.
PaletteColour paletteColour(int32_t paletteSetting, uint8_t index);

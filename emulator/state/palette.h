#pragma once
#include <cstdint>

// A colour as the host's palette takes it.
struct PaletteColour {
    uint8_t red, green, blue, flags;
};

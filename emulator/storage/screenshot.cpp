// Screenshots: the frame buffer as an 8-bit bitmap file in the current directory.
#include "storage/screenshot.h"

#include <cstdint>
#include <cstdio>

#include "common/configuration.h"
#include "ted/palette.h"
#include "ted/raster.h"

namespace {

constexpr int headerBytes = 54;

// clang-format off
constexpr uint8_t windowHeader[headerBytes] = {
    'B', 'M', 0x36, 0xFE, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x04, 0x00, 0x00,  // 65078 bytes, pixels at 1078
    0x28, 0x00, 0x00, 0x00, 0x40, 0x01, 0x00, 0x00, 0xC8, 0x00, 0x00, 0x00,              // 40, 320 x 200
    0x01, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFA, 0x00, 0x00,              // 1 plane, 8 bits, 64000
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                                      // no resolution
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                                      // all colours
};
constexpr uint8_t borderHeader[headerBytes] = {
    'B', 'M', 0xF6, 0xD8, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x04, 0x00, 0x00,  // 121078 bytes, pixels at 1078
    0x28, 0x00, 0x00, 0x00, 0x90, 0x01, 0x00, 0x00, 0x2C, 0x01, 0x00, 0x00,              // 40, 400 x 300
    0x01, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0xD4, 0x01, 0x00,              // 1 plane, 8 bits, 120000
    0xC4, 0x0E, 0x00, 0x00, 0xC4, 0x0E, 0x00, 0x00,                                      // 3780 pixels per metre
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                                      // all colours
};
// clang-format on

struct Area {
    const uint8_t* header;
    int top, left, width, height;
};
constexpr Area windowArea{windowHeader, 56, 64, 320, 200};
constexpr Area borderArea{borderHeader, 6, 24, 400, 300};

constexpr int maxNumber = 1000000;  // a directory can never be full enough to search for ever

bool fileExists(const char* name) {
    FILE* file = std::fopen(name, "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

bool writeBitmap(FILE* file, const Area& area) {
    if (std::fwrite(area.header, 1, headerBytes, file) != headerBytes) return false;
    uint8_t table[256 * 4];
    for (int i = 0; i < 256; ++i) {
        const PaletteColour colour = paletteColour(emulatorConfig.palette, static_cast<uint8_t>(i));
        table[4 * i] = colour.blue;
        table[4 * i + 1] = colour.green;
        table[4 * i + 2] = colour.red;
        table[4 * i + 3] = 0;
    }
    if (std::fwrite(table, 1, sizeof table, file) != sizeof table) return false;
    // Bitmaps store the bottom row first.
    for (int line = area.top + area.height - 1; line >= area.top; --line) {
        const uint8_t* row = frameBuffer + line * frameWidth + area.left;
        if (std::fwrite(row, 1, area.width, file) != static_cast<size_t>(area.width)) return false;
    }
    return true;
}

}  // namespace

void writeScreenshot(bool withBorder) {
    char name[32];
    int number = 0;
    do std::snprintf(name, sizeof name, "Output%.3d.bmp", number);
    while (fileExists(name) && ++number < maxNumber);
    if (number >= maxNumber) return;

    FILE* file = std::fopen(name, "wb");
    if (!file) return;
    const bool written = writeBitmap(file, withBorder ? borderArea : windowArea);
    // A short file would be a broken picture: better none at all.
    if (std::fclose(file) != 0 || !written) std::remove(name);
}

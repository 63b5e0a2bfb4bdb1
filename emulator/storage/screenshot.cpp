// Screenshots: the frame buffer as an 8-bit bitmap file in a given folder.
#include "storage/screenshot.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "common/configuration.h"
#include "fileio/files.h"
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

template <size_t n>
void append(std::vector<uint8_t>& out, const uint8_t (&bytes)[n]) {
    out.insert(out.end(), bytes, bytes + n);
}

std::vector<uint8_t> bitmap(const Area& area) {
    std::vector<uint8_t> file(area.header, area.header + headerBytes);
    uint8_t table[256 * 4];
    for (int i = 0; i < 256; ++i) {
        const PaletteColour colour = paletteColour(emulatorConfig.palette, static_cast<uint8_t>(i));
        table[4 * i] = colour.blue;
        table[4 * i + 1] = colour.green;
        table[4 * i + 2] = colour.red;
        table[4 * i + 3] = 0;
    }
    append(file, table);
    // Bitmaps store the bottom row first.
    for (int line = area.top + area.height - 1; line >= area.top; --line) {
        const uint8_t* row = frameBuffer + line * frameWidth + area.left;
        file.insert(file.end(), row, row + area.width);
    }
    return file;
}

}  // namespace

files::WriteResult writeScreenshot(const std::string& folder, bool withBorder) {
    const std::string prefix = folder.empty() ? std::string() : folder + "/";
    char name[32];
    int number = 0;
    // Anything at the name counts, a dangling link too: a picture never goes through a link.
    do std::snprintf(name, sizeof name, "Output%.3d.bmp", number);
    while (files::nameTaken(prefix + name) && ++number < maxNumber);
    if (number >= maxNumber)
        return {files::WriteStatus::failed, (folder.empty() ? std::string(".") : folder) + ": no free name"};
    return files::writeFile(prefix + name, bitmap(withBorder ? borderArea : windowArea));
}

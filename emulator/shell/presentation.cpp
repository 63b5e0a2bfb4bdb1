// The picture the display shows: the frame buffer's visible part, in the part and scale
// each screen mode shows, on a picture of the mode's size.
#include "shell/presentation.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/configuration.h"
#include "platform/platform.h"
#include "ted/raster.h"

namespace {

// The part of the frame each screen mode shows and where it lands on the surface.
// Mode 5 doubles pixels and lines; mode 6 doubles pixels and leaves every odd line dark.
struct Blit {
    int16_t top, lines, left, width, surfaceX, surfaceY;
    uint8_t pixelWidth, lineCopies, lineStep;
};
// clang-format off
constexpr Blit blits[7] = {
    // top lines left width  x   y  pixel copies step
    {56,  200,   64,  320,   0,  0,   1,    1,    1},  // 0: 320 x 200
    { 6,  300,   28,  400,   0,  0,   1,    1,    1},  // 1: 400 x 300
    { 0,  312,    0,  456,  28, 36,   1,    1,    1},  // 2: 512 x 384
    {36,  240,   64,  320,   0,  0,   1,    1,    1},  // 3: 320 x 240
    { 0,  312,    0,  456,  92, 84,   1,    1,    1},  // 4: 640 x 480
    {56,  200,   64,  320,   0,  0,   2,    2,    2},  // 5: 640 x 400
    { 6,  300,   28,  400,   0,  0,   2,    1,    2},  // 6: 800 x 600, scan lines
};
// clang-format on

// The picture of the display's mode, one byte a pixel; empty until the display opens.
std::vector<uint8_t> picture;
int pictureWidth = 0;

bool validScreenMode() { return emulatorConfig.screenMode >= 0 && emulatorConfig.screenMode < 7; }

void copyLine(uint8_t* to, const uint8_t* from, int width, int pixelWidth) {
    if (pixelWidth == 1) {
        std::memcpy(to, from, width);
        return;
    }
    for (int x = 0; x < width; ++x) to[2 * x] = to[2 * x + 1] = from[x];
}

}  // namespace

void copyFrame(uint8_t* pixels, int pitch) {
    if (!validScreenMode()) return;
    const Blit& b = blits[emulatorConfig.screenMode];
    const uint8_t* from = frameBuffer + b.top * frameWidth + b.left;
    uint8_t* to = pixels + b.surfaceY * pitch + b.surfaceX;
    for (int line = 0; line < b.lines; ++line, from += frameWidth, to += b.lineStep * pitch) {
        copyLine(to, from, b.width, b.pixelWidth);
        if (b.lineCopies == 2) std::memcpy(to + pitch, to, b.width * b.pixelWidth);
    }
}

void setPictureSize(int width, int height) {
    pictureWidth = width;
    picture.assign(static_cast<size_t>(width) * height, 0);
}

bool presentBlank() {
    if (picture.empty()) return false;
    std::fill(picture.begin(), picture.end(), 0);
    return platform::present(picture.data(), pictureWidth) == platform::ok;
}

bool presentFrame() {
    // A desktop left in its own mode has a picture of unknown size: show nothing on it.
    if (!validScreenMode() || picture.empty()) return false;
    copyFrame(picture.data(), pictureWidth);
    return platform::present(picture.data(), pictureWidth) == platform::ok;
}

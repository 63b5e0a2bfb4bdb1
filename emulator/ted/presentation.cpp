// The end of a frame: speed synchronisation, cursor, status texts, and the copy of
// the frame buffer's visible part to the display surface.
#include "ted/presentation.h"

#include <cstdio>
#include <cstring>

#include "cpu/registers.h"
#include "host/configuration.h"
#include "host/platform.h"
#include "host/shell.h"
#include "machine/frame_end.h"
#include "menus/menu_screen.h"
#include "ted/memory_map.h"
#include "ted/raster.h"

namespace {

constexpr uint8_t statusInk = 0x71, statusPaper = 0x5C;

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

bool validScreenMode() { return emulatorConfig.screenMode >= 0 && emulatorConfig.screenMode < 7; }

void copyLine(uint8_t* to, const uint8_t* from, int width, int pixelWidth) {
    if (pixelWidth == 1) {
        std::memcpy(to, from, width);
        return;
    }
    for (int x = 0; x < width; ++x) to[2 * x] = to[2 * x + 1] = from[x];
}

uint32_t previousSpeedReading;

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

bool presentFrame() {
    // A desktop left in its own mode has a surface of unknown size: draw nothing on it.
    if (!validScreenMode()) return false;
    uint8_t* pixels = nullptr;
    int pitch = 0;
    platform::Result result;
    do result = platform::lockSurface(pixels, pitch);
    while (result == platform::wasStillDrawing);
    if (result != platform::ok) {
        platform::restoreSurface();
        return false;
    }
    copyFrame(pixels, pitch);
    platform::unlockSurface();
    return true;
}

void drawRegisterLine() {
    char text[64];
    std::snprintf(text, sizeof text, "PC:%04X ACC:%02X X:%02X Y:%02X SP:%02X  %X%X1%X%X%X%X%X", reg.PC,
                  reg.AC, reg.XR, reg.YR, reg.SP, reg.N != 0, reg.V != 0, reg.B != 0, reg.D != 0, reg.I != 0,
                  reg.Z != 0, reg.C != 0);
    drawMenuText(0, 0, text, statusInk, statusPaper);
}

void drawClock() {
    const platform::LocalTime now = platform::localTime();
    char text[48];
    std::snprintf(text, sizeof text, "%.02d:%.02d:%.02d", now.hour, now.minute, now.second);
    drawMenuText(emulatorConfig.clock == 2 ? 0 : 32, 0, text, statusInk, statusPaper);
}

void drawSpeed() {
    const uint32_t reading = static_cast<uint32_t>(platform::performanceCounter());
    const uint32_t elapsed = reading - previousSpeedReading;
    previousSpeedReading = reading;
    // Seven ticks or fewer would divide by zero or by a wrapped count: that shows 0.
    const float ticks = static_cast<float>(elapsed) - 7.0f;
    const float speed =
        ticks > 0.0f ? static_cast<float>(static_cast<uint32_t>(shell.ticksPerFrame)) / ticks * 100.0f : 0.0f;
    char text[64];
    std::snprintf(text, sizeof text, "%6.2f%%", speed);
    drawMenuText(33, 24, text, statusInk, statusPaper);
}

void serveFrameEnd() {
    const int32_t sync = emulatorConfig.sync;
    if (sync < 0 || sync > 2) return;
    frameSync();  // in sync mode 1 it runs the cursor pass itself, before the vertical-blank wait
    if (sync != 1 && (memory.ram[0xFF06] & 0x10)) cursorPass();
    if (shell.quickRegistersShown) drawRegisterLine();
    if (emulatorConfig.clock == 1 || emulatorConfig.clock == 2) drawClock();
    if (shell.speedDisplayShown) drawSpeed();
    presentFrame();
}

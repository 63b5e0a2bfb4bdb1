// The end of a frame, served by the machine's step at the first render step of the next
// one: speed synchronisation, cursor pass, status texts, then the presentation.
#include "host/frame_end.h"

#include <cstdio>

#include "common/configuration.h"
#include "cpu/registers.h"
#include "host/autostart.h"
#include "host/platform.h"
#include "machine/frame_end.h"
#include "menus/menu_screen.h"
#include "shell/presentation.h"
#include "shell/shell.h"
#include "ted/memory_map.h"
#include "ted/raster.h"
#include "ted/ted.h"

namespace {

void syncToVerticalBlank() {
    // The cursor is drawn before the wait, so the blank is spent only on the copy.
    if (memory.ram[tedControl1] & 0x10) cursorPass();
    waitVerticalBlank();
}

// Measured from the previous stamp, which is taken after the wait: a late frame is
// never made up.
void waitFramePeriod() {
    while (static_cast<int64_t>(platform::performanceCounter() - shell.frameStamp) <
           static_cast<int64_t>(shell.ticksPerFrame)) {
    }
}

constexpr uint8_t statusInk = 0x71, statusPaper = 0x5C;

uint32_t previousSpeedReading;

}  // namespace

void frameSync() {
    if (emulatorConfig.sync == 1) syncToVerticalBlank();
    if (emulatorConfig.sync == 2) waitFramePeriod();
    shell.frameStamp = platform::performanceCounter();
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

bool serveFrameEnd() {
    autostartFrame();
    const int32_t sync = emulatorConfig.sync;
    if (sync < 0 || sync > 2) return !shell.quitRequested;
    frameSync();  // in sync mode 1 it runs the cursor pass itself, before the vertical-blank wait
    if (sync != 1 && (memory.ram[tedControl1] & 0x10)) cursorPass();
    if (shell.quickRegistersShown) drawRegisterLine();
    if (emulatorConfig.clock == 1 || emulatorConfig.clock == 2) drawClock();
    if (shell.speedDisplayShown) drawSpeed();
    presentFrame();
    return !shell.quitRequested;
}

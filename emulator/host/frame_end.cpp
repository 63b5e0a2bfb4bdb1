// The end of a frame, served by the main loop when a step reports the frame complete and
// before anything of the next one is drawn: speed synchronisation, cursor pass, status
// texts, then the presentation.
#include "host/frame_end.h"

#include <cstdio>
#include <cstring>
#include <deque>
#include <string>

#include "common/configuration.h"
#include "host/autostart.h"
#include "memory/memory.h"
#include "menus/menu_screen.h"
#include "platform/platform.h"
#include "shell/pacing.h"
#include "shell/presentation.h"
#include "shell/shell.h"
#include "state/machine.h"
#include "ted/raster.h"
#include "ted/ted.h"
#include "truedrive/true_drive.h"

namespace {

constexpr uint8_t statusInk = 0x71, statusPaper = 0x5C;
constexpr int statusRow = 24, noticeColumns = 32;  // the speed takes the row's last columns
constexpr uint32_t noticeFrames = 150;             // three seconds at real speed
constexpr int driveColumn = 28;                    // the LED, then the track
constexpr uint8_t ledLit = 0x52, ledDark = 0x12;   // bright and dark red
constexpr uint32_t driveFrames = 100;              // shown after the drive fell idle

uint32_t driveFramesLeft = 0;

uint32_t previousSpeedReading;

// The notice on show and those waiting for their turn, in the order they came.
std::deque<std::string> notices;
uint32_t noticeFramesLeft = 0;

// With the sync off the machine runs far faster than any display: a frame is shown when a
// 50 Hz period has passed since the last one shown, and is only counted otherwise.
bool presentationDue() {
    if (emulatorConfig.sync != 0) return true;
    if (static_cast<int64_t>(shell.frameStamp - shell.nextPresent) < 0) return false;
    shell.nextPresent = shell.frameStamp + shell.ticksPerFrame;
    return true;
}

void drawNotice() {
    drawMenuText(0, statusRow, notices.front().c_str(), statusInk, statusPaper);
    if (--noticeFramesLeft > 0) return;
    notices.pop_front();
    if (!notices.empty()) noticeFramesLeft = noticeFrames;
}

}  // namespace

// The 50 Hz wait is measured from the previous stamp, which is taken after the wait: a
// late frame is never made up.
Wait frameSyncWait() {
    if (emulatorConfig.sync == 1) return {Wait::verticalBlank};
    if (emulatorConfig.sync == 2) return {Wait::counter, shell.frameStamp + shell.ticksPerFrame};
    return {};
}

void frameSync() {
    performWait(frameSyncWait());
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

void drawDriveStatus() {
    if (trueDriveBusy()) driveFramesLeft = driveFrames;
    if (driveFramesLeft == 0) return;
    --driveFramesLeft;
    drawMenuText(driveColumn, statusRow, " ", statusInk, trueDriveLed() ? ledLit : ledDark);
    char text[16];
    std::snprintf(text, sizeof text, "T%02d", trueDriveTrack());
    drawMenuText(driveColumn + 1, statusRow, text, statusInk, statusPaper);
}

void showNotice(const std::string& text) {
    std::string shown = text.substr(0, noticeColumns);
    for (char& c : shown)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    notices.push_back(shown);
    if (notices.size() == 1) noticeFramesLeft = noticeFrames;
}

void clearNotices() {
    notices.clear();
    noticeFramesLeft = 0;
}

void presentPaused() {
    // Drawn over a copy of the frame's last text row, so the frame itself (and a
    // screenshot of it) stays as the machine left it.
    constexpr int rowOffset = (56 + statusRow * 8) * frameWidth;
    uint8_t saved[8 * frameWidth];
    std::memcpy(saved, frameBuffer + rowOffset, sizeof saved);
    drawMenuText(0, statusRow, "PAUSED", statusInk, statusPaper);
    presentFrame();
    std::memcpy(frameBuffer + rowOffset, saved, sizeof saved);
}

namespace {

bool validSync() { return emulatorConfig.sync >= 0 && emulatorConfig.sync <= 2; }
bool displayEnabled() { return memory.ram[tedControl1] & 0x10; }

}  // namespace

Wait beginFrameEnd() {
    ++shell.frameCount;
    autostartFrame();
    if (!validSync()) return {};
    // The cursor is drawn before the vertical blank, so the blank is spent only on the copy.
    if (emulatorConfig.sync == 1 && displayEnabled()) cursorPass();
    return frameSyncWait();
}

void endFrameEnd() {
    if (!validSync()) return;
    shell.frameStamp = platform::performanceCounter();
    if (emulatorConfig.sync != 1 && displayEnabled()) cursorPass();
    if (shell.quickRegistersShown) drawRegisterLine();
    if (emulatorConfig.clock == 1 || emulatorConfig.clock == 2) drawClock();
    if (shell.speedDisplayShown) drawSpeed();
    if (trueDriveOn()) drawDriveStatus();
    if (!notices.empty()) drawNotice();
    if (presentationDue())
        presentFrame();
    else
        platform::frameNotPresented();
}

void serveFrameEnd() {
    performWait(beginFrameEnd());
    endFrameEnd();
}

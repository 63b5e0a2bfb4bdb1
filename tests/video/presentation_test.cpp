#include "shell/presentation.h"

#include <string>

#include "host/frame_end.h"
#include "host/program.h"
#include "menus/menu_screen.h"
#include "state/machine.h"
#include "truedrive/true_drive.h"
#include "video_machine.h"

namespace video {
namespace {

// A value per frame pixel that never equals the surface's untouched $EE.
uint8_t framePattern(int x, int y) { return static_cast<uint8_t>((x + 3 * y) % 200); }

void fillFramePattern() {
    for (int y = 0; y < frameHeight; ++y)
        for (int x = 0; x < frameWidth; ++x) frameBuffer[y * frameWidth + x] = framePattern(x, y);
}

struct BlitCase {
    int mode, width, height;
    int top, lines, left, columns;  // frame region
    int surfaceX, surfaceY, pixelWidth, lineStep, lineCopies;
};

class Blitter : public VideoTest, public ::testing::WithParamInterface<BlitCase> {};

TEST_P(Blitter, CopiesTheModeRegionToItsPlace) {
    const BlitCase& c = GetParam();
    emulatorConfig.screenMode = c.mode;
    openFakeDisplay(c.width, c.height);
    fillFramePattern();
    ASSERT_TRUE(presentFrame());
    EXPECT_EQ(fake.presentCount, 1);
    for (int sy = 0; sy < c.height; ++sy) {
        for (int sx = 0; sx < c.width; ++sx) {
            const int column = (sx - c.surfaceX) / c.pixelWidth, line = (sy - c.surfaceY) / c.lineStep;
            const bool copied = sx >= c.surfaceX && sy >= c.surfaceY && column < c.columns &&
                                line < c.lines && (sy - c.surfaceY) % c.lineStep < c.lineCopies;
            const uint8_t expected = copied ? framePattern(c.left + column, c.top + line) : 0;
            ASSERT_EQ(fakeSurfacePixel(sx, sy), expected) << "surface " << sx << "," << sy;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllModes, Blitter,
                         ::testing::Values(BlitCase{0, 320, 200, 56, 200, 64, 320, 0, 0, 1, 1, 1},
                                           BlitCase{1, 400, 300, 6, 300, 28, 400, 0, 0, 1, 1, 1},
                                           BlitCase{2, 512, 384, 0, 312, 0, 456, 28, 36, 1, 1, 1},
                                           BlitCase{3, 320, 240, 36, 240, 64, 320, 0, 0, 1, 1, 1},
                                           BlitCase{4, 640, 480, 0, 312, 0, 456, 92, 84, 1, 1, 1},
                                           BlitCase{5, 640, 400, 56, 200, 64, 320, 0, 0, 2, 2, 2},
                                           BlitCase{6, 800, 600, 6, 300, 28, 400, 0, 0, 2, 2, 1}));

using PresentTest = VideoTest;

TEST_F(PresentTest, LostSurfaceIsRestoredAndCostsOneFrame) {
    emulatorConfig.screenMode = 0;
    openFakeDisplay(320, 200);
    fillFramePattern();
    fake.lostPresents = 1;
    EXPECT_FALSE(presentFrame());
    EXPECT_EQ(fake.presentCount, 0);
    EXPECT_EQ(fakeSurfacePixel(0, 0), 0xEE);
    EXPECT_TRUE(presentFrame());
    EXPECT_EQ(fakeSurfacePixel(0, 0), framePattern(64, 56));
}

TEST_F(PresentTest, UnknownScreenModeDrawsNothing) {
    emulatorConfig.screenMode = 7;
    openFakeDisplay(320, 200);
    EXPECT_FALSE(presentFrame());
    EXPECT_EQ(fake.presentCount, 0);
}

struct SyncCase {
    int sync, presents;
};

class FrameEnd : public VideoTest, public ::testing::WithParamInterface<SyncCase> {};

TEST_P(FrameEnd, PresentsOncePerFrameForValidSyncModes) {
    emulatorConfig.screenMode = 0;
    emulatorConfig.sync = GetParam().sync;
    openFakeDisplay(320, 200);
    runFrame();
    runFrame();
    runFrame();
    EXPECT_EQ(fake.presentCount, GetParam().presents);
}

// With the sync off every frame is drawn and counted but shown at most once per 50 Hz
// period of the clock: here each frame end reads the counter once, 2 ms apart.
TEST_F(PresentTest, SyncOffShowsAtMostOneFramePerPeriodWhileEmulatingEvery) {
    emulatorConfig.screenMode = 0;
    emulatorConfig.sync = 0;
    openFakeDisplay(320, 200);
    shell.ticksPerFrame = fake.frequency / 50;
    shell.frameCount = 0;
    fake.counterStep = 20000;
    for (int frame = 0; frame < 100; ++frame) runFrame();
    EXPECT_EQ(shell.frameCount, 100u);
    EXPECT_EQ(fake.presentCount, 10);  // 200 ms of the clock
    EXPECT_EQ(fake.presentCount + fake.framesNotPresented, 100);
}

INSTANTIATE_TEST_SUITE_P(Syncs, FrameEnd,
                         ::testing::Values(SyncCase{0, 3}, SyncCase{1, 3}, SyncCase{2, 3}, SyncCase{3, 0},
                                           SyncCase{-1, 0}));

// Status texts: glyphs whose top row is their screen code, read back from the frame.
class StatusText : public VideoTest {
protected:
    void SetUp() override {
        VideoTest::SetUp();
        for (int code = 0; code < 256; ++code) {
            memory.romHigh[0][0x1000 + code * 8] = static_cast<uint8_t>(code);
            for (int line = 1; line < 8; ++line) memory.romHigh[0][0x1000 + code * 8 + line] = 0;
        }
    }
    static std::string textAt(int column, int row, int length) {
        std::string text;
        for (int i = 0; i < length; ++i) {
            const int x = 64 + 8 * (column + i), y = 56 + 8 * row;
            int code = 0;
            for (int b = 0; b < 8; ++b) {
                const uint8_t p = pixel(x + b, y);
                if (p != 0x71 && p != 0x5C) return text + "<colour>";
                code = code << 1 | (p == 0x71);
            }
            text += static_cast<char>(screenCodeTable[code]);
        }
        return text;
    }
};

TEST_F(StatusText, RegisterLineShowsRegistersAndFlags) {
    reg = Registers{};
    reg.PC = 0x1234, reg.AC = 0x56, reg.XR = 0x78, reg.YR = 0x9A, reg.SP = 0xBC;
    reg.N = 0x80, reg.B = 1, reg.Z = 1, reg.C = 1;
    drawRegisterLine();
    EXPECT_EQ(textAt(0, 0, 40), "PC:1234 ACC:56 X:78 Y:9A SP:BC  10110011");
}

TEST_F(StatusText, ClockSitsRightOrOverTheRegisterLine) {
    emulatorConfig.clock = 1;
    drawClock();
    EXPECT_EQ(textAt(32, 0, 8), "12:34:56");
    reg = Registers{};
    drawRegisterLine();
    emulatorConfig.clock = 2;
    drawClock();
    EXPECT_EQ(textAt(0, 0, 10), "12:34:56AC");
}

struct SpeedCase {
    uint32_t ticks;
    const char* text;
};

class SpeedDisplay : public StatusText, public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(SpeedDisplay, ShowsFramePeriodOverMeasuredTicks) {
    shell.ticksPerFrame = 200000;
    fake.counter = 0xFFFFFF00u;  // the low 32 bits wrap between the readings
    drawSpeed();
    fake.counter += GetParam().ticks;
    drawSpeed();
    EXPECT_EQ(textAt(33, 24, 7), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Speeds, SpeedDisplay,
                         ::testing::Values(SpeedCase{200007, "100.00%"}, SpeedCase{100007, "200.00%"},
                                           SpeedCase{400007, " 50.00%"}, SpeedCase{7, "  0.00%"},
                                           SpeedCase{0, "  0.00%"}));

// The LED as the DOS sets it and the head's track, while the drive is busy and for 100
// frames after; then the picture is left alone.
TEST_F(StatusText, DriveStatusShowsTheLedAndTrackWhileTheDriveIsBusy) {
    const int ledX = 64 + 8 * 28, ledY = 56 + 8 * 24;
    trueDrive.kind = TrueDriveKind::drive1551;
    trueDrive.ledOn = true;
    trueDrive.head.halfTrack = 36;
    drawDriveStatus();
    EXPECT_EQ(pixel(ledX, ledY), 0x52);
    EXPECT_EQ(textAt(29, 24, 3), "T18");
    trueDrive.ledOn = false;  // an error's blinking LED, dark for now
    trueDrive.head.halfTrack = 2;
    for (int frame = 0; frame < 99; ++frame) drawDriveStatus();
    EXPECT_EQ(pixel(ledX, ledY), 0x12);
    EXPECT_EQ(textAt(29, 24, 3), "T01");
    frameBuffer[ledY * frameWidth + ledX] = 0;
    drawDriveStatus();
    EXPECT_EQ(pixel(ledX, ledY), 0);
    trueDrive = TrueDrive{};
}

TEST_F(StatusText, FrameEndDrawsSwitchedOnTextsBeforePresenting) {
    emulatorConfig.screenMode = 0;
    emulatorConfig.sync = 0;
    emulatorConfig.clock = 1;
    shell.quickRegistersShown = 1;
    openFakeDisplay(320, 200);
    serveFrameEnd();
    shell.quickRegistersShown = 0;
    EXPECT_EQ(textAt(32, 0, 8), "12:34:56");
    EXPECT_EQ(textAt(0, 0, 3), "PC:");
    EXPECT_EQ(fakeSurfacePixel(0, 0), pixel(64, 56));
}

}  // namespace
}  // namespace video

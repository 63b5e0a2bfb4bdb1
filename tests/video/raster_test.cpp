#include "video_machine.h"

namespace video {
namespace {

using RasterTest = VideoTest;

TEST_F(RasterTest, LineLastsFiftySevenCyclesAndFrame312Lines) {
    for (int i = 0; i < 57; ++i) step();
    EXPECT_EQ(ted.beamY, 1);
    EXPECT_EQ(ted.beamX, 0);
    runFrame();
    EXPECT_EQ(ted.beamY, 1);
}

TEST_F(RasterTest, HugeCycleCountStillEndsOnALine) {
    if (rasterStep(0xFFFF) && frameComplete()) serveFrameEnd();
    renderStep();
    EXPECT_LT(ted.beamX, 228);
    EXPECT_LT(ted.beamY, 312);
}

struct CompareCase {
    uint16_t compare;
    int internalLine;
};

class RasterInterrupt : public VideoTest, public ::testing::WithParamInterface<CompareCase> {};

TEST_P(RasterInterrupt, FiresOnceAtBeamX8OfTheComparedLine) {
    ted.rasterCompare = GetParam().compare;
    runFrame();  // every line has been entered once and armed
    memory.ram[0xFF09] = 0;
    int fired = 0;
    for (int i = 0; i < 312 * 57; ++i) {
        step();
        if (memory.ram[0xFF09] & 0x02) {
            ++fired;
            EXPECT_EQ(ted.beamY, GetParam().internalLine);
            EXPECT_EQ(ted.beamX, 8);
            memory.ram[0xFF09] = 0;  // acknowledged: a second request on this line would show again
        }
    }
    EXPECT_EQ(fired, 1);
}

INSTANTIATE_TEST_SUITE_P(Lines, RasterInterrupt,
                         ::testing::Values(CompareCase{0, 52}, CompareCase{100, 152}, CompareCase{259, 311},
                                           CompareCase{260, 0}));

TEST_F(RasterTest, DisabledRasterRequestSetsOnlyTheRequestBit) {
    ted.rasterCompare = 10;
    runFrame();
    EXPECT_EQ(memory.ram[0xFF09] & 0x82, 0x02);
    EXPECT_EQ(ted.irqLine, 0);
}

TEST_F(RasterTest, EnabledRasterRequestRaisesTheInterruptLine) {
    ted.rasterCompare = 10;
    memory.ram[0xFF0A] = 0x02;
    runFrame();
    EXPECT_EQ(memory.ram[0xFF09] & 0x82, 0x82);
    EXPECT_EQ(ted.irqLine, 1);
}

struct ClockCase {
    uint8_t ff06;
    int line;
    uint8_t allowed;
};

class DoubleClock : public VideoTest, public ::testing::WithParamInterface<ClockCase> {};

TEST_P(DoubleClock, AllowedOutsideTheDisplayOrWhenBlanked) {
    memory.ram[0xFF06] = GetParam().ff06;
    while (ted.beamY != GetParam().line) step();
    EXPECT_EQ(ted.doubleClockAllowed, GetParam().allowed);
}

INSTANTIATE_TEST_SUITE_P(Lines, DoubleClock,
                         ::testing::Values(ClockCase{0x1B, 52, 1}, ClockCase{0x1B, 53, 0},
                                           ClockCase{0x1B, 150, 0}, ClockCase{0x1B, 259, 0},
                                           ClockCase{0x1B, 260, 1}, ClockCase{0x0B, 53, 1},
                                           ClockCase{0x0B, 150, 1}, ClockCase{0x0B, 259, 1}));

TEST_F(RasterTest, FlashPhaseFlipsEverySixteenFrames) {
    setPattern(1, {0xFF});
    putCell(0, 0, 1, 0x81);
    for (int frame = 1; frame <= 48; ++frame) {
        runFrame();
        const uint8_t expectedPhase = (frame / 16) & 1;
        ASSERT_EQ(ted.flashPhase, expectedPhase) << "frame " << frame;
    }
    runFrame();  // a whole frame in phase 1
    EXPECT_EQ(pixel(64, 56), 0x81);
    for (int frame = 0; frame < 16; ++frame) runFrame();
    EXPECT_EQ(pixel(64, 56), background);
}

struct FlagCase {
    uint8_t ff06, ff07;
    int line;
    uint8_t flag;
};

class TextLineFlags : public VideoTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(TextLineFlags, MarkWindowLinesOfCharacterModes) {
    memory.ram[0xFF06] = GetParam().ff06;
    memory.ram[0xFF07] = GetParam().ff07;
    std::memset(ted.textLineFlags, 0xEE, sizeof ted.textLineFlags);
    runFrame();
    EXPECT_EQ(ted.textLineFlags[GetParam().line], GetParam().flag);
}

INSTANTIATE_TEST_SUITE_P(Lines, TextLineFlags,
                         ::testing::Values(FlagCase{0x1B, 0x08, 56, 1}, FlagCase{0x1B, 0x08, 256, 1},
                                           FlagCase{0x13, 0x08, 59, 0}, FlagCase{0x13, 0x08, 60, 1},
                                           FlagCase{0x3B, 0x08, 100, 0}, FlagCase{0x1B, 0x18, 100, 0},
                                           FlagCase{0x5B, 0x08, 100, 1}, FlagCase{0x1B, 0x08, 40, 0xEE}));

}  // namespace
}  // namespace video

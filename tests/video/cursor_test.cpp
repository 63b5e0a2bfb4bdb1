#include <vector>

#include "video_machine.h"

namespace video {
namespace {

struct CursorCase {
    const char* name;
    uint8_t ff06, ff07, flash;
    int position;
    int firstLine, lastLine;  // lines inverted, inclusive; firstLine > lastLine when none
};

class HardwareCursor : public VideoTest, public ::testing::WithParamInterface<CursorCase> {};

TEST_P(HardwareCursor, InvertsTheCellOnShownTextLines) {
    const CursorCase& c = GetParam();
    memory.ram[0xFF06] = c.ff06;
    memory.ram[0xFF07] = c.ff07;
    memory.ram[0xFF0C] = static_cast<uint8_t>(c.position >> 8);
    memory.ram[0xFF0D] = static_cast<uint8_t>(c.position);
    setPattern(1, {0xF0, 0x0F, 0xAA, 0x55, 0xFF, 0x00, 0x81, 0x18});
    for (int p = 0; p < 1000; ++p) memory.ram[matrix + p] = 1;
    const uint8_t cursorColour = 0x46;
    memory.ram[attributes + (c.position < 1000 ? c.position : 0)] = cursorColour;
    renderScreen();
    ted.flashPhase = c.flash;
    const std::vector<uint8_t> before(frameBuffer, frameBuffer + frameWidth * frameHeight);
    cursorPass();
    const int left = 64 + 8 * (c.position % 40) + (c.ff07 & 7);
    for (int y = 0; y < frameHeight; ++y)
        for (int x = 0; x < frameWidth; ++x) {
            const uint8_t old = before[y * frameWidth + x];
            const bool inverted = y >= c.firstLine && y <= c.lastLine && x >= left && x < left + 8;
            const uint8_t expected = !inverted ? old : old == background ? cursorColour : background;
            ASSERT_EQ(pixel(x, y), expected) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Cases, HardwareCursor,
                         ::testing::Values(CursorCase{"ShownInFlashPhase1", 0x1B, 0x08, 1, 41, 64, 71},
                                           CursorCase{"HiddenInFlashPhase0", 0x1B, 0x08, 0, 41, 1, 0},
                                           CursorCase{"FollowsScroll", 0x1D, 0x0B, 1, 41, 66, 73},
                                           CursorCase{"ClippedAtTheWindowBottom", 0x1F, 0x08, 1, 24 * 40 + 5,
                                                      252, 255},
                                           CursorCase{"ClippedAtTheWindowTop", 0x18, 0x08, 1, 5, 56, 60},
                                           CursorCase{"OffScreenPosition", 0x1B, 0x08, 1, 1000, 1, 0},
                                           CursorCase{"UnderThe38ColumnBorderLeft", 0x1B, 0x00, 1, 40, 1, 0},
                                           CursorCase{"UnderThe38ColumnBorderRight", 0x1B, 0x00, 1, 79, 1, 0},
                                           CursorCase{"InnerColumnWith38Columns", 0x1B, 0x00, 1, 78, 64, 71},
                                           CursorCase{"NotOnBitmapLines", 0x3B, 0x08, 1, 41, 1, 0},
                                           CursorCase{"NotInThe24RowBorder", 0x13, 0x08, 1, 0, 60, 63}),
                         CaseName());

}  // namespace
}  // namespace video

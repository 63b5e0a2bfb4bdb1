#include <vector>

#include "machine/settings.h"
#include "ted/render_cells.h"
#include "video_machine.h"

namespace video {
namespace {

// The eight pixels of a cell whose top-left pixel is (x, y).
std::vector<uint8_t> cellPixels(int x, int y) {
    return {&frameBuffer[y * frameWidth + x], &frameBuffer[y * frameWidth + x + 8]};
}

std::vector<uint8_t> hires(uint8_t pattern, uint8_t one, uint8_t zero) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 8; ++i) pixels.push_back(pattern & (0x80 >> i) ? one : zero);
    return pixels;
}

std::vector<uint8_t> pairs(uint8_t pattern, std::array<uint8_t, 4> colours) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 4; ++i) pixels.insert(pixels.end(), 2, colours[(pattern >> (6 - 2 * i)) & 3]);
    return pixels;
}

using RenderTest = VideoTest;

TEST_F(RenderTest, FirstCharacterStartsAtPixel64OfLine56) {
    setPattern(1, {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01});
    putCell(0, 0, 1, 0x71);
    putCell(39, 24, 1, 0x32);
    renderScreen();
    for (int j = 0; j < 8; ++j) {
        EXPECT_EQ(cellPixels(64, 56 + j), hires(0x80 >> j, 0x71, background)) << "line " << j;
        EXPECT_EQ(cellPixels(376, 248 + j), hires(0x80 >> j, 0x32, background)) << "line " << j;
    }
}

struct CellCase {
    const char* name;
    uint8_t ff06, ff07, flash, code, attribute;
    int patternCode;
    uint8_t one, zero;
};

class CharacterCell : public VideoTest, public ::testing::WithParamInterface<CellCase> {};

TEST_P(CharacterCell, DrawsPatternInModeColours) {
    const CellCase& c = GetParam();
    for (int code : {0x01, 0x20, 0x81})
        setPattern(code, {static_cast<uint8_t>(code == 0x20 ? 0 : 0xA5 ^ code)});
    memory.ram[0xFF06] = c.ff06;
    memory.ram[0xFF07] = c.ff07;
    ted.flashPhase = c.flash;
    putCell(2, 0, c.code, c.attribute);
    renderScreen();
    const uint8_t pattern = memory.ram[charset + c.patternCode * 8];
    EXPECT_EQ(cellPixels(80, 56), hires(pattern, c.one, c.zero));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, CharacterCell,
    ::testing::Values(
        CellCase{"Text", 0x1B, 0x08, 1, 0x01, 0x71, 0x01, 0x71, background},
        CellCase{"ReverseSwapsColours", 0x1B, 0x08, 1, 0x81, 0x71, 0x01, background, 0x71},
        CellCase{"ReverseSpaceIsSolidAttribute", 0x1B, 0x08, 1, 0xA0, 0x71, 0x20, 0x71, 0x71},
        CellCase{"AllCharactersWithoutReverse", 0x1B, 0x88, 1, 0x81, 0x71, 0x81, 0x71, background},
        CellCase{"FlashingShownInPhase1", 0x1B, 0x08, 1, 0x01, 0xF1, 0x01, 0xF1, background},
        CellCase{"FlashingHiddenInPhase0", 0x1B, 0x08, 0, 0x01, 0xF1, 0x01, background, background},
        CellCase{"FlashingReverseIsSolidInPhase0", 0x1B, 0x08, 0, 0x81, 0xF1, 0x01, 0xF1, 0xF1},
        CellCase{"AllCharactersFlashingHiddenInPhase0", 0x1B, 0x88, 0, 0x81, 0xF1, 0x81, background,
                 background},
        CellCase{"ExtendedColourBackground1", 0x5B, 0x08, 1, 0x41, 0x71, 0x01, 0x71, colour1},
        CellCase{"ExtendedColourBackground3", 0x5B, 0x08, 1, 0xC1, 0x71, 0x01, 0x71, colour3},
        CellCase{"ExtendedColourFlashHidden", 0x5B, 0x08, 0, 0x81, 0xF1, 0x01, colour2, colour2},
        CellCase{"MulticolourTextWithoutBit3IsHires", 0x1B, 0x18, 0, 0x81, 0xF1, 0x01, 0xF1, background},
        CellCase{"ExtendedColourWithMulticolourIsBlack", 0x5B, 0x18, 1, 0x01, 0x71, 0x01, 0x00, 0x00}),
    CaseName());

TEST_F(RenderTest, MulticolourTextWithBit3DrawsBitPairs) {
    setPattern(1, {0x1B});
    memory.ram[0xFF07] = 0x18;
    putCell(0, 0, 0x81, 0x8F);
    renderScreen();
    EXPECT_EQ(cellPixels(64, 56), pairs(0x1B, {background, colour1, colour2, 0x07}));
}

struct BitmapCase {
    const char* name;
    uint8_t ff07;
    bool multicolour;
};

class BitmapCell : public VideoTest, public ::testing::WithParamInterface<BitmapCase> {};

TEST_P(BitmapCell, ColoursComeFromCodeAndAttributeOfTheRow) {
    memory.ram[0xFF06] = 0x3B;
    memory.ram[0xFF07] = GetParam().ff07;
    const int column = 3, row = 2, line = 5;
    memory.ram[bitmap + 320 * row + 8 * column + line] = 0x1B;
    putCell(column, row, 0x4A, 0x63);
    renderScreen();
    const uint8_t one = 0x34, zero = 0x6A;  // $4A SHR 4 OR $63 SHL 4, $4A AND $0F OR $63 AND $F0
    const auto expected =
        GetParam().multicolour ? pairs(0x1B, {background, one, zero, colour1}) : hires(0x1B, one, zero);
    EXPECT_EQ(cellPixels(64 + 8 * column, 56 + 8 * row + line), expected);
}

INSTANTIATE_TEST_SUITE_P(Modes, BitmapCell,
                         ::testing::Values(BitmapCase{"Hires", 0x08, false},
                                           BitmapCase{"Multicolour", 0x18, true}),
                         CaseName());

class VerticalScroll : public VideoTest, public ::testing::WithParamInterface<int> {};

TEST_P(VerticalScroll, RowsMoveDownByScrollMinusThree) {
    const int v = GetParam();
    // Each pattern line is distinct, so a pixel row tells which code and line it shows.
    for (int code = 1; code <= 3; ++code)
        for (int j = 0; j < 8; ++j) memory.ram[charset + code * 8 + j] = static_cast<uint8_t>(code * 16 + j);
    for (int column = 0; column < 40; ++column) {
        putCell(column, 0, 1, 0x71);
        putCell(column, 1, 2, 0x71);
        memory.ram[matrix - 40 + column] = 3;  // the codes just before the matrix, shown as row -1
        memory.ram[attributes - 40 + column] = 0x71;
    }
    memory.ram[0xFF06] = static_cast<uint8_t>(0x18 | v);
    renderScreen();
    for (int y = 56; y < 76; ++y) {
        const int shifted = y - 53 - v;
        const int row = shifted < 0 ? -1 : shifted / 8;
        const int code = row < 0 ? 3 : row == 0 ? 1 : row == 1 ? 2 : 0;
        const uint8_t pattern = code ? static_cast<uint8_t>(code * 16 + (shifted & 7)) : 0;
        EXPECT_EQ(cellPixels(64 + 40, y), hires(pattern, 0x71, background)) << "line " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(AllScrolls, VerticalScroll, ::testing::Range(0, 8));

TEST_F(RenderTest, ScrolledRowAboveMatrixAtAddress400StaysInMemory) {
    memory.ram[0xFF14] = 0x00;  // matrix $0400, attributes $0000: row -1's attributes wrap to $FFD8
    memory.ram[0xFF06] = 0x1F;
    memory.ram[0x0400 - 40 + 5] = 1;
    memory.ram[0xFFD8 + 5] = 0x62;
    setPattern(1, {0, 0, 0, 0, 0xFF});
    renderScreen();
    EXPECT_EQ(cellPixels(64 + 40, 56), hires(0xFF, 0x62, background));  // line 56 shows pattern line 4
}

class HorizontalScroll : public VideoTest, public ::testing::WithParamInterface<int> {};

TEST_P(HorizontalScroll, CellsMoveRightAndTheGapShowsBackground) {
    const int h = GetParam();
    setPattern(1, {0xFF});
    putCell(0, 0, 1, 0x71);
    memory.ram[0xFF07] = static_cast<uint8_t>(0x08 | h);
    renderScreen();
    for (int x = 56; x < 64; ++x) EXPECT_EQ(pixel(x, 56), border) << x;
    for (int x = 64; x < 64 + h; ++x) EXPECT_EQ(pixel(x, 56), background) << x;
    for (int x = 64 + h; x < 72 + h; ++x) EXPECT_EQ(pixel(x, 56), 0x71) << x;
}

INSTANTIATE_TEST_SUITE_P(AllScrolls, HorizontalScroll, ::testing::Range(0, 8));

struct TailCase {
    const char* name;
    uint8_t ff06;
    uint8_t expected[3];
};

class ThirtyEightColumns : public VideoTest, public ::testing::WithParamInterface<TailCase> {};

TEST_P(ThirtyEightColumns, ScrollRevealsLastPixelsOfColumn0) {
    setPattern(4, {0x05});
    putCell(0, 0, 4, 0x71);
    memory.ram[0xFF06] = GetParam().ff06;
    memory.ram[0xFF07] = 0x03;  // 38 columns, h = 3
    renderScreen();
    for (int x = 64; x < 72; ++x) EXPECT_EQ(pixel(x, 56), border) << x;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(pixel(72 + i, 56), GetParam().expected[i]) << 72 + i;
    for (int x = 376; x < 384; ++x) EXPECT_EQ(pixel(x, 56), border) << "column 39 hidden at " << x;
}

INSTANTIATE_TEST_SUITE_P(Screens, ThirtyEightColumns,
                         ::testing::Values(TailCase{"Text", 0x1B, {0x71, background, 0x71}},
                                           TailCase{"Blanked", 0x0B, {border, border, border}}),
                         CaseName());

struct EdgeCase {
    const char* name;
    uint8_t ff06, ff07;
    int x, y;
    bool inBorder;
};

class WindowEdges : public VideoTest, public ::testing::WithParamInterface<EdgeCase> {};

TEST_P(WindowEdges, BorderColourOutsideTheWindowOnly) {
    const EdgeCase& c = GetParam();
    memory.ram[0xFF06] = c.ff06;
    memory.ram[0xFF07] = c.ff07;
    renderScreen();
    EXPECT_EQ(pixel(c.x, c.y), c.inBorder ? border : background);
}

INSTANTIATE_TEST_SUITE_P(Edges, WindowEdges,
                         ::testing::Values(EdgeCase{"AboveWindow", 0x1B, 0x08, 200, 55, true},
                                           EdgeCase{"TopLine", 0x1B, 0x08, 200, 56, false},
                                           EdgeCase{"BelowWindow", 0x1B, 0x08, 200, 256, true},
                                           EdgeCase{"LeftOfWindow", 0x1B, 0x08, 63, 100, true},
                                           EdgeCase{"RightOfWindow", 0x1B, 0x08, 384, 100, true},
                                           EdgeCase{"FirstPixelOf38Columns", 0x1B, 0x00, 72, 100, false},
                                           EdgeCase{"LeftOf38Columns", 0x1B, 0x00, 71, 100, true},
                                           EdgeCase{"RightOf38Columns", 0x1B, 0x00, 376, 100, true},
                                           EdgeCase{"Top24Rows", 0x13, 0x08, 200, 59, true},
                                           EdgeCase{"First24RowsLine", 0x13, 0x08, 200, 60, false},
                                           EdgeCase{"Bottom24Rows", 0x13, 0x08, 200, 252, true},
                                           EdgeCase{"BlankedWindow", 0x0B, 0x08, 200, 100, true}),
                         CaseName());

struct WrapCase {
    const char* name;
    uint8_t ff06;
    uint8_t foreground;
};

class MatrixWrap : public VideoTest, public ::testing::WithParamInterface<WrapCase> {};

// With v = 0 the last lines show a 26th row; its codes past the 1024th byte of the
// matrix come from the matrix start in text mode only.
TEST_P(MatrixWrap, TwentySixthRowWrapsInTextModeOnly) {
    setPattern(1, {0xFF});
    setPattern(2, {0xFF});
    putCell(0, 0, 1, 0x71);
    memory.ram[matrix + 1024] = 2;
    memory.ram[0xFF06] = GetParam().ff06;
    renderScreen();
    EXPECT_EQ(cellPixels(64 + 8 * 24, 253), hires(0xFF, GetParam().foreground, background));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, MatrixWrap,
    ::testing::Values(WrapCase{"Text", 0x18, 0x71},
                      // no wrap: the attribute is the byte at $0C00, the code 1 of cell 0
                      WrapCase{"ExtendedColour", 0x58, 0x01}),
    CaseName());

// However a line of the 26th row is cut into runs, the run that crosses column 24 splits
// there: the cells before it come from the matrix's end, the ones after from its start.
TEST_F(RenderTest, RunsCrossingTheMatrixWrapSplitAtColumn24) {
    setPattern(1, {0xF0});
    setPattern(2, {0x3C});
    for (int column = 0; column < 40; ++column) {
        putCell(column, 0, 1, 0x71);
        memory.ram[matrix + 1000 + column] = 2;  // past the 1024th byte: never shown in text mode
        if (column < 24) memory.ram[attributes + 1000 + column] = 0x32;
    }
    memory.ram[0xFF06] = 0x18;  // vertical scroll 0: the 26th row shows on lines 253-255
    ted.beamY = 253;
    const std::vector<std::vector<int>> cuts = {
        {0, 40}, {0, 24, 40}, {0, 25, 40}, {0, 10, 30, 40}, {0, 23, 24, 40}};
    for (const std::vector<int>& cut : cuts) {
        takeLineLatch();
        uint8_t line[320];
        for (size_t i = 0; i + 1 < cut.size(); ++i)
            drawWindowCells(line + 8 * cut[i], cut[i], cut[i + 1] - cut[i], 253);
        for (int column = 0; column < 40; ++column)
            EXPECT_EQ(std::vector<uint8_t>(line + 8 * column, line + 8 * column + 8),
                      column < 24 ? hires(0x3C, 0x32, background) : hires(0xF0, 0x71, background))
                << "column " << column << ", first cut at " << cut[1];
    }
}

struct ShownCase {
    int mode, firstLine, lastLine, firstPixel, lastPixel;
};

class ScreenModeRegion : public VideoTest, public ::testing::WithParamInterface<ShownCase> {};

TEST_P(ScreenModeRegion, DrawsOnlyWhatTheModeShows) {
    const ShownCase& c = GetParam();
    emulatorConfig.screenMode = c.mode;
    applySettings(emulatorConfig);
    renderScreen();
    // Lines and pixels at the very edge of the frame have no neighbour outside.
    auto drawn = [](int x, int y) {
        return x < 0 || x >= frameWidth || y < 0 || y >= frameHeight || pixel(x, y) != 0xEE;
    };
    EXPECT_FALSE(c.firstLine > 0 && drawn(200, c.firstLine - 1));
    EXPECT_TRUE(drawn(200, c.firstLine));
    EXPECT_TRUE(drawn(200, c.lastLine));
    EXPECT_FALSE(c.lastLine < 311 && drawn(200, c.lastLine + 1));
    EXPECT_FALSE(c.firstPixel > 0 && drawn(c.firstPixel - 1, 100));
    EXPECT_TRUE(drawn(c.firstPixel, 100));
    EXPECT_TRUE(drawn(c.lastPixel, 100));
    EXPECT_FALSE(c.lastPixel < 455 && drawn(c.lastPixel + 1, 100));
}

INSTANTIATE_TEST_SUITE_P(AllModes, ScreenModeRegion,
                         ::testing::Values(ShownCase{0, 56, 255, 64, 383}, ShownCase{1, 6, 305, 24, 431},
                                           ShownCase{2, 0, 311, 0, 455}, ShownCase{3, 36, 275, 64, 383},
                                           ShownCase{4, 0, 311, 0, 455}, ShownCase{5, 56, 255, 64, 383},
                                           ShownCase{6, 6, 305, 24, 431}));

}  // namespace
}  // namespace video

// The pixel rules of the five display modes, one 8-pixel character cell at a time.
#include <array>
#include <bit>

#include "memory/memory.h"
#include "ted/raster.h"
#include "ted/render_cells.h"
#include "ted/ted.h"
#include "ted/video_tables.h"

namespace {

using CellRule = void (*)(uint8_t* pixels, int column, int count, int line);

// Entry p has byte i (in memory order) set to $FF when bit 7 - i of p is set, so a
// pattern byte selects between two colours for all eight pixels at once.
constexpr std::array<uint64_t, 256> makePatternMasks() {
    std::array<uint64_t, 256> masks{};
    for (int p = 0; p < 256; ++p)
        for (int i = 0; i < 8; ++i)
            if (p & (0x80 >> i)) {
                const int byte = std::endian::native == std::endian::little ? i : 7 - i;
                masks[p] |= uint64_t{0xFF} << (8 * byte);
            }
    return masks;
}
constexpr std::array<uint64_t, 256> patternMasks = makePatternMasks();

constexpr uint64_t spread(uint8_t colour) { return colour * 0x0101010101010101ull; }

// Eight pixels: colour `one` where the mask's bytes are set, `zero` elsewhere.
inline void drawMasked(uint8_t* pixels, uint64_t mask, uint8_t one, uint8_t zero) {
    const uint64_t eight = (spread(one) & mask) | (spread(zero) & ~mask);
    std::memcpy(pixels, &eight, 8);
}

inline void drawHires(uint8_t* pixels, uint8_t pattern, uint8_t one, uint8_t zero) {
    drawMasked(pixels, patternMasks[pattern], one, zero);
}

// All eight mask bytes set when `bits` is not zero, none when it is.
constexpr uint64_t wholeMask(uint8_t bits) { return bits ? ~uint64_t{0} : 0; }

// Multicolour: each bit pair picks one of four colours for two equal pixels.
inline void drawPairs(uint8_t* pixels, uint8_t pattern, const uint8_t colours[4]) {
    for (int i = 0; i < 4; ++i) pixels[2 * i] = pixels[2 * i + 1] = colours[(pattern >> (6 - 2 * i)) & 3];
}

inline uint8_t hiddenFlash(uint8_t attribute, uint8_t foreground, uint8_t background) {
    return (attribute & 0x80) && !ted.flashPhase ? background : foreground;
}

// The matrix wraps within 1 KB in text mode: codes past the 1024th come from its start.
void wrapMatrix() {
    LineLatch& l = ted.lineLatch;
    l.matrixOffset -= 1024;
    l.matrixLine = memory.ram + ((l.matrixLine - memory.ram - 0x400) & 0xFFFF);
    l.attributeLine = memory.ram + ((l.attributeLine - memory.ram - 0x400) & 0xFFFF);
}

// Text cells of one run, the matrix pointers fixed; reverse and flash are fixed for the
// run, so they are decided once. A reversed cell (code bit 7 with 128 characters) swaps its
// two colours, which is its pattern inverted; a hidden one (attribute bit 7 in the flash's
// off phase) shows only its background colour, which is its pattern cleared before that.
// Both are masks, not branches: codes and attributes vary freely along a line, which a
// branch predictor cannot follow. Inline in both of drawTextCells' calls: a step's run is a
// few cells, where a call costs about as much as a cell.
[[gnu::always_inline]] inline void drawTextRun(uint8_t* pixels, int column, int end) {
    const LineLatch& l = ted.lineLatch;
    // Read once: the pixel stores could otherwise alias the latch.
    const uint8_t *const codes = l.matrixLine, *const attributes = l.attributeLine;
    const uint8_t* const characters = l.characterData;
    const uint8_t background = l.background;
    const uint8_t reverseBit = memory.ram[tedControl2] & 0x80 ? 0x00 : 0x80;
    const uint8_t hiddenBit = ted.flashPhase ? 0x00 : 0x80;
    for (; column < end; ++column, pixels += 8) {
        const uint8_t code = codes[column];
        const uint8_t attribute = attributes[column];
        const uint64_t pattern = patternMasks[characters[(code & ~reverseBit) * 8]];
        const uint64_t mask = (pattern & ~wholeMask(attribute & hiddenBit)) ^ wholeMask(code & reverseBit);
        drawMasked(pixels, mask, attribute, background);
    }
}

// The run is split where the matrix wraps (its 1024th code, found once per run rather than
// per cell); the line's pointers move back there and stay back for the rest of the line.
void drawTextCells(uint8_t* pixels, int column, int count, int) {
    const int end = column + count;
    const int wrapColumn = 1024 - ted.lineLatch.matrixOffset;
    if (wrapColumn < end) {
        if (wrapColumn > column) {
            drawTextRun(pixels, column, wrapColumn);
            pixels += 8 * (wrapColumn - column);
            column = wrapColumn;
        }
        wrapMatrix();
    }
    drawTextRun(pixels, column, end);
}

// Extended colour has 64 characters; the code's two top bits choose the background.
inline uint8_t extendedColourPattern(uint8_t code) { return ted.lineLatch.characterData[(code & 0x3F) * 8]; }

// With 128 characters ($FF07 bit 7 clear) a code's bit 7 is not part of the character.
inline uint8_t characterPattern(uint8_t code) {
    if (!(memory.ram[tedControl2] & 0x80)) code &= 0x7F;
    return ted.lineLatch.characterData[code * 8];
}

inline void drawExtendedColour(uint8_t* pixels, int column, int) {
    const LineLatch& l = ted.lineLatch;
    const uint8_t code = l.matrixLine[column];
    const uint8_t attribute = l.attributeLine[column];
    // The two top bits of the code pick the background from the live registers $FF15-$FF18.
    const uint8_t background = memory.ram[tedBackground + (code >> 6)];
    drawHires(pixels, extendedColourPattern(code), hiddenFlash(attribute, attribute, background), background);
}

inline void drawMulticolourText(uint8_t* pixels, int column, int) {
    const LineLatch& l = ted.lineLatch;
    const uint8_t attribute = l.attributeLine[column];
    const uint8_t pattern = characterPattern(l.matrixLine[column]);
    if (attribute & 0x08) {
        const uint8_t colours[4] = {l.background, l.colour1, l.colour2,
                                    static_cast<uint8_t>(attribute & 0x77)};
        drawPairs(pixels, pattern, colours);
    } else {
        drawHires(pixels, pattern, attribute, l.background);
    }
}

// Bitmap cells take their pattern from the bitmap and their two colours from the
// code and attribute bytes of the unscrolled character row.
struct BitmapCell {
    uint8_t pattern, one, zero;
};

inline BitmapCell bitmapCell(int column, int line) {
    const LineLatch& l = ted.lineLatch;
    const int row = (line - 56) >> 3;
    const uint8_t pattern =
        memory.ram[(l.bitmapBase + bitmapRowOffset[row] + 8 * column + ((line - 56) & 7)) & 0xFFFF];
    const uint32_t codeAddress = (l.matrixBase + matrixRowOffset[row] + column) & 0xFFFF;
    const uint8_t code = memory.ram[codeAddress];
    const uint8_t colour = memory.ram[(codeAddress - 0x400) & 0xFFFF];
    return {pattern, static_cast<uint8_t>((code >> 4) | (colour << 4)),
            static_cast<uint8_t>((code & 0x0F) | (colour & 0xF0))};
}

inline void drawBitmap(uint8_t* pixels, int column, int line) {
    const BitmapCell cell = bitmapCell(column, line);
    drawHires(pixels, cell.pattern, cell.one, cell.zero);
}

inline void drawMulticolourBitmap(uint8_t* pixels, int column, int line) {
    const BitmapCell cell = bitmapCell(column, line);
    const uint8_t colours[4] = {ted.lineLatch.background, cell.one, cell.zero, ted.lineLatch.colour1};
    drawPairs(pixels, cell.pattern, colours);
}

// Extended colour together with multicolour and no bitmap has no picture of its own.
inline void drawBlack(uint8_t* pixels, int, int) { fillCell(pixels, 0x00); }

// One rule over a run of cells, so the rule is inlined into the loop.
template <void (*drawCell)(uint8_t*, int, int)>
void drawCells(uint8_t* pixels, int column, int count, int line) {
    for (int i = 0; i < count; ++i) drawCell(pixels + 8 * i, column + i, line);
}

// Bit 0 bitmap ($FF06 bit 5), bit 1 extended colour ($FF06 bit 6), bit 2 multicolour ($FF07 bit 4).
inline int modeIndex(uint8_t ff06, uint8_t ff07) { return ((ff06 >> 5) & 3) | ((ff07 >> 2) & 4); }

// Text mode's matrix wraps within 1 KB: the renderer moves the line pointers back when it
// gets there; this only looks.
uint8_t textCode(int column) {
    const LineLatch& l = ted.lineLatch;
    if (l.matrixOffset + column < 1024) return l.matrixLine[column];
    return memory.ram[(l.matrixLine - memory.ram + column - 0x400) & 0xFFFF];
}

// Indexed by modeIndex.
constexpr CellRule cellRules[8] = {
    drawTextCells,                     // 0: text
    drawCells<drawBitmap>,             // 1: bitmap
    drawCells<drawExtendedColour>,     // 2: extended colour
    drawCells<drawBitmap>,             // 3: bitmap, extended colour ignored
    drawCells<drawMulticolourText>,    // 4: multicolour text
    drawCells<drawMulticolourBitmap>,  // 5: multicolour bitmap
    drawCells<drawBlack>,              // 6: extended colour with multicolour
    drawCells<drawMulticolourBitmap>,  // 7: multicolour bitmap, extended colour ignored
};

}  // namespace

void drawWindowCells(uint8_t* pixels, int column, int count, int line) {
    const uint8_t ff06 = memory.ram[tedControl1], ff07 = memory.ram[tedControl2];
    if (!(ff06 & 0x10)) {
        fillCells(pixels, count, ted.lineLatch.border);
        return;
    }
    cellRules[modeIndex(ff06, ff07)](pixels, column, count, line);
}

uint8_t windowFetch(int column, int line) {
    switch (modeIndex(memory.ram[tedControl1], memory.ram[tedControl2])) {
        case 0:
            return characterPattern(textCode(column));
        case 2:
        case 6:
            return extendedColourPattern(ted.lineLatch.matrixLine[column]);
        case 4:
            return characterPattern(ted.lineLatch.matrixLine[column]);
        default:
            return bitmapCell(column, line).pattern;
    }
}

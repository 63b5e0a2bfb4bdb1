// The TED's beam: it moves four units per cycle, takes the display parameters at
// the start of each line, raises the raster interrupt and counts frames for the flash.
#include "ted/raster.h"

#include "memory/memory.h"
#include "ted/ted.h"
#include "ted/video_tables.h"

namespace {

// Character patterns come from RAM, or with $FF12 bit 2 from the bank-0 ROM images,
// whatever banks the CPU has selected.
const uint8_t* characterSource(uint32_t base, bool fromRom) {
    if (!fromRom || base < 0x8000) return memory.ram + base;
    if (base < 0xC000) return memory.romLow[0] + (base - 0x8000);
    return memory.romHigh[0] + (base - 0xC000);
}

int32_t rowOffset(int32_t row) { return row >= 0 && row < 40 ? matrixRowOffset[row] : 40 * row; }

}  // namespace

void takeLineLatch() {
    LineLatch& l = ted.lineLatch;
    const uint8_t ff06 = memory.ram[tedControl1], ff07 = memory.ram[tedControl2];
    const int32_t y = ted.beamY;
    l.verticalScroll = ff06 & 7;
    l.horizontalScroll = ff07 & 7;
    l.matrixBase = (memory.ram[tedMatrixBase] & 0xF8) * 256u + 0x400;
    l.bitmapBase = (memory.ram[tedBitmapBase] & 0x38) * 1024u;
    l.characterBase = (memory.ram[tedCharacterBase] & ((ff07 & 0x80) ? 0xF8 : 0xFC)) * 256u;
    l.characterRow = (y - 56) >> 3;
    l.background = memory.ram[tedBackground];
    l.colour1 = memory.ram[tedColour1];
    l.colour2 = memory.ram[tedColour2];
    l.colour3 = memory.ram[tedColour3];
    l.border = memory.ram[tedBorder];
    l.characterData = characterSource(l.characterBase, memory.ram[tedBitmapBase] & 0x04) +
                      ((y - l.verticalScroll - 45) & 7);
    // The adjusted row is -1 on the first window lines with a scroll of 4 or more: the
    // codes just before the matrix. Addresses wrap in 64 KB, so no pointer leaves memory.ram.
    l.matrixOffset = rowOffset((y - 53 - l.verticalScroll) >> 3);
    const uint32_t matrixAddress = (l.matrixBase + l.matrixOffset) & 0xFFFF;
    l.matrixLine = memory.ram + matrixAddress;
    l.attributeLine = memory.ram + ((matrixAddress - 0x400) & 0xFFFF);
    ted.matrixBaseByLine[y] = l.matrixBase;
}

void fireRasterInterrupt() {
    requestInterrupt(rasterRequest);  // sets the request bit, and the line when it is enabled
    ted.rasterIrqArmed = 0;
}

namespace {

void startNextLine() {
    if (++ted.beamY >= frameHeight) {
        ted.beamY = 0;
        if (++ted.flashCounter >= 16) {
            ted.flashCounter = 0;
            ted.flashPhase ^= 1;
        }
    }
    const uint8_t ff06 = memory.ram[tedControl1], ff07 = memory.ram[tedControl2];
    ted.doubleClockAllowed = (ff06 & 0x10) && ted.beamY >= 53 && ted.beamY <= 259 ? 0 : 1;
    LineLatch& l = ted.lineLatch;
    const bool wide = ff07 & 0x08, tall = ff06 & 0x08;
    l.left = wide ? 32 : 36;
    l.right = wide ? 192 : 188;
    l.top = tall ? 56 : 60;
    l.bottom = tall ? 256 : 252;
    if (ted.beamY >= 56 && ted.beamY <= 256)
        ted.textLineFlags[ted.beamY] =
            ted.beamY >= l.top && ted.beamY <= l.bottom && !(ff06 & 0x20) && !(ff07 & 0x10);
}

}  // namespace

void startBeam() {
    // Until the first line change the latch would hold null pointers.
    if (memory.ram) takeLineLatch();
}

void resetBeam() {
    ted.beamX = ted.beamY = 0;
    ted.flashPhase = 0;
}

// The beam moves in steps of four, so "at least 226" and "past 227" are the same test;
// one test keeps an odd position from advancing a line without wrapping.
uint32_t crossLineEnd(uint32_t x) {
    while (x >= lineUnits) {
        startNextLine();
        x -= lineUnits;
        ted.newLinePending = 1;
        ted.rasterIrqArmed = 1;
    }
    return x;
}

// The TED's beam: it moves four units per cycle, takes the display parameters at
// the start of each line, raises the raster interrupt and counts frames for the flash.
#include "ted/raster.h"

#include "cpu/registers.h"
#include "ted/memory_map.h"
#include "ted/ted.h"
#include "ted/video_tables.h"

uint8_t frameBuffer[frameWidth * frameHeight + frameSlack];
uint16_t beamX, beamY;
uint8_t flashCounter, flashPhase;
uint8_t doubleClockAllowed;
uint8_t newLinePending, rasterIrqArmed;
uint16_t drawX;

uint16_t tedLineTable[312];
uint16_t tedXTable[228];
LineLatch lineLatch;
uint8_t textLineFlags[frameHeight];
uint32_t matrixBaseByLine[frameHeight];

uint32_t frameLineOffset[frameHeight];
uint32_t bitmapRowOffset[frameHeight];
int32_t matrixRowOffset[40];

namespace {

constexpr int lineUnits = 228;  // beam units per line: 57 cycles of four

// Character patterns come from RAM, or with $FF12 bit 2 from the bank-0 ROM images,
// whatever banks the CPU has selected.
const uint8_t* characterSource(uint32_t base, bool fromRom) {
    if (!fromRom || base < 0x8000) return ram + base;
    if (base < 0xC000) return romLow[0] + (base - 0x8000);
    return romHigh[0] + (base - 0xC000);
}

int32_t rowOffset(int32_t row) { return row >= 0 && row < 40 ? matrixRowOffset[row] : 40 * row; }

[[gnu::noinline]] void takeLineLatch() {
    LineLatch& l = lineLatch;
    const uint8_t ff06 = ram[0xFF06], ff07 = ram[0xFF07];
    const int32_t y = beamY;
    l.verticalScroll = ff06 & 7;
    l.horizontalScroll = ff07 & 7;
    l.matrixBase = (ram[0xFF14] & 0xF8) * 256u + 0x400;
    l.bitmapBase = (ram[0xFF12] & 0x38) * 1024u;
    l.characterBase = (ram[0xFF13] & ((ff07 & 0x80) ? 0xF8 : 0xFC)) * 256u;
    l.characterRow = (y - 56) >> 3;
    l.background = ram[0xFF15];
    l.colour1 = ram[0xFF16];
    l.colour2 = ram[0xFF17];
    l.colour3 = ram[0xFF18];
    l.border = ram[0xFF19];
    l.characterData =
        characterSource(l.characterBase, ram[0xFF12] & 0x04) + ((y - l.verticalScroll - 45) & 7);
    // The adjusted row is -1 on the first window lines with a scroll of 4 or more: the
    // codes just before the matrix. Addresses wrap in 64 KB, so no pointer leaves ram.
    l.matrixOffset = rowOffset((y - 53 - l.verticalScroll) >> 3);
    const uint32_t matrixAddress = (l.matrixBase + l.matrixOffset) & 0xFFFF;
    l.matrixLine = ram + matrixAddress;
    l.attributeLine = ram + ((matrixAddress - 0x400) & 0xFFFF);
    matrixBaseByLine[y] = l.matrixBase;
}

[[gnu::noinline]] void fireRasterInterrupt() {
    requestInterrupt(0x02);  // sets the request bit, and the line when it is enabled
    rasterIrqArmed = 0;
}

[[gnu::noinline]] void startNextLine() {
    if (++beamY >= frameHeight) {
        beamY = 0;
        if (++flashCounter >= 16) {
            flashCounter = 0;
            flashPhase ^= 1;
        }
    }
    const uint8_t ff06 = ram[0xFF06], ff07 = ram[0xFF07];
    doubleClockAllowed = (ff06 & 0x10) && beamY >= 53 && beamY <= 259 ? 0 : 1;
    LineLatch& l = lineLatch;
    const bool wide = ff07 & 0x08, tall = ff06 & 0x08;
    l.left = wide ? 32 : 36;
    l.right = wide ? 192 : 188;
    l.top = tall ? 56 : 60;
    l.bottom = tall ? 256 : 252;
    if (beamY >= 56 && beamY <= 256)
        textLineFlags[beamY] = beamY >= l.top && beamY <= l.bottom && !(ff06 & 0x20) && !(ff07 & 0x10);
}

}  // namespace

void buildTedTables() {
    for (int i = 0; i < frameHeight; ++i) {
        tedLineTable[i] = static_cast<uint16_t>(i < 52 ? i + 260 : i - 52);
        frameLineOffset[i] = static_cast<uint32_t>(i) * frameWidth;
        bitmapRowOffset[i] = static_cast<uint32_t>(i) * 320;
    }
    for (int i = 0; i < lineUnits; ++i) tedXTable[i] = static_cast<uint16_t>(i < 32 ? i + 196 : i - 32);
    for (int i = 0; i < 40; ++i) matrixRowOffset[i] = i * 40;
    // Until the first line change the latch would hold null pointers.
    if (ram) takeLineLatch();
}

void resetBeam() {
    beamX = beamY = 0;
    flashPhase = 0;
}

void rasterStep() {
    // Wide enough for any cycle count, so a bogus count cannot wrap the position.
    uint32_t x = beamX + 4u * reg.lastCycle;
    if (newLinePending) {
        takeLineLatch();
        newLinePending = 0;
    }
    if (tedLineTable[beamY] == rasterCompare && x >= 8 && rasterIrqArmed) fireRasterInterrupt();
    // The beam moves in steps of four, so "at least 226" and "past 227" are the same test;
    // one test keeps an odd position from advancing a line without wrapping.
    while (x >= lineUnits) {
        startNextLine();
        x -= lineUnits;
        newLinePending = 1;
        rasterIrqArmed = 1;
    }
    beamX = static_cast<uint16_t>(x);
}

#pragma once
#include <cstdint>

constexpr int frameWidth = 456;
constexpr int frameHeight = 312;
constexpr int frameSlack = 16;  // a block may land up to 7 bytes past the last line

extern uint8_t frameBuffer[frameWidth * frameHeight + frameSlack];

extern uint16_t beamX;  // units of two pixels, 0..227
extern uint16_t beamY;  // internal line, 0..311
extern uint8_t flashCounter, flashPhase;
extern uint8_t doubleClockAllowed;
extern uint8_t newLinePending, rasterIrqArmed;
extern uint16_t drawX;

extern uint16_t tedLineTable[312];  // internal line -> TED raster line
extern uint16_t tedXTable[228];     // beamX -> TED horizontal count

// The display parameters taken at the first raster step of each line.
struct LineLatch {
    uint8_t verticalScroll = 0, horizontalScroll = 0;
    uint32_t matrixBase = 0, bitmapBase = 0, characterBase = 0;
    int32_t characterRow = 0;
    uint8_t background = 0, colour1 = 0, colour2 = 0, colour3 = 0, border = 0;
    const uint8_t* characterData = nullptr;                   // pattern line of character 0
    const uint8_t* matrixLine = nullptr;                      // character codes of the line
    const uint8_t* attributeLine = nullptr;                   // attribute bytes of the line
    int32_t matrixOffset = 0;                                 // 40 times the adjusted row
    uint16_t left = 32, right = 192, top = 56, bottom = 256;  // window edges
};
extern LineLatch lineLatch;
extern uint8_t textLineFlags[frameHeight];
extern uint32_t matrixBaseByLine[frameHeight];

void buildTedTables();
// Beam, flash and double-clock state of start-up and the hard and special resets.
void resetBeam();
void rasterStep();  // moves the beam by reg.lastCycle
void renderStep();  // draws up to the beam; frame-end work at TED line 0
// Inverts the hardware cursor cell in the finished frame (when the flash phase shows it).
void cursorPass();

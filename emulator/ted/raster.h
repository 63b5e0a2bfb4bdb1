#pragma once
#include <cstdint>

#include "ted/ted.h"

constexpr int frameSlack = 16;  // a block may land up to 7 bytes past the last line

// defined in ted/raster.cpp
extern uint8_t frameBuffer[frameWidth * frameHeight + frameSlack];
extern uint16_t tedLineTable[312];  // internal line -> TED raster line
extern uint16_t tedXTable[228];     // beamX -> TED horizontal count

void buildTedTables();
// Beam, flash and double-clock state of start-up and the hard and special resets.
void resetBeam();
void rasterStep(uint16_t cycles);  // moves the beam by single-clock cycles

// Raised once per frame, at the first render step on TED line 0: the frame buffer holds
// a whole frame, and the frame end is due before anything of the next one is drawn.
inline bool frameComplete() {
    if (tedLineTable[ted.beamY] != 0) {
        ted.frameEndDue = 1;
        return false;
    }
    if (!ted.frameEndDue) return false;
    ted.frameEndDue = 0;
    return true;
}

// defined in ted/render.cpp
void renderStep();  // draws up to the beam

// defined in ted/open_bus.cpp
// A read of the write-only bank latch ($FDD0-$FDDF): the byte the data bus still carries.
uint8_t openBusRead(uint16_t address);

// defined in ted/cursor.cpp
// Inverts the hardware cursor cell in the finished frame (when the flash phase shows it).
void cursorPass();

#pragma once
#include <cstdint>

#include "ted/ted.h"
#include "ted/video_tables.h"

constexpr int lineUnits = 228;  // beam units per line: 57 cycles of four

// Start-up: the line latch taken for the beam's line, so the renderer never sees an empty
// one before the first line change.
void startBeam();
// Start-up and the hard and special resets: the beam position and the flash phase back
// to 0. No double-clock state is kept here.
void resetBeam();
// The beam's work at a line's first step and end, and the raster interrupt: once per line
// at most, so kept out of the step.
void takeLineLatch();               // the display parameters of the line
uint32_t crossLineEnd(uint32_t x);  // the next line(s) for a position past the line's end
void fireRasterInterrupt();

// Moves the beam by single-clock cycles, four units each; true when a line ended. Inline:
// it runs for every instruction and usually only moves along the line.
inline bool rasterStep(uint16_t cycles) {
    // Wide enough for any cycle count, so a bogus count cannot wrap the position.
    uint32_t x = ted.beamX + 4u * cycles;
    if (ted.newLinePending) {
        takeLineLatch();
        ted.newLinePending = 0;
    }
    if (tedLineTable[ted.beamY] == ted.rasterCompare && x >= 8 && ted.rasterIrqArmed) fireRasterInterrupt();
    const bool lineEnded = x >= lineUnits;
    if (lineEnded) x = crossLineEnd(x);
    ted.beamX = static_cast<uint16_t>(x);
    return lineEnded;
}

// Asked when a line has ended: true once per frame, when the beam has come to TED line 0.
// The frame buffer then holds a whole frame, and the frame end is due before anything of
// the next one is drawn.
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

// defined in ted/cursor.cpp
// Inverts the hardware cursor cell in the finished frame (when the flash phase shows it).
void cursorPass();

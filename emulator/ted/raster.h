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
void rasterStep();  // moves the beam by reg.lastCycle

// defined in ted/render.cpp
void renderStep();  // draws up to the beam; frame-end work at TED line 0

// defined in ted/cursor.cpp
// Inverts the hardware cursor cell in the finished frame (when the flash phase shows it).
void cursorPass();

#pragma once
#include <cstdint>

#include "ted/raster.h"

// Offsets the beam and the renderer share, built once by buildTedTables.
extern uint32_t frameLineOffset[frameHeight];  // line times 456
extern uint32_t bitmapRowOffset[frameHeight];  // character row times 320
extern int32_t matrixRowOffset[40];            // character row times 40

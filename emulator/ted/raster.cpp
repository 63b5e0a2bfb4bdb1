// Placeholder until this unit is built; replace the whole file.
#include "ted/raster.h"
uint8_t frameBuffer[frameWidth * frameHeight + frameSlack];
uint16_t beamX, beamY; uint8_t flashCounter, flashPhase, doubleClockAllowed, newLinePending, rasterIrqArmed; uint16_t drawX;
uint16_t tedLineTable[312]; uint16_t tedXTable[228]; LineLatch lineLatch; uint8_t textLineFlags[frameHeight]; uint32_t matrixBaseByLine[frameHeight];
void buildTedTables() {}
void resetBeam() {}
void rasterStep() {}

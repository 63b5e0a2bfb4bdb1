#pragma once
#include <cstdint>

// Copies the frame buffer to the display in the current screen mode; false when
// the surface could not be locked and the frame was skipped.
bool presentFrame();
// Copies the current screen mode's region into a locked surface (also used by the menus).
void copyFrame(uint8_t* pixels, int pitch);
// Status texts drawn into the frame buffer at frame end.
void drawRegisterLine();
void drawClock();
void drawSpeed();

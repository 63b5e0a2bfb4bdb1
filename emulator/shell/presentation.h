#pragma once
#include <cstdint>

// defined in shell/presentation.cpp
// Copies the frame buffer to the display in the current screen mode; false when
// the surface could not be locked and the frame was skipped.
bool presentFrame();
// Copies the current screen mode's region into a locked surface (also used by the menus).
void copyFrame(uint8_t* pixels, int pitch);

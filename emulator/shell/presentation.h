#pragma once
#include <cstdint>

// defined in shell/presentation.cpp
// The display opened in a mode of this size: the pictures shown from now on have it.
void setPictureSize(int width, int height);
// Shows a black picture; false when it could not be shown.
bool presentBlank();
// Shows the frame buffer in the current screen mode; false when the display could not
// show it (the frame is skipped).
bool presentFrame();
// Copies the current screen mode's region into a picture of its mode's size.
void copyFrame(uint8_t* pixels, int pitch);

#pragma once

// defined in storage/screenshot.cpp
// Writes the frame buffer to the first free "Output%.3d.bmp": 320 x 200, or 400 x 300
// with the border.
void writeScreenshot(bool withBorder);

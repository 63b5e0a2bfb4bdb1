#pragma once
#include <string>

#include "fileio/files.h"

// defined in storage/screenshot.cpp
// Writes the frame buffer to the first free "Output%.3d.bmp" in `folder` (the current
// directory when empty): 320 x 200, or 400 x 300 with the border. Says why when no file
// could be written.
files::WriteResult writeScreenshot(const std::string& folder, bool withBorder);

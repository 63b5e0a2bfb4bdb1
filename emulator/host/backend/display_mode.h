#pragma once
// The display's bookkeeping, the same for every platform backend: opened once the window
// exists, and the mode chosen. platform::openDisplay is defined here, over what each
// backend does for itself.
#include <algorithm>

#include "platform/platform.h"

namespace backend {

struct DisplayMode {
    bool created = false;
    int width = 0, height = 0;  // 0 until a mode is set: the desktop's own stays
};

// defined in host/backend/display_mode.cpp
extern DisplayMode display;

// Defined by each backend: called after a mode is set, for a window that fits itself to it;
// the picture of the mode's size (of the window's, when no mode was set), made anew; the
// palette's colours for the pictures presented from now on.
void displayModeChanged();
bool createPicture();
bool setColours(const platform::PaletteEntry entries[256]);

// The largest whole multiple of the mode that fits inside the area, at least 1: the
// window's scale, so its pixels stay square and it never overflows the screen.
inline int wholeScale(int areaWidth, int areaHeight, int modeWidth, int modeHeight) {
    if (modeWidth <= 0 || modeHeight <= 0) return 1;
    return std::max(1, std::min(areaWidth / modeWidth, areaHeight / modeHeight));
}

}  // namespace backend

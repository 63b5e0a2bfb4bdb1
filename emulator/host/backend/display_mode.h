#pragma once
// The display's bookkeeping up to the surface, the same for every platform backend: the
// DirectDraw object (there once the window exists) and the mode chosen. The functions of
// platform.h that only keep it are defined here (directDrawCreate, queryDirectDraw2,
// setDisplayCooperativeLevel, setDisplayMode).
#include <algorithm>

namespace backend {

struct DisplayMode {
    bool created = false;
    int width = 0, height = 0;  // 0 until a mode is set: the desktop's own stays
};

// defined in host/backend/display_mode.cpp
extern DisplayMode display;

// Defined by each backend: called after a mode is set, for a window that fits itself to it.
void displayModeChanged();

// The largest whole multiple of the mode that fits inside the area, at least 1: the
// window's scale, so its pixels stay square and it never overflows the screen.
inline int wholeScale(int areaWidth, int areaHeight, int modeWidth, int modeHeight) {
    if (modeWidth <= 0 || modeHeight <= 0) return 1;
    return std::max(1, std::min(areaWidth / modeWidth, areaHeight / modeHeight));
}

}  // namespace backend

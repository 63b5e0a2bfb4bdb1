#pragma once
// The display's bookkeeping up to the surface, the same for every platform backend: the
// DirectDraw object (there once the window exists) and the mode chosen. The functions of
// platform.h that only keep it are defined here (directDrawCreate, queryDirectDraw2,
// setDisplayCooperativeLevel, setDisplayMode).

namespace backend {

struct DisplayMode {
    bool created = false;
    int width = 0, height = 0;  // 0 until a mode is set: the desktop's own stays
};

// defined in host/backend/display_mode.cpp
extern DisplayMode display;

// Defined by each backend: called after a mode is set, for a window that fits itself to it.
void displayModeChanged();

}  // namespace backend

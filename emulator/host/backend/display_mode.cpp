// The DirectDraw object and the display mode as plain state; no backend has an exclusive
// mode, every mode is only a size, so ModeX changes nothing.
#include "host/backend/display_mode.h"

#include "platform/platform.h"

namespace backend {

DisplayMode display;

}  // namespace backend

namespace platform {

using backend::display;

Result directDrawCreate() {
    if (!windowExists()) return failed;
    display.created = true;
    return ok;
}

Result queryDirectDraw2() { return display.created ? ok : failed; }
Result setDisplayCooperativeLevel(bool) { return display.created ? ok : failed; }

Result setDisplayMode(int width, int height) {
    if (!display.created || width <= 0 || height <= 0) return failed;
    display.width = width;
    display.height = height;
    backend::displayModeChanged();
    return ok;
}

}  // namespace platform

// The display's opening, the same for every backend: no backend has an exclusive mode
// and every mode is only a size, so ModeX changes nothing; the backend makes its picture
// of the mode's size and takes the palette's colours.
#include "host/backend/display_mode.h"

#include "platform/platform.h"

namespace backend {

DisplayMode display;

}  // namespace backend

namespace platform {

using backend::display;

SetUpReport openDisplay(const DisplaySetUp& setUp) {
    if (!windowExists()) return {failed, displayObject};
    display.created = true;
    for (int i = 0; i < setUp.modeCount; ++i) {
        const auto& mode = setUp.modes[i];
        if (mode.width <= 0 || mode.height <= 0) return {failed, displayMode, i};
        display.width = mode.width;
        display.height = mode.height;
        backend::displayModeChanged();
    }
    if (!backend::createPicture()) return {failed, displaySurface};
    if (!backend::setColours(setUp.palette)) return {failed, displayPalette};
    return {};
}

}  // namespace platform

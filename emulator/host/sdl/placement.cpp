// Where the window sits: full screen over the whole display, or a window of a
// whole-number scale of the mode, frame included wholly inside the display's usable area
// and centred there. Full screen is asked of the window manager and also made by hand
// (a borderless window covering the display), since without a window manager nobody
// answers the request.
#include <algorithm>

#include "host/backend/display_mode.h"
#include "host/sdl/sdl_host.h"

namespace sdlhost {
namespace {

constexpr int maxScale = 8;
constexpr Uint32 borderWaitMilliseconds = 200;  // a window manager sets the frame's size soon after mapping

bool windowedWanted = false;
int wantedScale = 0;  // 0: the largest that fits
int chosenScale = 0;  // what the user made of the window by resizing it
int placedWidth = 0, placedHeight = 0;

const int& modeWidth = backend::display.width;
const int& modeHeight = backend::display.height;

bool windowed() { return window && !(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN); }

SDL_Rect displayBounds() {
    SDL_Rect bounds{0, 0, 1280, 960};
    const int display = window ? std::max(SDL_GetWindowDisplayIndex(window), 0) : 0;
    if (SDL_GetDisplayBounds(display, &bounds) != 0) bounds = {0, 0, 1280, 960};
    return bounds;
}

SDL_Rect usableBounds() {
    SDL_Rect usable = displayBounds();
    const int display = std::max(SDL_GetWindowDisplayIndex(window), 0);
    SDL_GetDisplayUsableBounds(display, &usable);
    return usable;
}

// The frame's edges, once a window manager has said them; none without a window manager.
void frameEdges(int& top, int& left, int& bottom, int& right) {
    const Uint32 start = SDL_GetTicks();
    do {
        SDL_PumpEvents();  // the window manager's answer arrives as a property change
        if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0)
            top = left = bottom = right = 0;
        if (top || left || bottom || right) return;
        SDL_Delay(10);
    } while (SDL_GetTicks() - start < borderWaitMilliseconds);
}

// The window's own scale: the one asked for, at most the largest that fits; the picture
// keeps its aspect when the window is then resized, since the renderer letterboxes its
// logical size.
void fitWindowToMode() {
    if (modeWidth <= 0 || modeHeight <= 0) return;
    SDL_SetWindowBordered(window, SDL_TRUE);
    int top = 0, left = 0, bottom = 0, right = 0;
    frameEdges(top, left, bottom, right);
    const SDL_Rect usable = usableBounds();
    const int areaWidth = usable.w - left - right, areaHeight = usable.h - top - bottom;
    const int largest = backend::wholeScale(areaWidth, areaHeight, modeWidth, modeHeight);
    const int scale = wantedScale > 0 ? std::min(wantedScale, largest) : largest;
    placedWidth = modeWidth * scale;
    placedHeight = modeHeight * scale;
    SDL_SetWindowSize(window, placedWidth, placedHeight);
    // The position is the picture's, inside the frame: centred by hand, as the window
    // system may report the new size only later.
    SDL_SetWindowPosition(window, usable.x + left + std::max(0, (areaWidth - placedWidth) / 2),
                          usable.y + top + std::max(0, (areaHeight - placedHeight) / 2));
}

void coverDisplay() {
    const SDL_Rect bounds = displayBounds();
    SDL_SetWindowBordered(window, SDL_FALSE);
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, bounds.w, bounds.h);
}

}  // namespace

Uint32 initialWindowFlags() { return windowedWanted ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP; }

SDL_Rect initialWindowArea() {
    if (!windowedWanted) return displayBounds();
    return {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 960, 720};  // fitted once the mode is known
}

void placeWindow() {
    if (!window) return;
    if (windowed())
        fitWindowToMode();
    else
        coverDisplay();
}

// A window the user resized keeps its new scale for the next start.
void noteWindowScale() {
    if (!windowed() || modeWidth <= 0 || modeHeight <= 0) return;
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    if (width == placedWidth && height == placedHeight) return;
    chosenScale = std::min(maxScale, std::max(1, std::min(width / modeWidth, height / modeHeight)));
}

void placeAs(bool windowedAsked, int scale) {
    windowedWanted = windowedAsked;
    wantedScale = scale;
}

}  // namespace sdlhost

namespace platform {

int chosenWindowScale() {
    sdlhost::noteWindowScale();  // a quit leaves the window open until the program ends
    return sdlhost::chosenScale;
}

bool fullScreen() { return sdlhost::window && !sdlhost::windowed(); }

Result setFullScreen(bool on) {
    using sdlhost::window;
    if (!window) return failed;
    if (on) {
        sdlhost::noteWindowScale();
        sdlhost::coverDisplay();
    }
    if (SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return failed;
    SDL_SetWindowResizable(window, on ? SDL_FALSE : SDL_TRUE);
    SDL_ShowCursor(on ? SDL_DISABLE : SDL_ENABLE);
    sdlhost::placeWindow();
    sdlhost::redrawWindow();
    return ok;
}

}  // namespace platform

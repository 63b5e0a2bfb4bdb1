// The pictures, kept as an 8-bit buffer of the mode's size, turned into RGBA through
// the palette and painted on the page's canvas. The vertical blank is
// that of a 50 Hz display kept by the clock, met at the page's animation frames.
#include <emscripten.h>

#include <cstring>
#include <vector>

#include "host/backend/display_mode.h"
#include "host/backend/key_queue.h"
#include "host/backend/shown_picture.h"
#include "host/web/web_host.h"

namespace {

constexpr double blankPeriod = 1000.0 / 50;  // milliseconds
// Frames finished sooner than this after the last painted one are painted only if
// they are the last before the page's turn: a free-running machine makes more frames
// than a display shows.
constexpr double paintInterval = 15.0;
// An animation frame this close before a blank counts as meeting it.
constexpr double blankTolerance = 4.0;
constexpr int blanksMadeUp = 4;

bool& displayCreated = backend::display.created;
int &modeWidth = backend::display.width, &modeHeight = backend::display.height;
bool unpainted = false;
std::vector<uint8_t> surface;
backend::ShownPicture painted;
std::vector<uint32_t> rgba;
uint32_t palette[256];  // the palette as canvas pixels (R, G, B, A in memory order)
double nextBlank = 0, lastPaint = -1e9;
uint32_t frames = 0;

// clang-format off
EM_JS(int, pageFullScreen, (), { return document.fullscreenElement ? 1 : 0; });

EM_JS(void, switchPageFullScreen, (int on), {
    const canvas = Module.canvas;
    if (on && canvas && canvas.requestFullscreen) canvas.requestFullscreen().catch(() => {});
    if (!on && document.fullscreenElement) document.exitFullscreen().catch(() => {});
});

EM_JS(void, setCanvasSize, (int width, int height), {
    if (Module.setScreenSize) Module.setScreenSize(width, height);
});

EM_JS(void, paintCanvas, (const uint32_t* pixels, int width, int height), {
    const canvas = Module.canvas;
    if (!canvas) return;
    if (!Module.screenContext) Module.screenContext = canvas.getContext("2d", {alpha: false});
    const bytes = new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4);
    Module.screenContext.putImageData(new ImageData(bytes, width, height), 0, 0);
});
// clang-format on

// A picture the canvas already shows is not painted again, so a still screen costs the
// page (and the browser's compositing) nothing.
void paint() {
    if (surface.empty()) return;
    lastPaint = emscripten_get_now();
    unpainted = false;
    if (!painted.changed(surface.data(), surface.size())) return;
    for (size_t i = 0; i < surface.size(); ++i) rgba[i] = palette[surface[i]];
    paintCanvas(rgba.data(), modeWidth, modeHeight);
}

// The desktop keeps its own mode when none is set; the page's screen then has this size.
constexpr int defaultWidth = 640, defaultHeight = 480;

}  // namespace

namespace webhost {

uint32_t framesReceived() { return frames; }

void paintPending() {
    if (unpainted) paint();
}

void frameReceived() {
    ++frames;
    backend::keyFrameEnded();
}

// Animation frames come at the display's rate, which may be below 50 Hz or late on a
// busy machine: a blank already passed is met at once, so the machine keeps its speed;
// more than a few lost blanks are given up.
double nextVerticalBlank() {
    const double now = emscripten_get_now();
    // A wait met early by the tolerance leaves the next blank a little over a period ahead.
    if (nextBlank == 0 || nextBlank > now + blankPeriod + blankTolerance) nextBlank = now + blankPeriod;
    if (nextBlank < now - blanksMadeUp * blankPeriod) nextBlank = now;
    const double due = nextBlank > now + blankTolerance ? nextBlank - blankTolerance : now;
    nextBlank += blankPeriod;
    return due;
}

}  // namespace webhost

// The canvas takes the mode's size with its surface.
void backend::displayModeChanged() {}

bool backend::createPicture() {
    if (!displayCreated) return false;
    if (modeWidth == 0) {
        modeWidth = defaultWidth;
        modeHeight = defaultHeight;
    }
    surface.assign(static_cast<size_t>(modeWidth) * modeHeight, 0);
    painted.forget();
    rgba.assign(surface.size(), 0xFF000000u);
    setCanvasSize(modeWidth, modeHeight);
    return true;
}

bool backend::setColours(const platform::PaletteEntry entries[256]) {
    for (int i = 0; i < 256; ++i)
        palette[i] =
            0xFF000000u | uint32_t(entries[i].blue) << 16 | uint32_t(entries[i].green) << 8 | entries[i].red;
    painted.forget();
    return true;
}

namespace platform {

Result present(const uint8_t* pixels, int pitch) {
    if (surface.empty() || pitch < modeWidth) return failed;
    for (int y = 0; y < modeHeight; ++y)
        std::memcpy(&surface[static_cast<size_t>(y) * modeWidth], pixels + static_cast<size_t>(y) * pitch,
                    modeWidth);
    if (emscripten_get_now() - lastPaint >= paintInterval)
        paint();
    else
        unpainted = true;
    webhost::frameReceived();
    return ok;
}

// A frame the machine ran too fast to show still counts.
void frameNotPresented() { webhost::frameReceived(); }

// The browser may refuse: it lets a page go full screen only while it handles a user's input.
bool fullScreen() { return pageFullScreen() != 0; }
Result setFullScreen(bool on) {
    switchPageFullScreen(on ? 1 : 0);
    return ok;
}

// The page's turn ends at the blank (host/web/turns.cpp, by nextVerticalBlank).
Result waitForVerticalBlank() { return ok; }

void closeDisplay() {
    if (!displayCreated) return;
    surface.clear();
    painted.forget();
    rgba.clear();
    displayCreated = unpainted = false;
    modeWidth = modeHeight = 0;
}

}  // namespace platform

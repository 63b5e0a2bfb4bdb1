// The pictures as a texture of the mode's size, its pixels the palette's colours,
// scaled to the window with the mode's aspect.
#include "host/backend/display_mode.h"
#include "host/backend/key_queue.h"
#include "host/backend/shown_picture.h"
#include "host/sdl/sdl_host.h"
#include "shell/pacing.h"

namespace {

SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
Uint32 argb[256];  // the palette as texture pixels
bool& displayCreated = backend::display.created;
int &modeWidth = backend::display.width, &modeHeight = backend::display.height;
bool vsyncAvailable = false;
// A software renderer keeps its window's pixels between presents, so the bars around
// the picture need clearing only when the window's size changed; a clear of the whole
// window costs it about as much as the picture. Others may not keep them.
bool keepsPixels = false, clearDue = true;
backend::ShownPicture shown;
uint64_t nextBlank = 0;

// The dummy driver, or a machine without any renderer, still takes pictures; they
// are then simply not shown.
void createRenderer() {
    renderer = SDL_CreateRenderer(sdlhost::window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (!renderer) renderer = SDL_CreateRenderer(sdlhost::window, -1, 0);
    if (!renderer) return;
    SDL_RendererInfo info;
    const bool known = SDL_GetRendererInfo(renderer, &info) == 0;
    vsyncAvailable =
        known && (info.flags & SDL_RENDERER_PRESENTVSYNC) && !(info.flags & SDL_RENDERER_SOFTWARE);
    keepsPixels = known && (info.flags & SDL_RENDERER_SOFTWARE);
    // Frames are paced by the emulator's own synchronisation, not by every present.
    SDL_RenderSetVSync(renderer, 0);
}

void createTexture() {
    if (texture) SDL_DestroyTexture(texture);
    texture = nullptr;
    if (!renderer) return;
    SDL_RenderSetLogicalSize(renderer, modeWidth, modeHeight);
    clearDue = true;
    shown.forget();  // a new texture holds no picture yet
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, modeWidth,
                                modeHeight);
}

void showTexture() {
    if (!renderer || !texture) return;
    if (clearDue || !keepsPixels) {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        clearDue = false;
    }
    SDL_RenderCopy(renderer, texture, nullptr, nullptr);
    SDL_RenderPresent(renderer);
}

void convertToTexture(const uint8_t* pixels, int pitch) {
    if (!texture) return;
    void* target = nullptr;
    int targetPitch = 0;
    if (SDL_LockTexture(texture, nullptr, &target, &targetPitch) != 0) return;
    for (int y = 0; y < modeHeight; ++y) {
        const uint8_t* from = pixels + static_cast<size_t>(y) * pitch;
        Uint32* to =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(target) + static_cast<size_t>(y) * targetPitch);
        for (int x = 0; x < modeWidth; ++x) to[x] = argb[from[x]];
    }
    SDL_UnlockTexture(texture);
}

}  // namespace

void sdlhost::redrawWindow() {
    clearDue = true;
    showTexture();
}

// Every mode is a logical resolution of the window. The renderer comes first: making
// one may create the window anew, where it first was.
void backend::displayModeChanged() {
    if (!renderer) createRenderer();
    sdlhost::placeWindow();
    if (renderer) createTexture();
}

bool backend::createPicture() {
    if (!displayCreated) return false;
    if (modeWidth == 0) SDL_GetWindowSize(sdlhost::window, &modeWidth, &modeHeight);  // desktop mode kept
    if (!renderer) createRenderer();
    createTexture();
    return true;
}

bool backend::setColours(const platform::PaletteEntry entries[256]) {
    for (int i = 0; i < 256; ++i)
        argb[i] =
            0xFF000000u | Uint32(entries[i].red) << 16 | Uint32(entries[i].green) << 8 | entries[i].blue;
    shown.forget();  // the same pixels look different now
    return true;
}

namespace platform {

Result present(const uint8_t* pixels, int pitch) {
    if (!displayCreated || modeWidth <= 0 || pitch < modeWidth) return failed;
    if (shown.changed(pixels, static_cast<size_t>(pitch) * modeHeight)) {
        convertToTexture(pixels, pitch);
        showTexture();
    }
    backend::keyFrameEnded();
    sdlhost::automationFrame();
    return ok;
}

void frameNotPresented() {
    backend::keyFrameEnded();
    sdlhost::automationFrame();
}

Result waitForVerticalBlank() {
    if (vsyncAvailable && renderer && texture) {
        // A synchronised present of the picture already shown returns as the blank begins.
        SDL_RenderSetVSync(renderer, 1);
        showTexture();
        SDL_RenderSetVSync(renderer, 0);
        return ok;
    }
    // Without a vertical blank to wait for, the blanks of a 50 Hz display are kept by the clock.
    const uint64_t period = performanceFrequency() / 50, now = performanceCounter();
    if (nextBlank == 0 || nextBlank > now + period) nextBlank = now + period;
    while (nextBlank <= now)
        nextBlank += period;  // a late caller waits for the next blank, not a whole period
    waitUntilCounter(nextBlank);
    nextBlank += period;
    return ok;
}

void closeDisplay() {
    if (!displayCreated) return;
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    texture = nullptr;
    renderer = nullptr;
    shown.forget();
    displayCreated = false;
    vsyncAvailable = keepsPixels = false;
    modeWidth = modeHeight = 0;
    // The message box of a fatal error must not sit behind a full-screen window.
    if (sdlhost::window) SDL_HideWindow(sdlhost::window);
}

}  // namespace platform

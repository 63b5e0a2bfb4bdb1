// The emulator's window: SDL events become the few window messages the shell handles
// (activation, host keys, close), queued in host/backend.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>

#include "host/backend/input_devices.h"
#include "host/backend/key_queue.h"
#include "host/sdl/sdl_host.h"

namespace sdlhost {

SDL_Window* window = nullptr;

namespace {

Uint64 lastPump = 0;

// When the X server goes away (the session ends, the server dies) Xlib ends the program,
// and SDL's clean-up at that exit would wait on the dead connection for ever, spinning.
// The program ends at once instead, with status 1.
extern "C" int endWithTheDisplay(void*) {
    std::fputs("varnok: the display has gone\n", stderr);
    _exit(1);
}

void endWhenTheDisplayGoes() {
    if (SDL_strcmp(SDL_GetCurrentVideoDriver(), "x11") != 0) return;
    // SDL loaded Xlib itself; its handle is only looked up, never loaded here.
    void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!xlib) return;
    using Handler = int (*)(void*);
    if (auto setHandler = reinterpret_cast<Handler (*)(Handler)>(dlsym(xlib, "XSetIOErrorHandler")))
        setHandler(endWithTheDisplay);
    dlclose(xlib);
}

void translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            pushMessage({platform::msgClose, 0});
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                backend::keyboardFocusChanged(true);
                pushMessage({platform::msgActivate, 1});
            } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                backend::keyboardFocusChanged(false);
                pushMessage({platform::msgActivate, 0});
            } else if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                pushMessage({platform::msgClose, 0});
            } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                       event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                redrawWindow();  // a paused machine or an open menu shows nothing new
            }
            break;
        case SDL_DROPFILE:
            if (event.drop.file) backend::pushDroppedFile(event.drop.file);
            SDL_free(event.drop.file);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (const HostKey* key = keyByScancode(event.key.keysym.scancode)) {
                // The machine repeats keys itself.
                if (!event.key.repeat) backend::keyEvent(key->code, event.type == SDL_KEYDOWN);
                if (key->virtualKey)
                    pushMessage({event.type == SDL_KEYDOWN ? platform::msgKeyDown : platform::msgKeyUp,
                                 key->virtualKey});
            }
            break;
        default:
            gamepadEvent(event);
            break;
    }
}

}  // namespace

void pumpEvents(bool force) {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return;
    // The main loop asks for messages every few hundred instructions; talking to the
    // window system that often would cost more than the emulation itself.
    Uint64 now = SDL_GetPerformanceCounter();
    if (!force && now - lastPump < SDL_GetPerformanceFrequency() / 1000) return;
    lastPump = now;
    SDL_Event event;
    while (SDL_PollEvent(&event)) translate(event);
}

}  // namespace sdlhost

namespace platform {

using sdlhost::window;

namespace {

bool openVideo() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "varnok: no display available: %s\n", SDL_GetError());
        return false;
    }
    // Without a display SDL falls back to a driver that shows nothing: the emulator would
    // run unseen. Only a user who names that driver gets it.
    if (sdlhost::invisibleDriverUnasked()) {
        std::fprintf(stderr,
                     "varnok: no display available (SDL chose its invisible \"%s\" video driver); "
                     "set DISPLAY or WAYLAND_DISPLAY, or SDL_VIDEODRIVER=%s to run unseen\n",
                     SDL_GetCurrentVideoDriver(), SDL_GetCurrentVideoDriver());
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        return false;
    }
    sdlhost::endWhenTheDisplayGoes();
    return true;
}

}  // namespace

WindowOpened openWindow(const WindowPlacement& placement) {
    if (!openVideo()) return WindowOpened::noDisplay;
    sdlhost::placeAs(placement.windowed, placement.scale);
    Uint32 flags = sdlhost::initialWindowFlags();
    if (!placement.shown) flags |= SDL_WINDOW_HIDDEN;
    const SDL_Rect area = sdlhost::initialWindowArea();
    window = SDL_CreateWindow(windowTitle, area.x, area.y, area.w, area.h, flags);
    if (!window) {
        std::fprintf(stderr, "varnok: cannot open the window: %s\n", SDL_GetError());
        return WindowOpened::noWindow;
    }
    if (!(flags & SDL_WINDOW_RESIZABLE)) SDL_ShowCursor(SDL_DISABLE);
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
    SDL_RaiseWindow(window);
    // Showing a window activates the application before anything else arrives.
    sdlhost::pushMessage({msgActivate, 1});
    return WindowOpened::opened;
}

bool windowExists() { return window != nullptr; }

void destroyWindow() {
    if (!window) return;
    sdlhost::noteWindowScale();
    closeDisplay();  // the renderer belongs to the window and must go first
    SDL_DestroyWindow(window);
    window = nullptr;
}

bool takeMessage(Message& message) {
    sdlhost::pumpEvents(false);
    return backend::takeMessage(message);
}

void waitMessage() {
    sdlhost::pumpEvents(true);
    while (!backend::messageQueued()) {
        // A scripted run goes on while the window waits, so the wait is sliced.
        SDL_Event event;
        if (SDL_WasInit(SDL_INIT_EVENTS) && SDL_WaitEventTimeout(&event, 10))
            sdlhost::translate(event);
        else if (!SDL_WasInit(SDL_INIT_EVENTS))
            SDL_Delay(10);
        sdlhost::automationIdle();
    }
}

}  // namespace platform

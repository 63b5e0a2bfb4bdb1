#pragma once
// State and helpers shared by the files of the SDL2 backend.
#include <SDL.h>

#include <cstdint>
#include <string_view>

#include "host/backend/message_queue.h"
#include "platform/platform.h"

namespace sdlhost {

extern SDL_Window* window;

// One host key: the SDL scancode, the DirectInput scan code and name, and the
// virtual key its messages carry (0 for keys that send none).
struct HostKey {
    SDL_Scancode scancode;
    uint8_t code;
    const char* name;
    uint32_t virtualKey;
};
const HostKey* keyByScancode(SDL_Scancode scancode);
const HostKey* keyByName(std::string_view name);
const HostKey* keyByCode(uint8_t code);

// Moves waiting SDL events into the message queue; at most once a millisecond unless forced.
void pumpEvents(bool force);
using backend::pushMessage;

// The first game controller present, taken over as it is plugged in or out.
void openGamepad();
// Takes a controller event into the gamepad's state; false for any other event.
bool gamepadEvent(const SDL_Event& event);

// Shows the last picture again (the window was uncovered or changed size).
void redrawWindow();

// The window's place: how it is created, then placed for the mode (full screen, or a
// window of whole-number scale inside the usable area); a scale the user gave it by
// resizing is noted before it goes full screen or closes.
void placeAs(bool windowed, int scale);
Uint32 initialWindowFlags();
SDL_Rect initialWindowArea();
void placeWindow();
void noteWindowScale();

// The automation script: advanced by presented frames, or by time while nothing is presented.
bool automationActive();
void automationFrame();
void automationIdle();

// True when no window system can show a modal box (dummy driver or a scripted run).
bool headless();
// True when SDL picked its invisible "offscreen" video driver without SDL_VIDEODRIVER naming it.
bool invisibleDriverUnasked();

}  // namespace sdlhost

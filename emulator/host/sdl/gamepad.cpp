// The first SDL game controller as the platform's gamepad: its events go into the
// backend-neutral mapping of host/gamepad.h.
#include "host/backend/gamepad.h"

#include "host/sdl/sdl_host.h"

namespace {

SDL_GameController* controller = nullptr;
SDL_JoystickID controllerId = -1;

PadButton buttonOf(Uint8 button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return PadButton::dpadUp;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return PadButton::dpadDown;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return PadButton::dpadLeft;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return PadButton::dpadRight;
        case SDL_CONTROLLER_BUTTON_A:
            return PadButton::south;
        case SDL_CONTROLLER_BUTTON_B:
            return PadButton::east;
        default:
            return PadButton::other;
    }
}

PadAxis axisOf(Uint8 axis) {
    return axis == SDL_CONTROLLER_AXIS_LEFTX   ? PadAxis::leftX
           : axis == SDL_CONTROLLER_AXIS_LEFTY ? PadAxis::leftY
                                               : PadAxis::other;
}

void openFirstPresent() {
    for (int index = 0; index < SDL_NumJoysticks() && !controller; ++index) {
        if (!SDL_IsGameController(index)) continue;
        controller = SDL_GameControllerOpen(index);
        if (controller) controllerId = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    }
}

bool ours(SDL_JoystickID which) { return controller && which == controllerId; }

}  // namespace

namespace sdlhost {

void openGamepad() {
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
    if (!controller) openFirstPresent();
}

bool gamepadEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            if (!controller) openFirstPresent();
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            if (ours(event.cdevice.which)) {
                SDL_GameControllerClose(controller);
                controller = nullptr;
                gamepadReleased();
                openFirstPresent();  // another one still plugged in takes over
            }
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (ours(event.cbutton.which))
                gamepadButton(buttonOf(event.cbutton.button), event.type == SDL_CONTROLLERBUTTONDOWN);
            return true;
        case SDL_CONTROLLERAXISMOTION:
            if (ours(event.caxis.which)) gamepadAxis(axisOf(event.caxis.axis), event.caxis.value);
            return true;
        default:
            return false;
    }
}

}  // namespace sdlhost

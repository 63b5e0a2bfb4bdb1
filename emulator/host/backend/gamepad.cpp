// The game controller as a joystick: the d-pad and the stick for the directions, either
// of the two lower face buttons for fire.
#include "host/backend/gamepad.h"

#include "platform/platform.h"

namespace {

// About a quarter of the stick's travel: a worn stick at rest stays centred.
constexpr int16_t deadZone = 8000;
constexpr int buttonCount = static_cast<int>(PadButton::other);

struct Pad {
    bool held[buttonCount] = {};
    int16_t x = 0, y = 0;
};
Pad pad;

bool held(PadButton button) { return pad.held[static_cast<int>(button)]; }

}  // namespace

void gamepadButton(PadButton button, bool down) {
    if (button != PadButton::other) pad.held[static_cast<int>(button)] = down;
}

void gamepadAxis(PadAxis axis, int16_t value) {
    if (axis == PadAxis::leftX) pad.x = value;
    if (axis == PadAxis::leftY) pad.y = value;
}

void gamepadReleased() { pad = Pad{}; }

uint8_t gamepadBits() {
    uint8_t bits = 0;
    if (held(PadButton::dpadUp) || pad.y < -deadZone) bits |= platform::gamepadUp;
    if (held(PadButton::dpadDown) || pad.y > deadZone) bits |= platform::gamepadDown;
    if (held(PadButton::dpadLeft) || pad.x < -deadZone) bits |= platform::gamepadLeft;
    if (held(PadButton::dpadRight) || pad.x > deadZone) bits |= platform::gamepadRight;
    if (held(PadButton::south) || held(PadButton::east)) bits |= platform::gamepadFire;
    return bits;
}

#pragma once
// A game controller's d-pad, face buttons and left stick turned into the joystick bits of
// platform::gamepadState. A backend hands over its controller's events as they come;
// keeping the mapping here keeps it the same for every backend, and testable.
#include <cstdint>

enum class PadButton : uint8_t { dpadUp, dpadDown, dpadLeft, dpadRight, south, east, other };
enum class PadAxis : uint8_t { leftX, leftY, other };

void gamepadButton(PadButton button, bool down);
// -32768..32767; left and up are negative. Within the dead zone the stick counts as centred.
void gamepadAxis(PadAxis axis, int16_t value);
// The controller went away: nothing is held any more.
void gamepadReleased();
// platform::GamepadBits of what is held now.
uint8_t gamepadBits();

#pragma once
#include <array>
#include <cstdint>

#include "state/machine.h"

// defined in ted/keyboard.cpp
// Scan code -> matrix position (column * 8 + row), $FF for keys that press nothing.
extern const std::array<uint8_t, 256> keyMap;

// The $FF08 write: scans the rows selected by the latch at $FD30 and the joystick.
void scanKeyboard(uint8_t value);

constexpr uint8_t gamepadFireBit = 0x10;

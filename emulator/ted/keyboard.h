#pragma once
#include <array>
#include <cstdint>

extern uint8_t keyState[256];  // DirectInput scan codes, non-zero when down
extern uint16_t shiftLock;
extern int32_t joystickMode;  // 0 none, 1 port 1, 2 port 2
// Scan code -> matrix position (column * 8 + row), $FF for keys that press nothing.
extern std::array<uint8_t, 256> keyMap;

// Reads the host keyboard into keyState; re-acquires on lost input.
void pollKeyboard();
uint8_t rowScan(int row);
// The $FF08 write: scans the rows selected by the latch at $FD30 and the joystick.
void scanKeyboard(uint8_t value);

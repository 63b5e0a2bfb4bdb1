#pragma once
#include <array>
#include <cstdint>

// The keyboard matrix and the joystick on host keys, one instance.
struct Keyboard {
    uint8_t keyState[256] = {};  // DirectInput scan codes, non-zero when down
    uint16_t shiftLock = 0;
    int32_t joystickMode = 0;    // 0 none, 1 port 1, 2 port 2
    uint16_t capsLockLatch = 0;  // Caps Lock was down at the last scan
};

// defined in ted/keyboard.cpp
extern Keyboard keyboard;
// Scan code -> matrix position (column * 8 + row), $FF for keys that press nothing.
extern std::array<uint8_t, 256> keyMap;

// Reads the host keyboard into keyboard.keyState; a failed read keeps the previous keys.
void pollKeyboard();
uint8_t rowScan(int row);
// The $FF08 write: scans the rows selected by the latch at $FD30 and the joystick.
void scanKeyboard(uint8_t value);

// The host's keys, one byte per DirectInput scan code, non-zero when down; false when the
// read failed and filled nothing (defined over the platform in shell/keyboard_input.cpp).
bool readHostKeyboard(uint8_t state[256]);
// The host's game controller as joystick bits, set while held: up 1, down 2, left 4,
// right 8, fire 16; 0 without one (defined over the platform in shell/keyboard_input.cpp).
// It drives the joystick port the Joystick setting selects, port 1 when that is none.
constexpr uint8_t gamepadFireBit = 0x10;
uint8_t readHostGamepad();

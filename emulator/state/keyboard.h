#pragma once
// The keyboard's state; the scan is ted/keyboard.h.
#include <cstdint>

// The keyboard matrix and the joystick on host keys. The host's keys and
// game controller are pushed in by the main loop between two frames; a scan reads them
// as they are.
struct Keyboard {
    uint8_t keyState[256] = {};  // DirectInput scan codes, non-zero when down
    // The host's game controller as joystick bits, set while held: up 1, down 2, left 4,
    // right 8, fire 16; 0 without one. It drives the joystick port the Joystick setting
    // selects, port 1 when that is none.
    uint8_t gamepad = 0;
    // A scan has read the keys since they were last pushed in: the host's keys may move on.
    bool scanned = true;
    uint16_t shiftLock = 0;
    int32_t joystickMode = 0;  // 0 none, 1 port 1, 2 port 2
    // The host keys of each port's joystick: up, down, left, right, fire, as scan codes
    // (a code outside 0..255 names no key).
    int32_t joystickKeys[2][5] = {};
    uint16_t capsLockLatch = 0;  // Caps Lock was down at the last scan
};

#pragma once
#include <cstdint>

// Host key codes (DirectInput scan codes) the menus and the monitor read.
namespace key {
constexpr uint8_t escape = 0x01, backspace = 0x0E, tab = 0x0F, enter = 0x1C, space = 0x39;
constexpr uint8_t rightShift = 0x36;
constexpr uint8_t f1 = 0x3B, f2 = 0x3C, f3 = 0x3D, f4 = 0x3E, f5 = 0x3F, f6 = 0x40, f7 = 0x41, f8 = 0x42;
constexpr uint8_t home = 0xC7, up = 0xC8, pageUp = 0xC9, left = 0xCB, right = 0xCD, end = 0xCF, down = 0xD0,
                  pageDown = 0xD1;

// The digit and letter keys, as they lie on the keyboard's rows.
constexpr uint8_t digits[10] = {0x0B, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A};  // 0-9
constexpr uint8_t letters[26] = {
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,  // A-M
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C,  // N-Z
};
constexpr uint8_t letter(char c) { return letters[c - 'A']; }
// The key that types a digit, a capital letter or a space.
constexpr uint8_t forCharacter(char c) { return c == ' ' ? space : c <= '9' ? digits[c - '0'] : letter(c); }
constexpr char hexCharacters[] = "0123456789ABCDEF";
}  // namespace key

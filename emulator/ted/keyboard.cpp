// The host's keys as the machine's 8 x 8 matrix, read at each $FF08 write, with a
// joystick on host keys and the host Caps Lock as SHIFT LOCK.
#include "ted/keyboard.h"

#include <bitset>

#include "memory/memory.h"
#include "ted/ted.h"

namespace {

constexpr uint8_t none = 0xFF;
constexpr uint8_t capsLock = 0x3A;
constexpr int shiftPosition = 7 * 8 + 1;  // column 7, row 1

// The host scan codes that press each matrix position: one line per row (the $FD30
// bit), one cell per column (the $FF08 bit). The pound key has no host key.
struct HostKeys {
    uint8_t first = 0, second = 0;
};
// clang-format off
constexpr HostKeys matrixKeys[8][8] = {
    // col 0       col 1         col 2   col 3         col 4         col 5   col 6         col 7
    {{0x0E},       {0x1C, 0x9C}, {},     {0x3E},       {0x3B},       {0x3C}, {0x3D},       {0x0C}},        // DEL RETURN pound HELP F1 F2 F3 @
    {{0x04},       {0x11},       {0x1E}, {0x05},       {0x2C},       {0x1F}, {0x12},       {0x2A, 0x36}},  // 3 W A 4 Z S E SHIFT
    {{0x06},       {0x13},       {0x20}, {0x07},       {0x2E},       {0x21}, {0x14},       {0x2D}},        // 5 R D 6 C F T X
    {{0x08},       {0x15},       {0x22}, {0x09},       {0x30},       {0x23}, {0x16},       {0x2F}},        // 7 Y G 8 B H U V
    {{0x0A},       {0x17},       {0x24}, {0x0B},       {0x32},       {0x25}, {0x18},       {0x31}},        // 9 I J 0 M K O N
    {{0x50, 0xD0}, {0x19},       {0x26}, {0x48, 0xC8}, {0x34},       {0x27}, {0x1B, 0x4A}, {0x33}},        // down P L up . : - ,
    {{0x4B, 0xCB}, {0x2B, 0x37}, {0x28}, {0x4D, 0xCD}, {0x29},       {0x0D}, {0x1A, 0x4E}, {0x35, 0xB5}},  // left * ; right ESC = + /
    {{0x02},       {0x47, 0xC7}, {0x1D}, {0x03},       {0x39, 0x52}, {0x38}, {0x10},       {0x0F}},        // 1 HOME CTRL 2 SPACE C= Q STOP
};
// clang-format on

}  // namespace

// Scan code -> matrix position (column * 8 + row), $FF for keys that press nothing.
constexpr std::array<uint8_t, 256> buildKeyMap() {
    std::array<uint8_t, 256> map{};
    for (auto& entry : map) entry = none;
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column) {
            const HostKeys& keys = matrixKeys[row][column];
            uint8_t position = static_cast<uint8_t>(column * 8 + row);
            if (keys.first) map[keys.first] = position;
            if (keys.second) map[keys.second] = position;
        }
    return map;
}
const std::array<uint8_t, 256> keyMap = buildKeyMap();

namespace {

struct JoystickPort {
    int index;          // into keyboard.joystickKeys
    uint8_t selectBit;  // the $FF08 bit written low to read this port
    uint8_t fireBit;
};
constexpr JoystickPort ports[2] = {{0, 0x01, 0x40}, {1, 0x02, 0x80}};
constexpr uint8_t directionBits[4] = {0x01, 0x02, 0x04, 0x08};

// A stored code outside the scan-code range names no key.
bool validCode(int32_t code) { return code >= 0 && code <= 255; }

// Keys a scan leaves out of the matrix, one bit per scan code.
using KeyMask = std::bitset<256>;

// The Caps Lock key toggles SHIFT LOCK once per press, at the first scan that sees it.
void followCapsLock() {
    if (keyboard.keyState[capsLock]) {
        if (!keyboard.capsLockLatch) {
            keyboard.shiftLock ^= 1;
            keyboard.capsLockLatch = 1;
        }
    } else {
        keyboard.capsLockLatch = 0;
    }
}

// The columns of the selected rows pulled low by the keys down, less the ignored ones.
uint8_t scanRows(uint8_t latch, const KeyMask& ignored) {
    if (latch == 0xFF) return 0xFF;  // no row selected: nothing is read
    uint8_t rows[8] = {};            // per row, the columns of the keys down
    for (int code = 0; code < 256; ++code) {
        const uint8_t position = keyMap[code];
        if (keyboard.keyState[code] && position != none && !ignored[code])
            rows[position & 7] |= static_cast<uint8_t>(1 << (position >> 3));
    }
    followCapsLock();
    if (keyboard.shiftLock) rows[shiftPosition & 7] |= static_cast<uint8_t>(1 << (shiftPosition >> 3));
    uint8_t columns = 0;
    for (int row = 0; row < 8; ++row)
        if (!(latch & (1 << row))) columns |= rows[row];
    return static_cast<uint8_t>(~columns);
}

// Port 1 answers to bit 0 and to bit 2 of the written value.
bool portSelected(const JoystickPort& port, uint8_t value) {
    return !(value & port.selectBit) || (port.selectBit == 0x01 && !(value & 0x04));
}

// The game controller, and the port's keys while the joystick is emulated on them, pull
// its bits low together.
uint8_t applyJoystick(const JoystickPort& port, uint8_t result, bool withKeys) {
    for (int i = 0; i < 5; ++i) {
        const int32_t code = keyboard.joystickKeys[port.index][i];
        const bool keyDown = withKeys && validCode(code) && keyboard.keyState[code];
        if (keyDown || (keyboard.gamepad & (i < 4 ? directionBits[i] : gamepadFireBit)))
            result &= static_cast<uint8_t>(~(i < 4 ? directionBits[i] : port.fireBit));
    }
    return result;
}

// The joystick's keys leave the matrix while it is emulated, so they never type.
KeyMask joystickKeys(const JoystickPort& port) {
    KeyMask mask;
    for (const int32_t code : keyboard.joystickKeys[port.index])
        if (validCode(code)) mask.set(static_cast<size_t>(code));
    return mask;
}

}  // namespace

void scanKeyboard(uint8_t value) {
    keyboard.scanned = true;
    uint8_t latch = memory.ram ? memory.ram[keyboardLatch] : 0xFF;
    uint8_t result = 0xFF;
    if (keyboard.joystickMode == 0) {
        result = scanRows(latch, KeyMask{});
        // Without a joystick on keys, a game controller still plays on port 1.
        if (portSelected(ports[0], value)) result = applyJoystick(ports[0], result, false);
    } else if (keyboard.joystickMode == 1 || keyboard.joystickMode == 2) {
        const JoystickPort& port = ports[keyboard.joystickMode - 1];
        result = scanRows(latch, joystickKeys(port));
        if (portSelected(port, value)) result = applyJoystick(port, result, true);
    }
    if (memory.ram) memory.ram[tedKeyboard] = result;
}

#pragma once
// What the emulator takes for a setting missing from the store, and the setup program
// shows for it, so both agree on what a fresh install does. Settings only one program
// reads keep their defaults in its own table.

#include <cstdint>

namespace keystore::defaults {

constexpr uint32_t screenMode = 0;
constexpr uint32_t priority = 0;
constexpr uint32_t soundEmulation = 1;
constexpr uint32_t debugger = 0;
constexpr uint32_t sync = 2;  // paced at the real machine's speed
constexpr uint32_t modeX = 0;
constexpr uint32_t ram = 2;  // the 64 KB machine
constexpr uint32_t palRom = 1;
constexpr uint32_t joystick = 0;
constexpr uint32_t log = 0;
constexpr uint32_t driveType8 = 0;
constexpr uint32_t palette = 0;
constexpr uint32_t clock = 0;
constexpr uint32_t trueDrive8 = 0;   // drive 8 at the port level
constexpr uint32_t windowed = 0;     // full screen
constexpr uint32_t windowScale = 0;  // the largest whole multiple of the picture that fits the screen
constexpr uint32_t highestWindowScale = 8;

}  // namespace keystore::defaults

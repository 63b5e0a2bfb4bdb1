#pragma once
#include <cstdint>

// The ways the machine is started again. Each unit has one reset function that takes
// this; machine/power.cpp calls them in order.
enum class Reset : uint8_t {
    powerOn,  // start-up: everything from scratch
    hard,     // Shift+F11: a cold start that refills RAM with the power-on pattern
    special,  // Ctrl+F11: a cold start that keeps RAM, so a crashed program can be examined
    soft,     // F11: the processor's reset line only
};

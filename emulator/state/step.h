#pragma once
// What the step carries from one call to the next (machine/step.h).
#include <cstdint>

struct StepState {
    uint16_t oddCycle = 0;  // half a single-clock cycle carried between double-clock halvings
    // The count the last step left, which the monitor shows. After a double-clock pair it
    // is half the pair, its odd cycle dropped.
    uint16_t stepCycles = 0;
    uint16_t breakpointAddress = 0;  // the monitor's one breakpoint
    uint8_t breakpointEnabled = 0;
    // 1: a line ended on the frame's last; the step that ends there reports the frame
    // complete and sets 2: the next step only draws and tests the breakpoint.
    uint8_t frameEnd = 0;
};

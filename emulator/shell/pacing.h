#pragma once
// Waits on the performance counter and the display, and the waits the main loop asks for.
#include <cstdint>

// Returns once the counter has reached `deadline` (a deadline already passed returns at
// once): sleeps through all but the last moment and reads the counter in a loop only
// then, so the deadline is kept to a few microseconds at little cost.
void waitUntilCounter(uint64_t deadline);
// Sleeps until about `deadline`, without the loop at the end: for waits whose exact end
// does not matter (the passes of a menu).
void sleepUntilCounter(uint64_t deadline);
// Waits until the display's next vertical blank begins, retrying while the wait fails; a
// display that never reports one does not stop the machine.
void waitVerticalBlank();

// What the main loop waits for before its next turn. The program performs it: the desktop
// sleeps or blocks (performWait), a browser page takes it as its next animation frame.
struct Wait {
    enum Kind : uint8_t {
        none,           // the next turn may follow at once
        verticalBlank,  // the display's next vertical blank
        counter,        // the counter at `deadline`, kept closely (the 50 Hz speed sync)
        sleep,          // the counter at about `deadline` (a menu's next pass)
        message,        // a window message
    };
    Kind kind = none;
    uint64_t deadline = 0;
};
void performWait(const Wait& wait);

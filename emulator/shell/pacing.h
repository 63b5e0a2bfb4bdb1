#pragma once
// Waits on the performance counter that give the processor away while they last.
#include <cstdint>

// Returns once the counter has reached `deadline` (a deadline already passed returns at
// once): sleeps through all but the last moment and reads the counter in a loop only
// then, so the deadline is kept to a few microseconds at little cost.
void waitUntilCounter(uint64_t deadline);
// Sleeps until about `deadline`, without the loop at the end: for waits whose exact end
// does not matter (the passes of a menu).
void sleepUntilCounter(uint64_t deadline);

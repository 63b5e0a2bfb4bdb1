#pragma once
// The true drive's idle watch (truedrive/drive_idle.h).
#include <array>
#include <cstdint>

// A state seen at a visit of the anchor.
struct IdleState {
    uint64_t state = 0;       // the hash of the drive's state
    uint64_t cycle = 0;       // the drive cycle of the visit
    uint32_t generation = 0;  // the watch it belongs to (older ones are free slots)
    uint32_t interrupts = 0;  // interrupts taken before it: a loop is timed between two
    uint32_t period = 0;      // the cycles of its loop, once the state came back
};

struct DriveIdle {
    static constexpr uint32_t statesKept = 2048;  // a few loops of 256 states (a byte counter)

    uint16_t anchor = 0;     // the address whose visits are compared
    uint64_t lastVisit = 0;  // drive cycle of the last visit (or of the watch's start)
    bool parked = false;     // the processor stands at the anchor while time passes
    uint64_t parkedAt = 0;   // drive cycle the park began
    uint32_t period = 0;     // the cycles of the loop parked in
    bool disturbed = false;  // a timer was read or a chip changed since the watch began
    uint32_t inputs = 0;     // the lines from outside as the watch found them
    uint64_t ramHash = 0;    // of the drive's RAM, kept up at each write (0: all zero)
    uint32_t generation = 1, interrupts = 0, states = 0;
    std::array<IdleState, statesKept> seen{};  // open addressing by the state's hash
};

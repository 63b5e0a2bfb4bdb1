#pragma once
// A drive's mechanics over a GCR disk: the stepper that moves the head by half-tracks,
// the spindle motor, and the bytes passing under the head at the rate the density
// bits choose. Both true drives use it; they differ only in their clock.
#include <cstdint>

#include "disk/gcr.h"

namespace gcr {

struct Head {
    int halfTrack = 36;  // over track 18, where a drive's head rests after its power-on bump
    uint8_t phase = 0;   // the stepper phase the head sits at
    bool motor = false;
    bool writing = false;       // the head writes `output` instead of reading
    uint8_t density = 0;        // 0-3: the bit rate, slowest to fastest
    uint8_t clockMultiple = 1;  // drive cycles per microsecond: 1 for a 1541, 2 for a 1551
    uint32_t position = 0;      // the byte under the head, on the current track
    uint32_t cycles = 0;        // drive cycles since that byte began
    uint8_t input = 0;          // the last byte read (what the data port shows)
    uint8_t output = 0xFF;      // the byte a write puts down
    uint8_t previous = 0;
    bool sync = false;  // ten or more ones in a row under the head
};

// The stepper's phase changed: one phase on moves the head a half-track in, one back moves
// it out; the head stops at track 1 and past the last track a drive can reach.
void setPhase(Head& head, const Disk& disk, uint8_t phase);

// The disk turns for `cycles` drive cycles. Returns how many bytes were completed that are
// not part of a sync mark: each one raises the drive's byte-ready signal.
uint32_t turn(Head& head, Disk& disk, uint32_t cycles);

// Drive cycles one byte takes at the head's density.
constexpr uint32_t cyclesPerByte(const Head& head) {
    return uint32_t(32 - 2 * head.density) * head.clockMultiple;
}

}  // namespace gcr

#pragma once
// What every backend's sound channels share: the limits of the DirectSound calls and
// the lock of a whole buffer.
#include <cstdint>

#include "host/platform.h"

namespace backend {

constexpr int32_t silentVolume = -10000;                       // hundredths of a decibel
constexpr uint32_t highestRate = platform::maxSoundFrequency;  // samples per second

inline bool validPan(int32_t pan) { return pan >= -10000 && pan <= 10000; }
inline bool validVolume(int32_t hundredths) { return hundredths >= silentVolume && hundredths <= 0; }

// A lock of the whole buffer: one part, the second one empty.
inline platform::Result lendWholeBuffer(int16_t* samples, uint32_t bytes, int16_t*& part1, uint32_t& bytes1,
                                        int16_t*& part2, uint32_t& bytes2) {
    part1 = samples;
    bytes1 = bytes;
    part2 = nullptr;
    bytes2 = 0;
    return platform::ok;
}

}  // namespace backend

#pragma once
// What every backend's sound channels share: the three looping 1,024-sample buffers at
// 44,100 Hz, which of them exist, their rates and attenuations, and the checks of the
// DirectSound calls. A backend plays them: it mixes them itself or hands the changes on.
#include <atomic>
#include <cstdint>

#include "platform/platform.h"

namespace backend {

constexpr int32_t silentVolume = -10000;                       // hundredths of a decibel
constexpr uint32_t highestRate = platform::maxSoundFrequency;  // samples per second
constexpr int bufferRate = 44100;
constexpr uint32_t bufferSamples = 1024;

inline bool validPan(int32_t pan) { return pan >= -10000 && pan <= 10000; }
inline bool validVolume(int32_t hundredths) { return hundredths >= silentVolume && hundredths <= 0; }

// One channel; what a mixing thread reads is atomic.
struct SoundChannel {
    std::atomic<bool> exists{false};
    std::atomic<bool> playing{false};
    std::atomic<uint32_t> rate{bufferRate};
    std::atomic<int32_t> volume{silentVolume};
    int16_t written[bufferSamples] = {};  // what the set-up writes between lock and unlock
};

// Channels 1..3 of an opened device. Each call answers as DirectSound would; a change
// reports whether it changed anything, so a backend hands on only what did.
class SoundChannels {
public:
    bool opened = false;

    SoundChannel& operator[](int channel) { return channels[channel]; }
    bool valid(int channel) const {
        return opened && channel >= 1 && channel <= 3 && channels[channel].exists.load();
    }
    // A new buffer: silent samples, the buffer's own rate, full volume until told otherwise.
    platform::Result create(int channel);
    // A lock of the whole buffer: one part, the second one empty.
    platform::Result lock(int channel, int16_t*& part1, uint32_t& bytes1, int16_t*& part2, uint32_t& bytes2);
    platform::Result setRate(int channel, uint32_t samplesPerSecond, bool& changed);
    // The output is mono; the centre is the only position it has.
    platform::Result setPan(int channel, int32_t pan) const;
    platform::Result setVolume(int channel, int32_t hundredths, bool& changed);
    platform::Result volume(int channel, int32_t& hundredths) const;
    platform::Result play(int channel);
    // Every channel gone, the device closed.
    void release();

private:
    SoundChannel channels[4];
};

}  // namespace backend

#pragma once
// What every backend's sound shares: the three voices, each a looping 1,024-sample buffer
// at 44,100 Hz played at a rate of its own and an attenuation, and the checks of every
// change. platform::openSound and the voice calls are defined in
// host/backend/sound_buffer.cpp over what each backend does for itself: it mixes the
// voices itself or hands the changes on.
#include <atomic>
#include <cstdint>

#include "platform/platform.h"

namespace backend {

constexpr int bufferRate = platform::voiceRate;
constexpr uint32_t bufferSamples = platform::voiceSamples;

// One voice; what a mixing thread reads is atomic.
struct SoundChannel {
    std::atomic<bool> exists{false};
    std::atomic<bool> playing{false};
    std::atomic<uint32_t> rate{bufferRate};
    std::atomic<int32_t> volume{platform::silentVolume};
    int16_t written[bufferSamples] = {};  // the loop as the set-up gave it
};

// Voices 1..3 (0 is unused).
extern SoundChannel soundChannels[4];

// Defined by each backend: the device opened (false when there is none) and closed; a
// voice's loop written, its rate or volume changed, and its playing begun.
bool openSoundDevice();
void closeSoundDevice();
void loopWritten(int voice);
void voiceChanged(int voice);
void voiceStarted(int voice);

}  // namespace backend

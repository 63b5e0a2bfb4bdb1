// The voices' bookkeeping both backends keep.
#include "host/backend/sound_buffer.h"

#include <algorithm>

namespace backend {

SoundChannel soundChannels[4];

}  // namespace backend

namespace {

using backend::soundChannels;

bool opened = false;

bool valid(int voice) { return opened && voice >= 1 && voice <= 3 && soundChannels[voice].exists.load(); }

// A new voice plays its loop at the loop's own rate, centred and silent until told otherwise.
void startVoice(int voice, const int16_t* loop) {
    backend::SoundChannel& channel = soundChannels[voice];
    std::copy(loop, loop + backend::bufferSamples, channel.written);
    channel.rate = backend::bufferRate;
    channel.volume = platform::silentVolume;
    channel.exists = true;
    backend::loopWritten(voice);
    backend::voiceChanged(voice);
    channel.playing = true;
    backend::voiceStarted(voice);
}

}  // namespace

namespace platform {

SoundReport openSound(const SoundSetUp& setUp) {
    SoundReport report;
    if (!opened && !backend::openSoundDevice()) {
        report.result = failed;
        report.failedAt = soundObject;
        return report;
    }
    opened = true;
    for (int voice = 1; voice <= 3; ++voice) startVoice(voice, setUp.loops[voice - 1]);
    return report;
}

bool voicePlays(int voice) { return valid(voice); }

Result setVoiceRate(int voice, uint32_t samplesPerSecond) {
    if (!valid(voice) || samplesPerSecond > maxVoiceRate) return failed;
    if (soundChannels[voice].rate.exchange(samplesPerSecond, std::memory_order_relaxed) != samplesPerSecond)
        backend::voiceChanged(voice);
    return ok;
}

Result setVoiceVolume(int voice, int32_t hundredthsOfDecibel) {
    if (!valid(voice) || hundredthsOfDecibel < silentVolume || hundredthsOfDecibel > 0) return failed;
    if (soundChannels[voice].volume.exchange(hundredthsOfDecibel, std::memory_order_relaxed) !=
        hundredthsOfDecibel)
        backend::voiceChanged(voice);
    return ok;
}

void closeSound() {
    if (!opened) return;
    backend::closeSoundDevice();  // a mixing thread stops before the voices go
    opened = false;
    for (int voice = 1; voice <= 3; ++voice) {
        soundChannels[voice].exists = false;
        soundChannels[voice].playing = false;
    }
}

}  // namespace platform

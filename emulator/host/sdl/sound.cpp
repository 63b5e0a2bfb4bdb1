// The three voices mixed by the SDL audio thread, each loop played at its own rate
// through a phase accumulator and attenuated in hundredths of a decibel. After set-up
// the emulator only changes rate and volume, which the mixer reads as they are.
#include <cmath>
#include <cstring>

#include "host/backend/sound_buffer.h"
#include "host/sdl/sdl_host.h"

namespace {

using backend::bufferRate;
using backend::bufferSamples;

SDL_AudioDeviceID device = 0;
// What the mixer plays, per channel: written only under the device lock.
int16_t played[4][bufferSamples];
uint64_t phase[4];  // 32.32 fixed-point sample positions, mixer thread only

float gainOf(int32_t hundredths) {
    return hundredths <= platform::silentVolume ? 0.0f
                                                : std::pow(10.0f, static_cast<float>(hundredths) / 2000.0f);
}

void mix(void*, Uint8* stream, int bytes) {
    int16_t* out = reinterpret_cast<int16_t*>(stream);
    int count = bytes / 2;
    int32_t sum[1024];
    for (int done = 0; done < count;) {
        int block = count - done < 1024 ? count - done : 1024;
        std::memset(sum, 0, sizeof(int32_t) * block);
        for (int c = 1; c <= 3; ++c) {
            const backend::SoundChannel& channel = backend::soundChannels[c];
            if (!channel.exists || !channel.playing.load(std::memory_order_relaxed)) continue;
            float gain = gainOf(channel.volume.load(std::memory_order_relaxed));
            uint64_t step = (uint64_t(channel.rate.load(std::memory_order_relaxed)) << 32) / bufferRate;
            for (int i = 0; i < block; ++i) {
                if (gain > 0.0f)
                    sum[i] += static_cast<int32_t>(played[c][(phase[c] >> 32) % bufferSamples] * gain);
                phase[c] = (phase[c] + step) % (uint64_t(bufferSamples) << 32);
            }
        }
        for (int i = 0; i < block; ++i)
            out[done + i] = static_cast<int16_t>(sum[i] < -32768 ? -32768 : sum[i] > 32767 ? 32767 : sum[i]);
        done += block;
    }
}

}  // namespace

bool backend::openSoundDevice() {
    if (device) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{}, have{};
    want.freq = bufferRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 512;
    want.callback = mix;
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!device) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

void backend::loopWritten(int voice) {
    SDL_LockAudioDevice(device);
    std::memcpy(played[voice], soundChannels[voice].written, sizeof played[voice]);
    SDL_UnlockAudioDevice(device);
}

void backend::voiceChanged(int) {}

void backend::voiceStarted(int) { SDL_PauseAudioDevice(device, 0); }

void backend::closeSoundDevice() {
    if (!device) return;
    SDL_CloseAudioDevice(device);  // stops the mixer thread before the voices go
    device = 0;
    for (uint64_t& position : phase) position = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Three looping 1,024-sample buffers mixed by the SDL audio thread, each played
// at its own rate through a phase accumulator and attenuated in hundredths of a
// decibel. After set-up the emulator only changes rate and volume.
#include <cmath>
#include <cstring>

#include "host/backend/sound_buffer.h"
#include "host/sdl/sdl_host.h"

namespace {

using backend::bufferRate;
using backend::bufferSamples;

SDL_AudioDeviceID device = 0;
backend::SoundChannels channels;
// What the mixer plays, per channel: written only under the device lock.
int16_t played[4][bufferSamples];
uint64_t phase[4];  // 32.32 fixed-point sample positions, mixer thread only

float gainOf(int32_t hundredths) {
    return hundredths <= backend::silentVolume ? 0.0f
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
            const backend::SoundChannel& channel = channels[c];
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

namespace platform {

Result directSoundCreate() {
    if (device) return ok;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return failed;
    SDL_AudioSpec want{}, have{};
    want.freq = bufferRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 512;
    want.callback = mix;
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!device) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return failed;
    }
    channels.opened = true;
    return ok;
}

Result setSoundCooperativeLevel() { return device ? ok : failed; }

Result createSoundBuffer(int channel) { return channels.create(channel); }

Result lockSoundBuffer(int channel, int16_t*& part1, uint32_t& bytes1, int16_t*& part2, uint32_t& bytes2) {
    return channels.lock(channel, part1, bytes1, part2, bytes2);
}

Result unlockSoundBuffer(int channel) {
    if (!channels.valid(channel)) return failed;
    SDL_LockAudioDevice(device);
    std::memcpy(played[channel], channels[channel].written, sizeof played[channel]);
    SDL_UnlockAudioDevice(device);
    return ok;
}

Result setSoundFrequency(int channel, uint32_t samplesPerSecond) {
    bool changed = false;
    return channels.setRate(channel, samplesPerSecond, changed);
}

Result setSoundPan(int channel, int32_t pan) { return channels.setPan(channel, pan); }

Result setSoundVolume(int channel, int32_t hundredthsOfDecibel) {
    bool changed = false;
    return channels.setVolume(channel, hundredthsOfDecibel, changed);
}

Result getSoundVolume(int channel, int32_t& hundredthsOfDecibel) {
    return channels.volume(channel, hundredthsOfDecibel);
}

Result playSoundLooping(int channel) {
    if (Result r = channels.play(channel); r != ok) return r;
    SDL_PauseAudioDevice(device, 0);
    return ok;
}

bool soundChannelExists(int channel) { return channels.valid(channel); }

void releaseSound() {
    if (!device) return;
    SDL_CloseAudioDevice(device);  // stops the mixer thread before the channels go
    device = 0;
    channels.release();
    for (uint64_t& position : phase) position = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace platform

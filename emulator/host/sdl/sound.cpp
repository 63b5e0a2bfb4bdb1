// Three looping 1,024-sample buffers mixed by the SDL audio thread, each played
// at its own rate through a phase accumulator and attenuated in hundredths of a
// decibel. After set-up the emulator only changes rate and volume.
#include <atomic>
#include <cmath>
#include <cstring>

#include "host/backend/sound_buffer.h"
#include "host/sdl/sdl_host.h"

namespace {

constexpr int outputRate = 44100;
constexpr uint32_t bufferSamples = 1024;
constexpr int32_t silent = backend::silentVolume;

struct Channel {
    std::atomic<bool> exists{false};
    int16_t staging[bufferSamples] = {};  // what the set-up writes between lock and unlock
    int16_t samples[bufferSamples] = {};  // what the mixer plays; written only under the device lock
    std::atomic<uint32_t> rate{outputRate};
    std::atomic<int32_t> volume{silent};
    std::atomic<bool> playing{false};
    uint64_t phase = 0;  // 32.32 fixed-point sample position, mixer thread only
};

SDL_AudioDeviceID device = 0;
Channel channels[4];  // 1..3

bool valid(int channel) { return channel >= 1 && channel <= 3 && device && channels[channel].exists; }

float gainOf(int32_t hundredths) {
    return hundredths <= silent ? 0.0f : std::pow(10.0f, static_cast<float>(hundredths) / 2000.0f);
}

void mix(void*, Uint8* stream, int bytes) {
    int16_t* out = reinterpret_cast<int16_t*>(stream);
    int count = bytes / 2;
    int32_t sum[1024];
    for (int done = 0; done < count;) {
        int block = count - done < 1024 ? count - done : 1024;
        std::memset(sum, 0, sizeof(int32_t) * block);
        for (int c = 1; c <= 3; ++c) {
            Channel& channel = channels[c];
            if (!channel.exists || !channel.playing.load(std::memory_order_relaxed)) continue;
            float gain = gainOf(channel.volume.load(std::memory_order_relaxed));
            uint64_t step = (uint64_t(channel.rate.load(std::memory_order_relaxed)) << 32) / outputRate;
            for (int i = 0; i < block; ++i) {
                if (gain > 0.0f)
                    sum[i] +=
                        static_cast<int32_t>(channel.samples[(channel.phase >> 32) % bufferSamples] * gain);
                channel.phase = (channel.phase + step) % (uint64_t(bufferSamples) << 32);
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
    want.freq = outputRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 512;
    want.callback = mix;
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!device) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return failed;
    }
    return ok;
}

Result setSoundCooperativeLevel() { return device ? ok : failed; }

Result createSoundBuffer(int channel) {
    if (!device || channel < 1 || channel > 3) return failed;
    Channel& c = channels[channel];
    std::memset(c.staging, 0, sizeof c.staging);
    c.rate = outputRate;
    c.volume = 0;  // a new buffer plays at full volume until told otherwise
    c.playing = false;
    c.exists = true;
    return ok;
}

Result lockSoundBuffer(int channel, int16_t*& part1, uint32_t& bytes1, int16_t*& part2, uint32_t& bytes2) {
    if (!valid(channel)) return failed;
    Channel& c = channels[channel];
    return backend::lendWholeBuffer(c.staging, sizeof c.staging, part1, bytes1, part2, bytes2);
}

Result unlockSoundBuffer(int channel) {
    if (!valid(channel)) return failed;
    SDL_LockAudioDevice(device);
    std::memcpy(channels[channel].samples, channels[channel].staging, sizeof channels[channel].samples);
    SDL_UnlockAudioDevice(device);
    return ok;
}

Result setSoundFrequency(int channel, uint32_t samplesPerSecond) {
    if (!valid(channel) || samplesPerSecond > backend::highestRate) return failed;
    channels[channel].rate.store(samplesPerSecond, std::memory_order_relaxed);
    return ok;
}

// The mixer's output is mono; the centre is the only position it has.
Result setSoundPan(int channel, int32_t pan) {
    return valid(channel) && backend::validPan(pan) ? ok : failed;
}

Result setSoundVolume(int channel, int32_t hundredthsOfDecibel) {
    if (!valid(channel) || !backend::validVolume(hundredthsOfDecibel)) return failed;
    channels[channel].volume.store(hundredthsOfDecibel, std::memory_order_relaxed);
    return ok;
}

Result getSoundVolume(int channel, int32_t& hundredthsOfDecibel) {
    if (!valid(channel)) return failed;
    hundredthsOfDecibel = channels[channel].volume.load(std::memory_order_relaxed);
    return ok;
}

Result playSoundLooping(int channel) {
    if (!valid(channel)) return failed;
    channels[channel].playing = true;
    SDL_PauseAudioDevice(device, 0);
    return ok;
}

bool soundChannelExists(int channel) { return valid(channel); }

void releaseSound() {
    if (!device) return;
    SDL_CloseAudioDevice(device);  // stops the mixer thread before the channels go
    device = 0;
    for (int c = 1; c <= 3; ++c) {
        channels[c].exists = false;
        channels[c].playing = false;
        channels[c].phase = 0;
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace platform

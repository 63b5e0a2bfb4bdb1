// Three looping 1,024-sample buffers played by the page's audio: each voice a looping
// buffer source at 44,100 Hz whose playback rate follows the channel's rate, through
// a gain of the channel's attenuation. The page starts the audio on the first key or
// click, as browsers require; until then the voices are set up but silent.
#include <emscripten.h>

#include <cmath>
#include <cstring>

#include "host/backend/sound_buffer.h"
#include "host/web/web_host.h"

namespace {

constexpr int bufferRate = 44100;
constexpr uint32_t bufferSamples = 1024;
constexpr int32_t silent = backend::silentVolume;

struct Channel {
    bool exists = false;
    int16_t samples[bufferSamples] = {};
    uint32_t rate = bufferRate;
    int32_t volume = silent;
};

bool created = false;
Channel channels[4];  // 1..3

bool valid(int channel) { return created && channel >= 1 && channel <= 3 && channels[channel].exists; }

double gainOf(int32_t hundredths) { return hundredths <= silent ? 0.0 : std::pow(10.0, hundredths / 2000.0); }

// clang-format off
EM_JS(void, openAudio, (), {
    if (Module.audio) return;
    const Context = window.AudioContext || window.webkitAudioContext;
    const audio = {context: null, voices: [null, {}, {}, {}]};
    Module.audio = audio;
    if (!Context) return;
    try {
        audio.context = new Context();
    } catch (e) {
        return;
    }
    // Browsers start audio only after a gesture of the user.
    const resume = () => {
        if (audio.context && audio.context.state === "suspended" && !Module.audioHeld) audio.context.resume();
    };
    audio.resume = resume;
    for (const type of ["keydown", "pointerdown", "drop"]) window.addEventListener(type, resume, true);
});

EM_JS(void, setVoiceSamples, (int channel, const int16_t* samples, int count), {
    const audio = Module.audio, voice = audio && audio.voices[channel];
    if (!voice) return;
    voice.samples = new Float32Array(count);
    for (let i = 0; i < count; ++i) voice.samples[i] = HEAP16[(samples >> 1) + i] / 32768;
});

EM_JS(void, setVoiceRate, (int channel, double playbackRate), {
    const voice = Module.audio && Module.audio.voices[channel];
    if (!voice) return;
    voice.rate = playbackRate;
    if (voice.source) voice.source.playbackRate.value = playbackRate;
});

EM_JS(void, setVoiceGain, (int channel, double gain), {
    const voice = Module.audio && Module.audio.voices[channel];
    if (!voice) return;
    voice.gain = gain;
    if (voice.gainNode) voice.gainNode.gain.value = gain;
});

EM_JS(void, playVoice, (int channel), {
    const audio = Module.audio, voice = audio && audio.voices[channel];
    if (!voice || !audio.context || !voice.samples || voice.source) return;
    const context = audio.context;
    const buffer = context.createBuffer(1, voice.samples.length, 44100);
    buffer.getChannelData(0).set(voice.samples);
    voice.gainNode = context.createGain();
    voice.gainNode.gain.value = voice.gain || 0;
    voice.gainNode.connect(context.destination);
    voice.source = context.createBufferSource();
    voice.source.buffer = buffer;
    voice.source.loop = true;
    voice.source.playbackRate.value = voice.rate || 1;
    voice.source.connect(voice.gainNode);
    voice.source.start();
});

EM_JS(void, closeAudio, (), {
    const audio = Module.audio;
    if (!audio) return;
    for (const voice of audio.voices) {
        if (!voice || !voice.source) continue;
        voice.source.stop();
        voice.source.disconnect();
        voice.gainNode.disconnect();
        voice.source = voice.gainNode = null;
    }
});
// clang-format on

}  // namespace

namespace platform {

// A page without audio still runs the machine: the voices are then simply not heard.
Result directSoundCreate() {
    openAudio();
    created = true;
    return ok;
}

Result setSoundCooperativeLevel() { return created ? ok : failed; }

Result createSoundBuffer(int channel) {
    if (!created || channel < 1 || channel > 3) return failed;
    Channel& c = channels[channel];
    std::memset(c.samples, 0, sizeof c.samples);
    c.exists = true;
    c.rate = bufferRate;
    c.volume = 0;  // a new buffer plays at full volume until told otherwise
    setVoiceRate(channel, 1.0);
    setVoiceGain(channel, 1.0);
    return ok;
}

Result lockSoundBuffer(int channel, int16_t*& part1, uint32_t& bytes1, int16_t*& part2, uint32_t& bytes2) {
    if (!valid(channel)) return failed;
    Channel& c = channels[channel];
    return backend::lendWholeBuffer(c.samples, sizeof c.samples, part1, bytes1, part2, bytes2);
}

Result unlockSoundBuffer(int channel) {
    if (!valid(channel)) return failed;
    setVoiceSamples(channel, channels[channel].samples, bufferSamples);
    return ok;
}

Result setSoundFrequency(int channel, uint32_t samplesPerSecond) {
    if (!valid(channel) || samplesPerSecond > backend::highestRate) return failed;
    if (channels[channel].rate == samplesPerSecond) return ok;
    channels[channel].rate = samplesPerSecond;
    setVoiceRate(channel, static_cast<double>(samplesPerSecond) / bufferRate);
    return ok;
}

// The output is mono; the centre is the only position it has.
Result setSoundPan(int channel, int32_t pan) {
    return valid(channel) && backend::validPan(pan) ? ok : failed;
}

Result setSoundVolume(int channel, int32_t hundredthsOfDecibel) {
    if (!valid(channel) || !backend::validVolume(hundredthsOfDecibel)) return failed;
    if (channels[channel].volume == hundredthsOfDecibel) return ok;
    channels[channel].volume = hundredthsOfDecibel;
    setVoiceGain(channel, gainOf(hundredthsOfDecibel));
    return ok;
}

Result getSoundVolume(int channel, int32_t& hundredthsOfDecibel) {
    if (!valid(channel)) return failed;
    hundredthsOfDecibel = channels[channel].volume;
    return ok;
}

Result playSoundLooping(int channel) {
    if (!valid(channel)) return failed;
    playVoice(channel);
    return ok;
}

bool soundChannelExists(int channel) { return valid(channel); }

void releaseSound() {
    if (!created) return;
    closeAudio();
    for (int c = 1; c <= 3; ++c) channels[c].exists = false;
    created = false;
}

}  // namespace platform

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

using backend::bufferRate;
using backend::bufferSamples;

backend::SoundChannels channels;

double gainOf(int32_t hundredths) {
    return hundredths <= backend::silentVolume ? 0.0 : std::pow(10.0, hundredths / 2000.0);
}

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
    channels.opened = true;
    return ok;
}

Result setSoundCooperativeLevel() { return channels.opened ? ok : failed; }

Result createSoundBuffer(int channel) {
    if (Result r = channels.create(channel); r != ok) return r;
    setVoiceRate(channel, 1.0);
    setVoiceGain(channel, 1.0);
    return ok;
}

Result lockSoundBuffer(int channel, int16_t*& part1, uint32_t& bytes1, int16_t*& part2, uint32_t& bytes2) {
    return channels.lock(channel, part1, bytes1, part2, bytes2);
}

Result unlockSoundBuffer(int channel) {
    if (!channels.valid(channel)) return failed;
    setVoiceSamples(channel, channels[channel].written, bufferSamples);
    return ok;
}

Result setSoundFrequency(int channel, uint32_t samplesPerSecond) {
    bool changed = false;
    const Result r = channels.setRate(channel, samplesPerSecond, changed);
    if (changed) setVoiceRate(channel, static_cast<double>(samplesPerSecond) / bufferRate);
    return r;
}

Result setSoundPan(int channel, int32_t pan) { return channels.setPan(channel, pan); }

Result setSoundVolume(int channel, int32_t hundredthsOfDecibel) {
    bool changed = false;
    const Result r = channels.setVolume(channel, hundredthsOfDecibel, changed);
    if (changed) setVoiceGain(channel, gainOf(hundredthsOfDecibel));
    return r;
}

Result getSoundVolume(int channel, int32_t& hundredthsOfDecibel) {
    return channels.volume(channel, hundredthsOfDecibel);
}

Result playSoundLooping(int channel) {
    if (Result r = channels.play(channel); r != ok) return r;
    playVoice(channel);
    return ok;
}

bool soundChannelExists(int channel) { return channels.valid(channel); }

void releaseSound() {
    if (!channels.opened) return;
    closeAudio();
    channels.release();
}

}  // namespace platform

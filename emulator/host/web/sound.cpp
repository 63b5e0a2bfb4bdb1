// The three voices played by the page's audio: each voice a looping
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

double gainOf(int32_t hundredths) {
    return hundredths <= platform::silentVolume ? 0.0 : std::pow(10.0, hundredths / 2000.0);
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

// A page without audio still runs the machine: the voices are then simply not heard.
bool backend::openSoundDevice() {
    openAudio();
    return true;
}

void backend::loopWritten(int voice) { setVoiceSamples(voice, soundChannels[voice].written, bufferSamples); }

void backend::voiceChanged(int voice) {
    const SoundChannel& channel = soundChannels[voice];
    setVoiceRate(voice, static_cast<double>(channel.rate.load()) / bufferRate);
    setVoiceGain(voice, gainOf(channel.volume.load()));
}

void backend::voiceStarted(int voice) { playVoice(voice); }

void backend::closeSoundDevice() { closeAudio(); }

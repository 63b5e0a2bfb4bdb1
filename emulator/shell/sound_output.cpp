// The TED's voices on the host's three looping voices, and the silence while a menu is
// open or the machine is paused.
#include "shell/sound_output.h"

#include "common/configuration.h"
#include "memory/memory.h"
#include "platform/platform.h"
#include "ted/sound.h"
#include "ted/ted.h"

namespace {

bool muted = false;  // a menu is on screen or the machine paused: the voices wait

bool playable(int channel) { return emulatorConfig.soundEmulation == 1 && platform::voicePlays(channel); }

}  // namespace

void playVoices() {
    memory.raisedEvents &= static_cast<StepEvents>(~stepEvent::voices);
    for (int channel = square1; channel <= noise; ++channel) {
        if (!playable(channel)) continue;
        const VoiceOutput& voice = ted.sound.voices[channel - 1];
        if (voice.rate != 0) platform::setVoiceRate(channel, voice.rate);
        if (!muted) platform::setVoiceVolume(channel, voice.volume);
    }
}

void muteSound() {
    for (int channel = square1; channel <= noise; ++channel)
        if (playable(channel)) platform::setVoiceVolume(channel, platform::silentVolume);
    muted = true;
}

void restoreSound() {
    muted = false;
    playVoices();
}

// The TED's sound on the host's three looping buffers, and the silence while a menu is open.
#include "shell/sound_output.h"

#include "common/configuration.h"
#include "host/platform.h"
#include "ted/sound_output.h"

namespace {

constexpr int32_t silent = -10000;

int32_t remembered[4];  // channel volumes saved while a menu is on screen
bool muted = false;     // a menu is on screen: volume changes wait in `remembered`

bool playable(int channel) {
    return emulatorConfig.soundEmulation == 1 && platform::soundChannelExists(channel);
}

}  // namespace

// While a menu is open (a snapshot loaded from it), the new volume is what its closing restores.
void outputVolume(int channel, int32_t hundredths) {
    if (!playable(channel)) return;
    if (muted)
        remembered[channel] = hundredths;
    else
        platform::setSoundVolume(channel, hundredths);
}

void outputRate(int channel, uint32_t rate) {
    if (playable(channel)) platform::setSoundFrequency(channel, rate);
}

void muteSound() {
    for (int channel = square1; channel <= noise; ++channel) {
        if (!playable(channel)) continue;
        if (platform::getSoundVolume(channel, remembered[channel]) != platform::ok)
            remembered[channel] = silent;
        platform::setSoundVolume(channel, silent);
    }
    muted = true;
}

void restoreSound() {
    muted = false;
    for (int channel = square1; channel <= noise; ++channel) outputVolume(channel, remembered[channel]);
}

// The TED's two voices and noise: each register write turns into a rate and an
// attenuation for one of the three output channels, kept in ted.sound.voices for the
// host to play.
#include "ted/sound.h"

#include "memory/memory.h"
#include "ted/ted.h"

namespace {

constexpr int32_t silent = -10000;
constexpr uint16_t highestAudibleFreq = 1019;  // 1020-1023 stay silent

uint8_t controlByte() { return memory.ram ? memory.ram[tedSoundControl] : ted.sound.control; }
uint8_t limitVolume(uint8_t volume) { return volume > 8 ? 8 : volume; }

void outputVolume(int channel, int32_t hundredths) {
    ted.sound.voices[channel - 1].volume = hundredths;
    memory.raisedEvents |= stepEvent::voices;
}

// Any rate the voices ask for, up to register 1019's 715,908: high tones play at their pitch.
void outputRate(int channel, uint32_t samplesPerSecond) {
    ted.sound.voices[channel - 1].rate = samplesPerSecond;
    memory.raisedEvents |= stepEvent::voices;
}

// Voice 2 is a square (bit 5) or noise (bit 6, which wins); the other channel is silent.
// A square out of range stays silent, so a volume change cannot bring back its old rate;
// the noise loop keeps playing at its last rate.
void setVoice2Volumes(uint8_t control, int32_t hundredths) {
    bool noiseOn = control & 0x40, squareOn = (control & 0x20) && !noiseOn;
    outputVolume(square2, squareOn && ted.sound.voice2Freq <= highestAudibleFreq ? hundredths : silent);
    outputVolume(noise, noiseOn ? hundredths : silent);
}

}  // namespace

void updateVoice1() {
    if (!(controlByte() & 0x10)) {
        outputVolume(square1, silent);
        return;
    }
    outputVolume(square1, volumeTable[ted.sound.currentVolume]);
    if (ted.sound.voice1Freq > highestAudibleFreq)
        outputVolume(square1, silent);
    else
        outputRate(square1, voiceFrequencyTable[ted.sound.voice1Freq & 1023]);
}

void updateVoice2() {
    uint8_t control = controlByte();
    setVoice2Volumes(control, volumeTable[ted.sound.currentVolume]);
    if (control & 0x40) {
        // The noise loop keeps its last rate when the frequency is out of range.
        if (ted.sound.voice2Freq <= highestAudibleFreq)
            outputRate(noise, voiceFrequencyTable[ted.sound.voice2Freq] >> 1);
    } else if ((control & 0x20) && ted.sound.voice2Freq <= highestAudibleFreq) {
        outputRate(square2, voiceFrequencyTable[ted.sound.voice2Freq]);
    }
}

void updateVolume(uint8_t volume) {
    ted.sound.currentVolume = limitVolume(volume);
    uint8_t control = controlByte();
    const bool square1On = (control & 0x10) && ted.sound.voice1Freq <= highestAudibleFreq;
    outputVolume(square1, square1On ? volumeTable[ted.sound.currentVolume] : silent);
    setVoice2Volumes(control, volumeTable[ted.sound.currentVolume]);
}

void writeSoundControl(uint8_t value) {
    if (value & 0x80) {
        // D/A mode is only recorded (the monitor shows it); it makes no sound.
        ted.sound.digiVolume = limitVolume(value & 15);
        ted.sound.digiChannels = (value >> 4) & 3;
        ted.sound.digiLevel = ted.sound.digiChannels == 0   ? 0
                              : ted.sound.digiChannels == 3 ? 2 * ted.sound.digiVolume
                                                            : ted.sound.digiVolume;
        return;
    }
    uint8_t changed = value ^ ted.sound.control;
    ted.sound.control = value;
    if (changed & 0x0F) updateVolume(value & 15);
    if (changed & 0x10) updateVoice1();
    if (changed & 0x60) updateVoice2();
}

void resumeVoices() {
    const uint8_t* r = memory.ram;
    ted.sound.voice1Freq = uint16_t(r[tedVoice1Low] | (r[tedBitmapBase] & 3) << 8);
    ted.sound.voice2Freq = uint16_t(r[tedVoice2Low] | (r[tedVoice2High] & 3) << 8);
    const uint8_t control = r[tedSoundControl];
    if (control & 0x80) writeSoundControl(control);  // the D/A state
    ted.sound.control = control & 0x7F;
    updateVolume(control & 15);
    updateVoice1();
    updateVoice2();
}

void setSoundSwitch(bool on) {
    for (int i = 0; i < 9; ++i) volumeTable[i] = on ? volumeAttenuation[i] : silent;
}

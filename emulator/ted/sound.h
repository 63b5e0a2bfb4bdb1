#pragma once
#include <cstdint>

// The sound's state is ted.sound (ted/ted.h), its output the three channels' voices there.
enum SoundChannel : int { square1 = 1, square2 = 2, noise = 3 };

// Defined in ted/sound.cpp:
extern uint32_t voiceFrequencyTable[1024];
extern int32_t volumeTable[9];

void buildVoiceFrequencyTable();
void updateVoice1();
void updateVoice2();
void updateVolume(uint8_t volume);
void writeSoundControl(uint8_t value);
// After the register bytes were replaced (a snapshot load): the voices take their
// frequencies, volume and switches from $FF0E-$FF12 as they now stand.
void resumeVoices();
// The options menu's sound switch: false silences every later volume, true restores the table.
void setSoundSwitch(bool on);

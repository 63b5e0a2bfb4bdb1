#pragma once
#include <cstdint>

extern uint16_t voice1Freq, voice2Freq;  // 10 bits each
extern uint8_t soundControl;             // last $FF11 written with bit 7 clear
extern uint8_t currentVolume;            // 0..8
extern uint8_t digiVolume, digiChannels, digiLevel;
extern uint32_t voiceFrequencyTable[1024];
extern int32_t volumeTable[9];

void buildVoiceFrequencyTable();
void updateVoice1();
void updateVoice2();
void updateVolume(uint8_t volume);
void writeSoundControl(uint8_t value);
// The options menu's sound switch: false silences every later volume, true restores the table.
void setSoundSwitch(bool on);
// The menus' frame: remember the three channel volumes and silence them; then put them back.
void muteSound();
void restoreSound();

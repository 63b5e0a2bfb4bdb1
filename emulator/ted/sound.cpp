// Placeholder until this unit is built; replace the whole file.
#include "ted/sound.h"
uint16_t voice1Freq, voice2Freq; uint8_t soundControl, currentVolume, digiVolume, digiChannels, digiLevel;
uint32_t voiceFrequencyTable[1024]; int32_t volumeTable[9];
void buildVoiceFrequencyTable() {}
void updateVoice1() {}
void updateVoice2() {}
void updateVolume(uint8_t) {}
void writeSoundControl(uint8_t) {}
void setSoundSwitch(bool) {}
void muteSound() {}
void restoreSound() {}

#pragma once
#include <cstdint>

// Where the TED's sound goes: three looping host channels, each with a rate and an
// attenuation. The sound (ted/sound.cpp) computes both from the registers and hands them
// over here; the host implements it over the platform (shell/sound_output.cpp), and a
// channel the host cannot play ignores them.
enum SoundChannel : int { square1 = 1, square2 = 2, noise = 3 };

void outputVolume(int channel, int32_t hundredthsOfDecibel);  // -10000 is silent
// Any rate the voices ask for, up to register 1019's 715,908: high tones play at their pitch.
void outputRate(int channel, uint32_t samplesPerSecond);

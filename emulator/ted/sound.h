#pragma once
#include <array>
#include <cstdint>

#include "state/machine.h"

// The sound's state is ted.sound (ted/ted.h), its output the three channels' voices there.
enum SoundChannel : int { square1 = 1, square2 = 2, noise = 3 };

// The loop rate, in samples per second, of each 10-bit voice register value.
inline constexpr std::array<uint32_t, 1024> voiceFrequencyTable = [] {
    std::array<uint32_t, 1024> rate{};
    for (int n = 0; n < 1024; ++n) rate[n] = static_cast<uint32_t>(32.0 * 111860.781 / (1024 - n));
    return rate;
}();

// Defined in ted/sound.cpp:
void updateVoice1();
void updateVoice2();
void updateVolume(uint8_t volume);
void writeSoundControl(uint8_t value);
// After the register bytes were replaced (a snapshot load): the voices take their
// frequencies, volume and switches from $FF0E-$FF12 as they now stand.
void resumeVoices();
// The options menu's sound switch: false silences every later volume, true restores the table.
void setSoundSwitch(bool on);

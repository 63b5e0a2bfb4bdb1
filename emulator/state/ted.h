#pragma once
// The TED's state. Most registers are plain bytes in the RAM store at $FF00-$FF3F
// (memory.ram), where the renderer and the sound read them; this holds what they do not:
// the timers, the raster compare value, the clock and interrupt lines, the beam with its
// per-line latch and flash, and the sound's voices.
#include <array>
#include <cstdint>

constexpr int frameWidth = 456;
constexpr int frameHeight = 312;
constexpr int frameSlack = 16;  // a block may land up to 7 bytes past the last line

struct TedTimer {
    int32_t counter = 0;
    uint16_t reload = 0;
    uint8_t running = 0;
};

// The display parameters taken at the first raster step of each line.
struct LineLatch {
    uint8_t verticalScroll = 0, horizontalScroll = 0;
    uint32_t matrixBase = 0, bitmapBase = 0, characterBase = 0;
    int32_t characterRow = 0;
    uint8_t background = 0, colour1 = 0, colour2 = 0, colour3 = 0, border = 0;
    const uint8_t* characterData = nullptr;                   // pattern line of character 0
    const uint8_t* matrixLine = nullptr;                      // character codes of the line
    const uint8_t* attributeLine = nullptr;                   // attribute bytes of the line
    int32_t matrixOffset = 0;                                 // 40 times the adjusted row
    uint16_t left = 32, right = 192, top = 56, bottom = 256;  // window edges
};

// What one of the three output channels plays: a looping tone or noise at a rate, with
// an attenuation. The host's sound follows it (shell/sound_output.h).
struct VoiceOutput {
    uint32_t rate = 0;        // samples per second of the loop; 0 until a tone is first set
    int32_t volume = -10000;  // hundredths of a decibel; -10000 is silent
};

// Attenuation for volumes 0..8, in hundredths of a decibel.
constexpr std::array<int32_t, 9> volumeAttenuation = {-10000, -4200, -3600, -3200, -2700,
                                                      -2200,  -1800, -1500, -1400};

struct TedSound {
    uint16_t voice1Freq = 0, voice2Freq = 0;  // 10 bits each
    uint8_t control = 0;                      // last $FF11 written with bit 7 clear
    uint8_t currentVolume = 0;                // 0..8
    uint8_t digiVolume = 0, digiChannels = 0, digiLevel = 0;
    VoiceOutput voices[3];  // channels 1..3: square 1, square 2, noise; a change raises stepEvent::voices
};

struct Ted {
    TedTimer timer1, timer2, timer3;  // ted/timers.cpp
    uint16_t rasterCompare = 0;       // 9 bits
    uint8_t singleClock = 0;          // $FF13 bit 1
    uint16_t irqLine = 0;

    // The beam (ted/raster.cpp) and the renderer's position (ted/render.cpp).
    uint16_t beamX = 0;  // units of two pixels, 0..227
    uint16_t beamY = 0;  // internal line, 0..311
    uint8_t flashCounter = 0, flashPhase = 0;
    uint8_t doubleClockAllowed = 0;
    uint8_t newLinePending = 0, rasterIrqArmed = 0;
    uint16_t drawX = 0;
    uint8_t frameEndDue = 0;  // the beam came to a line other than TED line 0 since the last frame end
    LineLatch lineLatch;
    uint8_t textLineFlags[frameHeight] = {};
    uint32_t matrixBaseByLine[frameHeight] = {};

    TedSound sound;  // ted/sound.cpp

    // The display's screen mode, as the settings choose it: only the part of the frame it
    // shows is drawn (any value past 6 draws the whole frame).
    uint8_t shownMode = 0;
};

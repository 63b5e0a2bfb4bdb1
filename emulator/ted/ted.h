#pragma once
// The TED's state, one instance. Most registers are plain bytes in the RAM store at
// $FF00-$FF3F (memory.ram), where the renderer and the sound read them; this holds what
// they do not: the timers, the raster compare value, the clock and interrupt lines, the
// beam with its per-line latch and flash, and the sound's voices.
#include <cstdint>

#include "common/reset.h"

constexpr int frameWidth = 456;
constexpr int frameHeight = 312;

// The TED registers that other units read straight from the RAM store.
enum TedRegister : uint16_t {
    tedControl1 = 0xFF06,  // screen on, 25 rows, bitmap, extended colour, vertical scroll
    tedControl2 = 0xFF07,  // reverse off, multicolour, 40 columns, horizontal scroll
    tedKeyboard = 0xFF08,
    tedInterruptRequest = 0xFF09,
    tedInterruptEnable = 0xFF0A,
    tedCursorHigh = 0xFF0C,
    tedCursorLow = 0xFF0D,
    tedVoice1Low = 0xFF0E,
    tedVoice2Low = 0xFF0F,
    tedVoice2High = 0xFF10,
    tedSoundControl = 0xFF11,
    tedBitmapBase = 0xFF12,     // bitmap base, character patterns from ROM, voice 1 high bits
    tedCharacterBase = 0xFF13,  // character base, single clock
    tedMatrixBase = 0xFF14,
    tedBackground = 0xFF15,
    tedColour1 = 0xFF16,
    tedColour2 = 0xFF17,
    tedColour3 = 0xFF18,
    tedBorder = 0xFF19,
};
constexpr uint16_t keyboardLatch = 0xFD30;  // the row select the $FF08 write scans

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
};

extern Ted ted;  // defined in ted/ted_registers.cpp

// defined in ted/ted_registers.cpp
uint8_t tedRead(uint16_t address);               // $FF00-$FF1F
void tedWrite(uint16_t address, uint8_t value);  // $FF00-$FF3D
// The interrupt sources in $FF09/$FF0A: raster, timer 1, timer 2, timer 3.
constexpr uint8_t rasterRequest = 0x02, timer1Request = 0x08, timer2Request = 0x10, timer3Request = 0x40;
constexpr uint8_t interruptSources = rasterRequest | timer1Request | timer2Request | timer3Request;
// irqLine and the summary bit 7 of $FF09 follow the requests that are enabled:
// raised exactly while ($FF09 AND $FF0A AND the sources) is not zero.
void updateInterruptLine();
// Sets the request bit; the line follows.
void requestInterrupt(uint8_t sourceBit);
// Power-on also starts the timers; every reset but the soft one clears the register file
// in the RAM store and puts the beam back to the top (the soft one changes nothing here).
void resetTed(Reset kind);

// defined in ted/timers.cpp
// What a timer does when it passes zero: timer 1 reloads, timers 2 and 3 run on through
// $FFFF; each raises its interrupt request. Rare, so kept out of the step.
void timer1Underflow();
void freeRunningUnderflow(TedTimer& timer, uint8_t request);

// After every instruction, by its single-clock cycles. Inline: it runs for every
// instruction and usually only counts down.
inline void timerStep(uint16_t cycles) {
    if (ted.timer1.running && (ted.timer1.counter -= cycles) < 0) timer1Underflow();
    if (ted.timer2.running && (ted.timer2.counter -= cycles) < 0)
        freeRunningUnderflow(ted.timer2, timer2Request);
    if (ted.timer3.running && (ted.timer3.counter -= cycles) < 0)
        freeRunningUnderflow(ted.timer3, timer3Request);
}
// Start-up state: counters and reloads $FFFF and running, compare, single clock and line 0.
void powerOnTimers();

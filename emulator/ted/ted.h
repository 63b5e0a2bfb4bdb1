#pragma once
// The TED's registers, interrupt line and timers. Its state (state/ted.h) is part of the
// machine, reached as `ted`.
#include <cstdint>

#include "common/reset.h"
#include "state/machine.h"

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

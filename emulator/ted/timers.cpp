// The TED's three interval timers. They count single-clock cycles, the time the beam
// advances, whatever clock the processor runs at. Only timer 1 reloads from its latch;
// timers 2 and 3 run on through $FFFF.

#include "ted/memory_map.h"
#include "ted/ted.h"

namespace {

constexpr uint8_t timer1Request = 0x08;
constexpr uint8_t timer2Request = 0x10;
constexpr uint8_t timer3Request = 0x40;

// Timer 1 after an underflow: the overshoot carries into the next period; a period shorter
// than the overshoot (down to a reload of 0) keeps the counter in range.
int32_t reloadTimer1(int32_t counter) {
    counter += ted.timer1.reload;
    if (counter >= 0) return counter;
    return ted.timer1.reload ? (counter % ted.timer1.reload + ted.timer1.reload) % ted.timer1.reload : 0;
}

// Timers 2 and 3 go on from $FFFF, keeping the cycles counted past zero.
int32_t wrapFreeRunning(int32_t counter) { return counter & 0xFFFF; }

}  // namespace

void timerStep(uint16_t cycles) {
    const int32_t decrement = cycles;
    if (ted.timer1.running && (ted.timer1.counter -= decrement) < 0) {
        ted.timer1.counter = reloadTimer1(ted.timer1.counter);
        requestInterrupt(timer1Request);
    }
    if (ted.timer2.running && (ted.timer2.counter -= decrement) < 0) {
        ted.timer2.counter = wrapFreeRunning(ted.timer2.counter);
        requestInterrupt(timer2Request);
    }
    if (ted.timer3.running && (ted.timer3.counter -= decrement) < 0) {
        ted.timer3.counter = wrapFreeRunning(ted.timer3.counter);
        requestInterrupt(timer3Request);
    }
}

void powerOnTimers() {
    ted.timer1.counter = ted.timer2.counter = ted.timer3.counter = 0xFFFF;
    ted.timer1.reload = ted.timer2.reload = ted.timer3.reload = 0xFFFF;
    ted.timer1.running = ted.timer2.running = ted.timer3.running = 1;
    ted.rasterCompare = 0;
    ted.singleClock = 0;
    ted.irqLine = 0;
}

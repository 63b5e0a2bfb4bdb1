// The TED's three interval timers. They count single-clock cycles, so in the
// usual double-clock mode a step's cycle count is halved. Only timer 1 reloads
// from its latch; timers 2 and 3 wrap round to $FFFF.

#include "ted/memory_map.h"
#include "ted/ted.h"

namespace {

constexpr uint8_t timer1Request = 0x08;
constexpr uint8_t timer2Request = 0x10;
constexpr uint8_t timer3Request = 0x40;

// Timer 1 after an underflow. In single clock the overshoot carries into the next period;
// a period shorter than the overshoot (down to a reload of 0) keeps the counter in range.
int32_t reloadTimer1(int32_t counter) {
    if (!ted.singleClock) return ted.timer1.reload;
    counter += ted.timer1.reload;
    if (counter >= 0) return counter;
    return ted.timer1.reload ? (counter % ted.timer1.reload + ted.timer1.reload) % ted.timer1.reload : 0;
}

}  // namespace

void timerStep(uint16_t cycles) {
    // Outside forced single clock the timers still take only half the TED's cycles.
    const int32_t decrement = ted.singleClock ? cycles : cycles >> 1;
    if (ted.timer1.running && (ted.timer1.counter -= decrement) < 0) {
        ted.timer1.counter = reloadTimer1(ted.timer1.counter);
        requestInterrupt(timer1Request);
    }
    if (ted.timer2.running && (ted.timer2.counter -= decrement) < 0) {
        ted.timer2.counter = 0xFFFF;
        requestInterrupt(timer2Request);
    }
    if (ted.timer3.running && (ted.timer3.counter -= decrement) < 0) {
        ted.timer3.counter = 0xFFFF;
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

// The TED's three interval timers. They count single-clock cycles, so in the
// usual double-clock mode a step's cycle count is halved. Only timer 1 reloads
// from its latch; timers 2 and 3 wrap round to $FFFF.

#include "cpu/registers.h"
#include "ted/memory_map.h"
#include "ted/ted.h"

int32_t timer1Counter, timer2Counter, timer3Counter;
uint16_t timer1Reload, timer2Reload, timer3Reload;
uint8_t timer1Running, timer2Running, timer3Running;

namespace {

constexpr uint8_t timer1Request = 0x08;
constexpr uint8_t timer2Request = 0x10;
constexpr uint8_t timer3Request = 0x40;

// Timer 1 after an underflow. In single clock the overshoot carries into the next period;
// a period shorter than the overshoot (down to a reload of 0) keeps the counter in range.
int32_t reloadTimer1(int32_t counter) {
    if (!singleClock) return timer1Reload;
    counter += timer1Reload;
    if (counter >= 0) return counter;
    return timer1Reload ? (counter % timer1Reload + timer1Reload) % timer1Reload : 0;
}

}  // namespace

void timerStep() {
    int32_t decrement = singleClock ? reg.lastCycle : reg.lastCycle >> 1;
    if (timer1Running && (timer1Counter -= decrement) < 0) {
        timer1Counter = reloadTimer1(timer1Counter);
        requestInterrupt(timer1Request);
    }
    if (timer2Running && (timer2Counter -= decrement) < 0) {
        timer2Counter = 0xFFFF;
        requestInterrupt(timer2Request);
    }
    if (timer3Running && (timer3Counter -= decrement) < 0) {
        timer3Counter = 0xFFFF;
        requestInterrupt(timer3Request);
    }
}

void powerOnTimers() {
    timer1Counter = timer2Counter = timer3Counter = 0xFFFF;
    timer1Reload = timer2Reload = timer3Reload = 0xFFFF;
    timer1Running = timer2Running = timer3Running = 1;
    rasterCompare = 0;
    singleClock = 0;
    irqLine = 0;
}

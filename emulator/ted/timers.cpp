// The TED's three interval timers. They count single-clock cycles, the time the beam
// advances, whatever clock the processor runs at. Only timer 1 reloads from its latch;
// timers 2 and 3 run on through $FFFF.

#include "memory/memory.h"
#include "ted/ted.h"

// The overshoot carries into the next period; a period shorter than the overshoot (down
// to a reload of 0) keeps the counter in range.
void timer1Underflow() {
    int32_t counter = ted.timer1.counter + ted.timer1.reload;
    if (counter < 0)
        counter =
            ted.timer1.reload ? (counter % ted.timer1.reload + ted.timer1.reload) % ted.timer1.reload : 0;
    ted.timer1.counter = counter;
    requestInterrupt(timer1Request);
}

// Timers 2 and 3 go on from $FFFF, keeping the cycles counted past zero.
void freeRunningUnderflow(TedTimer& timer, uint8_t request) {
    timer.counter &= 0xFFFF;
    requestInterrupt(request);
}

void powerOnTimers() {
    ted.timer1.counter = ted.timer2.counter = ted.timer3.counter = 0xFFFF;
    ted.timer1.reload = ted.timer2.reload = ted.timer3.reload = 0xFFFF;
    ted.timer1.running = ted.timer2.running = ted.timer3.running = 1;
    ted.rasterCompare = 0;
    ted.singleClock = 0;
    ted.irqLine = 0;
}

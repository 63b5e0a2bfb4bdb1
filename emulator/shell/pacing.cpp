// Sleeping waits on the performance counter and the display, for the speed sync and the
// menus' passes.
#include "shell/pacing.h"

#include <algorithm>

#include "platform/platform.h"

namespace {

// A sleep may end this much late; the last part of a precise wait is spun instead.
constexpr uint64_t spinMicroseconds = 200;
constexpr uint64_t microsecondsPerSecond = 1'000'000;

int64_t ticksLeft(uint64_t deadline) {
    return static_cast<int64_t>(deadline - platform::performanceCounter());
}

uint64_t ticksOf(uint64_t microseconds) {
    return platform::performanceFrequency() * microseconds / microsecondsPerSecond;
}

// At most a second at a time: a counter far behind its deadline must not stop the program.
void sleepTicks(int64_t ticks) {
    const uint64_t frequency = platform::performanceFrequency();
    if (ticks <= 0 || frequency == 0) return;
    const uint64_t capped = std::min(static_cast<uint64_t>(ticks), frequency);
    const uint64_t microseconds = capped * microsecondsPerSecond / frequency;
    if (microseconds > 0) platform::sleepMicroseconds(static_cast<uint32_t>(microseconds));
}

}  // namespace

void waitUntilCounter(uint64_t deadline) {
    int64_t left = ticksLeft(deadline);
    const auto spin = static_cast<int64_t>(ticksOf(spinMicroseconds));
    if (left > spin) {
        sleepTicks(left - spin);
        left = ticksLeft(deadline);
    }
    while (left > 0) left = ticksLeft(deadline);
}

void sleepUntilCounter(uint64_t deadline) { sleepTicks(ticksLeft(deadline)); }

void waitVerticalBlank() {
    for (int attempt = 0; attempt < 64; ++attempt)
        if (platform::waitForVerticalBlank() == platform::ok) return;
}

void performWait(const Wait& wait) {
    switch (wait.kind) {
        case Wait::verticalBlank:
            waitVerticalBlank();
            break;
        case Wait::counter:
            waitUntilCounter(wait.deadline);
            break;
        case Wait::sleep:
            sleepUntilCounter(wait.deadline);
            break;
        case Wait::message:
            platform::waitMessage();
            break;
        case Wait::none:
            break;
    }
}

// The timers count machine time: 57 single-clock cycles a line, 17,784 a PAL frame,
// whatever the processor's clock and whatever instructions it runs.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/cpu_helpers.h"

namespace {

constexpr int framesMeasured = 50;
constexpr int32_t cyclesPerFrame = 17784;

struct Loop {
    const char* name;
    std::vector<uint8_t> code;  // at $1000, ending in JMP $1000
};
struct Clock {
    const char* name;
    uint8_t ff06, ff13;
};
struct RateCase {
    Loop loop;
    Clock clock;
};

const Loop loops[] = {
    {"Nop", {0xEA, 0xEA, 0xEA, 0xEA, 0x4C, 0x00, 0x10}},
    {"LdaZeroPage", {0xA5, 0x10, 0xA5, 0x11, 0x4C, 0x00, 0x10}},
    {"IncAbsolute", {0xEE, 0x00, 0x20, 0x4C, 0x00, 0x10}},
};
const Clock clocks[] = {
    {"ScreenOn", 0x1B, 0x00},
    {"ScreenBlanked", 0x0B, 0x00},
    {"SingleClockForced", 0x1B, 0x02},
};

void PrintTo(const RateCase& c, std::ostream* out) { *out << c.loop.name << c.clock.name; }

std::vector<RateCase> rateCases() {
    std::vector<RateCase> cases;
    for (const Loop& loop : loops)
        for (const Clock& clock : clocks) cases.push_back({loop, clock});
    return cases;
}

class TimerRate : public ::testing::TestWithParam<RateCase> {
protected:
    void SetUp() override {
        resetCpuMachine();
        startBeam();
        const RateCase& c = GetParam();
        for (size_t i = 0; i < c.loop.code.size(); ++i) memory.ram[0x1000 + i] = c.loop.code[i];
        writeMemory(0xFF06, c.clock.ff06);
        writeMemory(0xFF13, c.clock.ff13);
        reg.PC = 0x1000;
    }

    // Steps until the beam starts a new frame.
    static void runToFrameStart() {
        for (long budget = 100000; budget > 0; --budget) {
            const uint16_t line = ted.beamY;
            emulationStep();
            if (ted.beamY < line) return;
        }
        FAIL() << "no frame start";
    }
};

TEST_P(TimerRate, FreeRunningTimersLoseAFramesCyclesPerFrame) {
    runToFrameStart();
    const uint16_t startX = ted.beamX;
    int32_t previous[2] = {ted.timer2.counter, ted.timer3.counter};
    int64_t lost[2] = {0, 0};
    for (int frame = 0; frame < framesMeasured; ++frame) {
        runToFrameStart();
        const int32_t now[2] = {ted.timer2.counter, ted.timer3.counter};
        for (int t = 0; t < 2; ++t) {
            lost[t] += (previous[t] - now[t]) & 0xFFFF;
            previous[t] = now[t];
        }
    }
    // The samples fall a few cycles into line 0; the beam tells exactly how far.
    const int64_t beamCycles = int64_t(framesMeasured) * cyclesPerFrame + (ted.beamX - startX) / 4;
    for (int t = 0; t < 2; ++t) {
        const double perFrame = double(lost[t]) / framesMeasured;
        EXPECT_NEAR(perFrame, cyclesPerFrame, 2.0) << "timer " << t + 2;
        EXPECT_EQ(lost[t], beamCycles) << "timer " << t + 2 << " and the beam see the same time";
    }
}

INSTANTIATE_TEST_SUITE_P(LoopsAndClocks, TimerRate, ::testing::ValuesIn(rateCases()), [](const auto& info) {
    return std::string(info.param.loop.name) + info.param.clock.name;
});

}  // namespace

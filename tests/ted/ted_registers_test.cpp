#include <cstdint>

#include "machine_fixture.h"
#include "ted/sound.h"

namespace {

using TedRegisters = PoweredMachine;

struct Timer {
    uint16_t lowRegister;
    int32_t* counter;
    uint8_t* running;
    uint8_t requestBit;
};
const Timer timers[] = {
    {0xFF00, &ted.timer1.counter, &ted.timer1.running, 0x08},
    {0xFF02, &ted.timer2.counter, &ted.timer2.running, 0x10},
    {0xFF04, &ted.timer3.counter, &ted.timer3.running, 0x40},
};

void step(uint16_t cycles) { timerStep(cycles); }

TEST_F(TedRegisters, HighByteWriteStartsTimerFromBothBytes) {
    for (const Timer& t : timers) {
        writeMemory(t.lowRegister, 0x34);
        EXPECT_EQ(*t.running, 0);
        writeMemory(t.lowRegister + 1, 0x12);
        EXPECT_EQ(*t.counter, 0x1234);
        EXPECT_EQ(*t.running, 1);
        EXPECT_EQ(readMemory(t.lowRegister), 0x34);
        EXPECT_EQ(readMemory(t.lowRegister + 1), 0x12);
    }
}

TEST_F(TedRegisters, LowByteWriteStopsTimerAndKeepsHighByte) {
    ted.timer1.counter = 0x5678;
    writeMemory(0xFF00, 0x9A);
    EXPECT_EQ(ted.timer1.counter, 0x569A);
    step(100);
    EXPECT_EQ(ted.timer1.counter, 0x569A);
}

TEST_F(TedRegisters, TimersCountEverySingleClockCycleInEitherClock) {
    step(7);
    for (const Timer& t : timers) EXPECT_EQ(*t.counter, 0xFFFF - 7);
    writeMemory(0xFF13, 0x02);
    step(7);
    for (const Timer& t : timers) EXPECT_EQ(*t.counter, 0xFFFF - 14);
}

struct Underflow {
    int timer;
    uint8_t enable, requestRead;
    uint16_t line;
};
class TimerUnderflow : public PoweredMachine, public ::testing::WithParamInterface<Underflow> {};

TEST_P(TimerUnderflow, SetsRequestAndRaisesLineOnlyWhenEnabled) {
    const Underflow& u = GetParam();
    const Timer& t = timers[u.timer];
    writeMemory(0xFF0A, u.enable);
    writeMemory(t.lowRegister, 0x01);
    writeMemory(t.lowRegister + 1, 0x00);
    step(4);
    EXPECT_EQ(readMemory(0xFF09), u.requestRead);
    EXPECT_EQ(ted.irqLine, u.line);
    // Three cycles past zero: timer 1 reloads ($0001) and keeps them, the others run on from $FFFF.
    EXPECT_EQ(*t.counter, u.timer == 0 ? 0 : 0xFFFD);
}

INSTANTIATE_TEST_SUITE_P(EachTimer, TimerUnderflow,
                         ::testing::Values(Underflow{1, 0x00, 0x35, 0}, Underflow{1, 0x10, 0xB5, 1},
                                           Underflow{0, 0x08, 0xAD, 1}, Underflow{0, 0x10, 0x2D, 0},
                                           Underflow{2, 0x40, 0xE5, 1}));

class Timer1Overshoot : public PoweredMachine, public ::testing::WithParamInterface<uint8_t> {};

TEST_P(Timer1Overshoot, CarriesIntoTheNextPeriodInEitherClock) {
    writeMemory(0xFF13, GetParam());
    struct Row {
        uint16_t reload, start, cycles;
        int32_t after;
    };
    const Row rows[] = {
        {0x0010, 2, 5, 0x0D},  // one period: overshoot of 3 taken from the reload
        {0x0002, 0, 7, 1},     // overshoot longer than a period wraps as often as needed
        {0x0000, 0, 9, 0},     // a zero period stays at zero instead of running away
    };
    for (const Row& row : rows) {
        ted.timer1.reload = row.reload;
        ted.timer1.counter = row.start;
        for (int i = 0; i < 3; ++i) step(row.cycles);
        EXPECT_GE(ted.timer1.counter, 0) << row.reload;
        ted.timer1.counter = row.start;
        step(row.cycles);
        EXPECT_EQ(ted.timer1.counter, row.after) << row.reload;
    }
}

INSTANTIATE_TEST_SUITE_P(DoubleAndSingleClock, Timer1Overshoot, ::testing::Values(0x00, 0x02));

TEST_F(TedRegisters, AcknowledgeClearsWrittenBitsAndALineNothingEnabledHolds) {
    struct Row {
        uint8_t written, requestRead;
    };
    for (Row row : {Row{0xFF, 0x25}, Row{0x02, 0x2D}}) {
        memory.ram[0xFF09] = 0x8A;
        ted.irqLine = 1;
        writeMemory(0xFF09, row.written);
        EXPECT_EQ(readMemory(0xFF09), row.requestRead);
        EXPECT_EQ(ted.irqLine, 0);
    }
}

TEST_F(TedRegisters, RasterRequestRaisesLineOnlyWhenEnabled) {
    requestInterrupt(0x02);
    EXPECT_EQ(readMemory(0xFF09), 0x27);
    EXPECT_EQ(ted.irqLine, 0);
    writeMemory(0xFF0A, 0x02);
    requestInterrupt(0x02);
    EXPECT_EQ(readMemory(0xFF09), 0xA7);
    EXPECT_EQ(ted.irqLine, 1);
}

TEST_F(TedRegisters, EnableAndCompareRegistersShareTheNinthBit) {
    writeMemory(0xFF0A, 0x01);
    writeMemory(0xFF0B, 0xF0);
    EXPECT_EQ(ted.rasterCompare, 0x1F0);
    EXPECT_EQ(readMemory(0xFF0A), 0xA1);
    EXPECT_EQ(readMemory(0xFF0B), 0xF0);
    writeMemory(0xFF0A, 0x10);  // the written enables replace the old ones
    writeMemory(0xFF0A, 0x02);
    EXPECT_EQ(ted.rasterCompare, 0x0F0);
    EXPECT_EQ(readMemory(0xFF0A), 0xA2);
}

TEST_F(TedRegisters, SingleClockAndRomBitsShowInFF13) {
    writeMemory(0xFF13, 0xFF);
    EXPECT_EQ(ted.singleClock, 1);
    EXPECT_EQ(readMemory(0xFF13), 0xFF);
    writeMemory(0xFF3F, 0);
    EXPECT_EQ(readMemory(0xFF13), 0xFE);
    writeMemory(0xFF13, 0x00);
    EXPECT_EQ(ted.singleClock, 0);
    EXPECT_EQ(readMemory(0xFF13), 0x00);
    writeMemory(0xFF3E, 0);
    EXPECT_EQ(readMemory(0xFF13), 0x01);
}

TEST_F(TedRegisters, UnusedBitsReadAsOnes) {
    struct Row {
        uint16_t address;
        uint8_t written, stored, read;
    };
    const Row rows[] = {
        {0xFF06, 0x1B, 0x1B, 0x1B}, {0xFF0C, 0x00, 0x00, 0xFC}, {0xFF10, 0x01, 0xFD, 0x7D},
        {0xFF12, 0x05, 0x05, 0xC5}, {0xFF15, 0x71, 0x71, 0x71}, {0xFF3D, 0x42, 0x42, 0x42},
    };
    for (const Row& row : rows) {
        writeMemory(row.address, row.written);
        EXPECT_EQ(memory.ram[row.address], row.stored) << std::hex << row.address;
        if (row.address < 0xFF20) {  // above $FF1F reads show the ROM
            EXPECT_EQ(readMemory(row.address), row.read) << std::hex << row.address;
        }
    }
}

TEST_F(TedRegisters, FrequencyRegistersSetTenBitVoiceFrequencies) {
    writeMemory(0xFF0E, 0x34);
    writeMemory(0xFF12, 0x3E);
    writeMemory(0xFF0F, 0x56);
    writeMemory(0xFF10, 0x03);
    EXPECT_EQ(ted.sound.voice1Freq, 0x234);
    EXPECT_EQ(ted.sound.voice2Freq, 0x356);
    writeMemory(0xFF0E, 0x01);
    writeMemory(0xFF10, 0x00);
    EXPECT_EQ(ted.sound.voice1Freq, 0x201);
    EXPECT_EQ(ted.sound.voice2Freq, 0x056);
}

TEST_F(TedRegisters, KeyboardScanResultReadsBackFromFF08) {
    writeMemory(0xFD30, 0x00);  // every row selected, no host key down
    writeMemory(0xFF08, 0xFF);
    EXPECT_EQ(readMemory(0xFF08), 0xFF);
}

struct Beam {
    uint16_t y, x;
    uint8_t flash, ff1a, ff1b, ff1c, ff1d, ff1e, ff1f;
};
class BeamRegisters : public PoweredMachine, public ::testing::WithParamInterface<Beam> {};

TEST_P(BeamRegisters, ReadTheTedCountsOfTheBeam) {
    const Beam& b = GetParam();
    ted.beamY = b.y;
    ted.beamX = b.x;
    ted.flashCounter = b.flash;
    const uint8_t expected[] = {b.ff1a, b.ff1b, b.ff1c, b.ff1d, b.ff1e, b.ff1f};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(readMemory(uint16_t(0xFF1A + i)), expected[i]) << "$FF1" << char('A' + i);
}

INSTANTIATE_TEST_SUITE_P(
    AcrossTheFrame, BeamRegisters,
    ::testing::Values(Beam{0, 0, 0, 0xFF, 0xE8, 0xFF, 0x04, 0xC4, 0x80},        // vertical blank, line 260
                      Beam{52, 0, 5, 0xFF, 0xE8, 0xFE, 0x00, 0xC4, 0xAF},       // line 0: row line 7
                      Beam{59, 40, 15, 0xFC, 0x00, 0xFE, 0x07, 0x08, 0xFC},     // first row of the window
                      Beam{83, 227, 1, 0xFC, 0x78, 0xFE, 0x1F, 0xC3, 0x8C},     // fourth row, line 4
                      Beam{255, 32, 0, 0xFF, 0xE8, 0xFE, 0xCB, 0x00, 0x80},     // last window line
                      Beam{300, 100, 0, 0xFF, 0xE8, 0xFE, 0xF8, 0x44, 0x80}));  // lower border

}  // namespace

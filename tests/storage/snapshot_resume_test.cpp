// A loaded snapshot resumes the program it holds: its raster interrupt line, its clock
// and its tones, whatever the machine that loads it was doing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "host/configuration.h"
#include "shell/sound_output.h"
#include "storage/program_files.h"
#include "support/cpu_helpers.h"
#include "ted/sound.h"

namespace {

constexpr uint16_t toneValue = 912;
constexpr int32_t silent = -10000;

class SnapshotResume : public ::testing::Test {
protected:
    std::string path = ::testing::TempDir() + "varnok_resume_" + std::to_string(getpid()) + ".fre";

    void TearDown() override { std::remove(path.c_str()); }

    // A machine with ROMs off, three silent host channels and the beam at the frame's top.
    static void freshMachine() {
        resetCpuMachine();
        startBeam();
        setSoundSwitch(true);
        ted.sound = TedSound{};
        emulatorConfig.soundEmulation = 1;
        for (int c = 1; c <= 3; ++c) fake.channels[c] = FakeSoundChannel{true, true, 44100, 0, silent};
    }

    // Sets a raster interrupt on line 100, single clock and voice 1 on a tone, then waits; the
    // handler notes the TED line it was entered on in $30 and counts its entries in $31.
    static void startProgram() {
        // clang-format off
        poke(0x1000, {
            0x78,                                // SEI
            0xA9, 0x02, 0x8D, 0x0A, 0xFF,        // raster interrupt enabled, compare bit 8 clear
            0xA9, 100, 0x8D, 0x0B, 0xFF,         // compare line 100
            0xA9, 0x02, 0x8D, 0x13, 0xFF,        // single clock
            0xA9, toneValue & 0xFF, 0x8D, 0x0E, 0xFF,
            0xA9, toneValue >> 8, 0x8D, 0x12, 0xFF,
            0xA9, 0x18, 0x8D, 0x11, 0xFF,        // voice 1 on, volume 8
            0x58,                                // CLI
            0x4C, 0x20, 0x10,                    // $1020: JMP $1020
        });
        poke(0x2000, {0xAD, 0x1D, 0xFF, 0x85, 0x30, 0xE6, 0x31,  // LDA $FF1D; STA $30; INC $31
                      0xA9, 0xFF, 0x8D, 0x09, 0xFF, 0x40});      // acknowledge; RTI
        // clang-format on
        pokeWord(0xFFFE, 0x2000);
        reg.PC = 0x1000;
        while (reg.PC != 0x1020) emulationStep();
    }

    // Runs until the handler has been entered once; returns the TED line it saw.
    static int lineOfFirstInterrupt() {
        for (long budget = 40000; budget > 0 && memory.ram[0x31] == 0; --budget) emulationStep();
        return memory.ram[0x31] ? memory.ram[0x30] : -1;
    }

    void saveRunningProgram() {
        freshMachine();
        startProgram();
        ASSERT_EQ(memory.ram[0x31], 0) << "saved before the first interrupt";
        ASSERT_TRUE(saveSnapshot(path.c_str()));
    }

    // A machine doing something else: compare line 200, double clock, no sound.
    static void otherMachine() {
        freshMachine();
        ted.rasterCompare = 200;
        ted.singleClock = 0;
    }

    void patchField(size_t offset, uint32_t value) {
        std::FILE* file = std::fopen(path.c_str(), "r+b");
        ASSERT_NE(file, nullptr);
        const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                                  uint8_t(value >> 24)};
        std::fseek(file, long(offset), SEEK_SET);
        std::fwrite(bytes, 1, 4, file);
        std::fclose(file);
    }
};

TEST_F(SnapshotResume, InterruptFiresOnTheSavedLineAndTheToneGoesOn) {
    saveRunningProgram();
    otherMachine();
    loadSnapshot(path.c_str());
    playVoices();  // as the main loop does when the step reports the voices
    EXPECT_EQ(ted.singleClock, 1);
    EXPECT_EQ(fake.channels[1].volume, -1400);
    EXPECT_EQ(fake.channels[1].frequency, voiceFrequencyTable[toneValue]);
    EXPECT_EQ(lineOfFirstInterrupt(), 100);
    EXPECT_EQ(fake.channels[1].volume, -1400);
}

TEST_F(SnapshotResume, FilesWithoutTheMarkKeepTheLoadingMachinesCompareAndClock) {
    // Older files hold 0 there; other writers of the layout may keep 16-bit reloads.
    for (uint32_t unmarked : {0u, 0xFFFFu, 0x0064u}) {
        saveRunningProgram();
        patchField(52, unmarked);
        patchField(64, unmarked);
        otherMachine();
        loadSnapshot(path.c_str());
        EXPECT_EQ(ted.rasterCompare, 200) << unmarked;
        EXPECT_EQ(ted.singleClock, 0) << unmarked;
        EXPECT_EQ(reg.PC, 0x1020) << unmarked;
    }
}

// A timer counts 16 bits: wider counts from a file (written by anything) are taken as the
// timer would hold them, and every timer goes on counting through zero.
TEST_F(SnapshotResume, WideTimerFieldsAreTakenAsSixteenBitCounts) {
    saveRunningProgram();
    patchField(36, 0x80000010u);
    patchField(48, 0xFFFFFFFFu);
    patchField(60, 0x00012345u);
    otherMachine();
    ASSERT_EQ(loadSnapshot(path.c_str()), LoadStatus::loaded);
    EXPECT_EQ(ted.timer1.counter, 0x10);
    EXPECT_EQ(ted.timer2.counter, 0xFFFF);
    EXPECT_EQ(ted.timer3.counter, 0x2345);
    for (int step = 0; step < 40000; ++step) emulationStep();  // well over 65,536 cycles
    for (const TedTimer* timer : {&ted.timer1, &ted.timer2, &ted.timer3}) {
        EXPECT_GE(timer->counter, 0);
        EXPECT_LE(timer->counter, 0xFFFF);
    }
}

}  // namespace

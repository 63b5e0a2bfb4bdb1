// A fresh machine: whatever a run left behind (a breakpoint, the sound switch, a disk, a
// true drive, a drawn frame) is gone, and only the RAM block it owns is kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "drive/drive.h"
#include "support/cpu_helpers.h"
#include "ted/sound.h"

namespace {

// $1000: a tone on voice 1 at volume 8, then INX / STX $2000 / JMP $1008 for ever.
void startToneProgram() {
    resetCpuMachine();
    poke(0x1000, {0xA9, 0x38, 0x8D, 0x11, 0xFF, 0xA9, 0x90, 0x8D, 0x0E, 0xFF});
    poke(0x100A, {0xE8, 0x8E, 0x00, 0x20, 0x4C, 0x0A, 0x10});
    reg.PC = 0x1000;
}

// What a run of 30,000 steps shows of the machine: where the processor and the beam
// stand, what the program counted, the voice it set and the events the steps reported.
std::vector<int64_t> runAndObserve() {
    StepEvents events = 0;
    for (int i = 0; i < 30000; ++i) events |= emulationStep();
    return {reg.PC,
            reg.XR,
            memory.ram[0x2000],
            ted.beamX,
            ted.beamY,
            events,
            ted.sound.voices[0].volume,
            ted.sound.voices[0].rate,
            frameBuffer[frameWidth * 100 + 200]};
}

TEST(FreshMachine, RunsAProgramExactlyAsTheFirstRunDidWhateverTheRunBetweenLeft) {
    startToneProgram();
    const std::vector<int64_t> first = runAndObserve();

    // Everything a session might leave that changes the next run.
    machine.breakpointAddress = 0x100A;
    machine.breakpointEnabled = 1;
    setSoundSwitch(false);
    keyboard.keyState[0x1E] = 1;
    ted.timer1.reload = 0x0100;
    memory.ram[0xFF0A] = 0x08;  // timer 1 interrupts
    runAndObserve();

    startToneProgram();
    EXPECT_EQ(runAndObserve(), first);
}

TEST(FreshMachine, KeepsOnlyTheRamBlockItOwns) {
    resetCpuMachine();
    uint8_t* const ram = memory.ram;
    std::fill_n(ram, 0x10000, uint8_t(0x5A));
    mountD64InMemory(35);
    trueDrive.kind = TrueDriveKind::drive1541;
    paletteEntries[3] = {1, 2, 3, 4};
    frameBuffer[1000] = 7;
    setSoundSwitch(false);
    reg.SP = 0x20;

    freshMachine();
    EXPECT_EQ(memory.ram, ram);
    EXPECT_TRUE(std::all_of(ram, ram + 0x10000, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(drive.medium, noMedium);
    EXPECT_EQ(trueDrive.kind, TrueDriveKind::none);
    EXPECT_EQ(paletteEntries[3].blue, 0);
    EXPECT_EQ(frameBuffer[1000], 0);
    EXPECT_EQ(volumeTable, volumeAttenuation);
    EXPECT_EQ(reg.SP, 0xFF);
}

}  // namespace

// The whole machine started as the program starts it: ROM images from files, the timer
// interrupt counting in RAM while the loop runs frame after frame.
#include "host_test.h"
#include "memory/memory.h"

namespace {

using MachineRun = HostTest;

// Reset: timer 1 interrupts every $0400 cycles; the handler counts at $D0.
RomImage counterKernal() {
    RomImage image = palKernal(0xF000, 0xF100);
    // clang-format off
    image.place(0xF000, {
        0x78,              // SEI
        0xA9, 0x00,        // LDA #$00
        0x85, 0xD0,        // STA $D0
        0xA9, 0x08,        // LDA #$08     timer 1 interrupt enabled
        0x8D, 0x0A, 0xFF,  // STA $FF0A
        0xA9, 0x00,        // LDA #$00
        0x8D, 0x00, 0xFF,  // STA $FF00    timer 1 low; stops it
        0xA9, 0x04,        // LDA #$04
        0x8D, 0x01, 0xFF,  // STA $FF01    timer 1 high; starts it
        0x58,              // CLI
        0x4C, 0x15, 0xF0,  // JMP *
    });
    // clang-format on
    // clang-format off
    image.place(0xF100, {
        0x48,              // PHA
        0xE6, 0xD0,        // INC $D0
        0xAD, 0x09, 0xFF,  // LDA $FF09
        0x8D, 0x09, 0xFF,  // STA $FF09    acknowledge
        0x68,              // PLA
        0x40,              // RTI
    });
    // clang-format on
    return image;
}

TEST_F(MachineRun, TimerInterruptCountsWhileTheLoopRuns) {
    writeKernal(counterKernal());
    writeSettings({{"Ram", 2u}});
    queueRun(200);  // about 51,000 passes, several frames
    EXPECT_EQ(start(), 0);
    EXPECT_TRUE(fake.messageBoxes.empty());
    ASSERT_NE(memory.ram, nullptr);
    EXPECT_GE(memory.ram[0xD0], 20);
}

TEST_F(MachineRun, RunFramesHelperAdvancesTheBeam) {
    writeKernal(counterKernal());
    writeSettings({{"Ram", 2u}});
    fake.messages.push_back({platform::msgQuit, 0});
    start();
    EXPECT_EQ(runFrames(2), 2);
    EXPECT_GE(memory.ram[0xD0], 4);
}

}  // namespace

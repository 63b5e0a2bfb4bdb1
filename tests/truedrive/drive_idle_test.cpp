// A drive parked in its idle loop comes back exactly where stepping it would have left
// it. Both drives run a program of our own (a counter in RAM bumped in a loop, another in
// the interrupt handler) once with the motor off, where the drive parks, and once with
// the motor on, where it never does; the computer reaches the lines at scattered cycles
// of each line, which wakes a parked drive. RAM and registers must agree.
#include <gtest/gtest.h>

#include <vector>

#include "drive/drive.h"
#include "truedrive/true_drive.h"

namespace {

constexpr uint8_t motorBit = 0x04;  // the 1551's port bit 2, the 1541's VIA2 port B bit 2

// Our program at $C000, the interrupt handler at $C030, the vectors at the top.
std::vector<uint8_t> idleProgram(TrueDriveKind kind, bool motor) {
    std::vector<uint8_t> rom(dosRomBytes, 0xEA);
    std::vector<uint8_t> setup;
    if (kind == TrueDriveKind::drive1551) {
        setup = {0xA9, 0x6F,
                 0x85, 0x00,                           // LDA #$6F: STA $00 (port direction)
                 0xA9, uint8_t(motor ? motorBit : 0),  // LDA #motor
                 0x85, 0x01};                          // STA $01
    } else {
        setup = {0xA9, 0x6F,
                 0x8D, 0x02,
                 0x1C,  // DDRB
                 0xA9, uint8_t(motor ? motorBit : 0),
                 0x8D, 0x00,
                 0x1C,  // ORB: the motor
                 0xA9, 0x40,
                 0x8D, 0x0B,
                 0x1C,  // ACR: timer 1 free-running
                 0xA9, 0xC0,
                 0x8D, 0x0E,
                 0x1C,  // IER: timer 1
                 0xA9, 0x00,
                 0x8D, 0x04,
                 0x1C,  // latch $3000
                 0xA9, 0x30,
                 0x8D, 0x05,
                 0x1C};
    }
    const uint16_t loop = uint16_t(0xC000 + setup.size() + 1);
    setup.insert(setup.end(), {0x58,                                       // CLI
                               0xE6, 0x10,                                 // INC $10
                               0x4C, uint8_t(loop), uint8_t(loop >> 8)});  // JMP loop
    std::copy(setup.begin(), setup.end(), rom.begin());
    const uint8_t handler[] = {0xE6, 0x20, 0xAD, 0x04, 0x1C, 0x40};  // INC $20: LDA $1C04: RTI
    std::copy(std::begin(handler), std::end(handler), rom.begin() + 0x30);
    rom[0x3FFC] = 0x00, rom[0x3FFD] = 0xC0;
    rom[0x3FFE] = 0x30, rom[0x3FFF] = 0xC0;
    return rom;
}

struct Outcome {
    std::vector<uint8_t> ram;
    Registers cpu;
    uint64_t cycles;
    int linesParked;
};

// Two seconds of lines; the computer reaches the lines at a cycle of every seventh line.
Outcome runIdle(TrueDriveKind kind, bool motor) {
    static SerialBus serial;
    unmountDrive();  // no disk: a 1541's turning one would set V through the SO pin
    attachTrueDrive(kind, idleProgram(kind, motor), serial);
    Outcome outcome{};
    uint32_t scatter = 12345;
    for (int line = 0; line < 312 * 100; ++line) {
        if (line % 7 == 0) {
            scatter = scatter * 1103515245u + 12345u;
            catchUpTrueDrive((scatter >> 16) % 57);
        }
        finishTrueDriveLine();
        outcome.linesParked += trueDrive.idle.parked;
    }
    catchUpTrueDrive(0);  // a parked drive takes its place in the loop
    outcome.ram.assign(std::begin(trueDrive.ram), std::end(trueDrive.ram));
    outcome.ram[0] = outcome.ram[1] = 0;  // the 1551's port latches hold the motor bit
    outcome.cpu = trueDrive.cpu;
    outcome.cycles = trueDrive.cycles;
    detachTrueDrive();
    return outcome;
}

class IdleDrive : public ::testing::TestWithParam<TrueDriveKind> {};

TEST_P(IdleDrive, ParkedDriveWakesWhereSteppingWouldHaveLeftIt) {
    const Outcome parked = runIdle(GetParam(), false), stepped = runIdle(GetParam(), true);
    EXPECT_GT(parked.linesParked, 312 * 50);  // most of the time
    EXPECT_EQ(stepped.linesParked, 0);
    EXPECT_GT(parked.ram[0x20], 50);  // the interrupts came
    EXPECT_EQ(parked.ram, stepped.ram);
    EXPECT_EQ(parked.cpu.PC, stepped.cpu.PC);
    EXPECT_EQ(parked.cpu.AC, stepped.cpu.AC);
    EXPECT_EQ(parked.cpu.SP, stepped.cpu.SP);
    EXPECT_EQ(parked.cycles, stepped.cycles);
}

INSTANTIATE_TEST_SUITE_P(TrueDrives, IdleDrive,
                         ::testing::Values(TrueDriveKind::drive1551, TrueDriveKind::drive1541),
                         [](const auto& info) {
                             return info.param == TrueDriveKind::drive1551 ? "Drive1551" : "Drive1541";
                         });

}  // namespace

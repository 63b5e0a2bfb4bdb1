#pragma once
// Drive 8 as a computer of its own (truedrive/true_drive.h).
#include <array>
#include <cstddef>
#include <cstdint>

#include "chips/serial_bus.h"
#include "chips/tia6523.h"
#include "chips/via6522.h"
#include "cpu/registers.h"
#include "disk/gcr.h"
#include "disk/head.h"
#include "state/drive_idle.h"

enum class TrueDriveKind : uint8_t { none, drive1551, drive1541 };

constexpr size_t dosRomBytes = 0x4000;
constexpr size_t driveRamBytes = 0x800;

struct TrueDrive {
    TrueDriveKind kind = TrueDriveKind::none;
    Registers cpu;
    bool irqPending = false;  // the 1551's periodic interrupt, until the processor takes it
    uint8_t ram[driveRamBytes] = {};
    std::array<uint8_t, dosRomBytes> rom{};
    gcr::Disk disk;
    gcr::Head head;
    bool diskInserted = false;
    // A disk going in blocks the write-protect light for a moment (until this drive
    // cycle), as a protected one does: the DOS takes that as a disk change.
    uint64_t swapEnds = 0;
    // Tracks were decoded into the image but its file could not be written: the next
    // write-back tries again.
    bool imageUnwritten = false;

    // The 1551: its 6510T's own port (stepper, motor, LED, density, write protect, byte
    // ready) and the 6523 that carries the cable's lines and the head's bytes.
    uint8_t portDirection = 0, portOutput = 0;
    bool byteReady = false;
    Tia6523 tia;
    uint32_t irqCountdown = 0;

    // The 1541: VIA1 on the serial bus, VIA2 on the head.
    Via6522 via1, via2;
    SerialBus* serial = nullptr;  // the computer's

    // Time: the computer's cycle of the current line the drive has run to; drive cycles
    // owed by the computer's time, in 1/65536 of a cycle; the drive cycle the computer's
    // time has reached, and the cycles run (an instruction may end past it); when the
    // head last wrote (the image is written back once it is quiet), and that time once
    // the quiet after it was served.
    uint32_t lineCycle = 0;
    uint64_t owed = 0;
    uint64_t due = 0;
    uint64_t cycles = 0;
    uint64_t lastWrite = 0, quietSince = 0;
    bool ledOn = false;

    DriveIdle idle;  // the idle loop watched for, and time passing without the processor
};

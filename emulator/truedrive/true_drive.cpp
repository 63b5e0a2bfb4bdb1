// The true drives' time and disk: each runs its processor for the time the computer's
// instruction took, and its written tracks go back into the D64 image or the G64 file.
#include "truedrive/true_drive.h"

#include <algorithm>

#include "disk/g64.h"
#include "drive/drive.h"
#include "truedrive/drive_buses.h"

namespace {

constexpr uint32_t clock1551 = 2000000, clock1541 = 1000000;
constexpr uint32_t cyclesPerLine = 57, machineClock = 17784 * 50;
// The disk is written back once the drive has been quiet for a second and a half.
constexpr uint64_t quietWriteBackMicroseconds = 1500000;

uint32_t driveClock() { return trueDrive.kind == TrueDriveKind::drive1551 ? clock1551 : clock1541; }

// Drive cycles per computer cycle, in 1/65536.
constexpr uint64_t owed1551 = (uint64_t(clock1551) << 16) / machineClock;
constexpr uint64_t owed1541 = (uint64_t(clock1541) << 16) / machineClock;

// The port-level drive's image and its error bytes (none when it has none).
std::span<uint8_t> imageBytes() { return {drive.d64Image, trackOffset[drive.tracks + 1]}; }
std::span<uint8_t> imageErrors() {
    return {drive.errorBytes, drive.hasErrorBytes ? trackOffset[drive.tracks + 1] / d64SectorBytes : 0};
}

bool anyTrackChanged() {
    return std::any_of(trueDrive.disk.changed.begin(), trueDrive.disk.changed.end(),
                       [](bool c) { return c; });
}

}  // namespace

void insertTrueDriveDisk() {
    TrueDrive& d = trueDrive;
    if (d.kind == TrueDriveKind::none) return;
    if (d.kind == TrueDriveKind::drive1541) drive.attached = false;  // the cable stays empty
    d.diskInserted = drive.medium == d64Medium;
    d.imageUnwritten = false;  // the image is its file's
    if (!d.diskInserted) {
        d.disk = gcr::Disk{};
        return;
    }
    // A G64's tracks turn as its file holds them, a D64's as the DOS would have formatted them.
    d.disk = drive.g64 ? gcr::readG64(drive.g64File).disk
                       : gcr::fromD64(imageBytes(), drive.tracks, imageErrors());
    d.disk.writeProtected = drive.g64 ? !drive.g64Writable : drive.writeProtected;
    d.swapEnds = d.cycles + driveClock() / 2;  // half a second
}

void powerOnTrueDrive() {
    TrueDrive& d = trueDrive;
    std::fill(std::begin(d.ram), std::end(d.ram), uint8_t(0));
    d.cpu = Registers{};
    d.cpu.I = 1;
    d.irqPending = false;
    d.byteReady = false;
    d.head.halfTrack = 36;
    d.head.phase = 0;      // the phase that holds a whole track
    d.idle = DriveIdle{};  // the RAM is all zero again
    if (d.kind == TrueDriveKind::drive1551) powerOn1551(d);
    if (d.kind == TrueDriveKind::drive1541) powerOn1541(d);
    idleRestart(d);
}

void attachTrueDrive(TrueDriveKind kind, std::span<const uint8_t> rom, SerialBus& serial) {
    TrueDrive& d = trueDrive;
    d = TrueDrive{};
    d.kind = kind;
    d.serial = &serial;
    drive.cableOnly = kind == TrueDriveKind::drive1551;
    if (kind == TrueDriveKind::drive1541) drive.attached = false;
    std::copy_n(rom.begin(), std::min(rom.size(), dosRomBytes), d.rom.begin());
    d.head.clockMultiple = kind == TrueDriveKind::drive1551 ? 2 : 1;
    insertTrueDriveDisk();
    d.swapEnds = 0;  // the disk was in before the power came on
    powerOnTrueDrive();
}

void detachTrueDrive() {
    flushTrueDriveDisk();
    drive.cableOnly = false;
    if (trueDrive.serial) *trueDrive.serial = SerialBus{};
    trueDrive = TrueDrive{};
}

namespace {

void runTrueDrive(uint32_t singleCycles) {
    TrueDrive& d = trueDrive;
    d.owed += singleCycles * (d.kind == TrueDriveKind::drive1551 ? owed1551 : owed1541);
    d.due += d.owed >> 16;
    d.owed &= 0xFFFF;
    if (d.cycles >= d.due) return;
    if (d.kind == TrueDriveKind::drive1551)
        run1551(d, d.due);
    else
        run1541(d, d.due);
    if (d.head.writing && d.head.motor) d.lastWrite = d.cycles;
    // The image file is brought up to date once the drive has stopped writing for a while,
    // so a save is in the file soon after the program thinks it is done (looked at once
    // after each spell of writing).
    if (d.lastWrite != d.quietSince &&
        d.cycles - d.lastWrite > quietWriteBackMicroseconds * driveClock() / 1000000) {
        d.quietSince = d.lastWrite;
        if (anyTrackChanged()) flushTrueDriveDisk();
    }
}

}  // namespace

void catchUpTrueDrive(uint32_t lineCycle) {
    TrueDrive& d = trueDrive;
    if (d.kind == TrueDriveKind::none) return;
    if (lineCycle > d.lineCycle) runTrueDrive(lineCycle - d.lineCycle);
    d.lineCycle = lineCycle;  // a beam put back (a reset) starts the count again
    // The computer may change the lines next: the loop must see them change where it is.
    if (d.kind == TrueDriveKind::drive1551)
        wake1551(d);
    else
        wake1541(d);
}

void finishTrueDriveLine() {
    TrueDrive& d = trueDrive;
    if (d.kind == TrueDriveKind::none) return;
    if (cyclesPerLine > d.lineCycle) runTrueDrive(cyclesPerLine - d.lineCycle);
    d.lineCycle = 0;
}

bool flushTrueDriveDisk() {
    TrueDrive& d = trueDrive;
    if (!anyTrackChanged() && !d.imageUnwritten) return true;
    if (drive.g64) {
        if (!writeBackG64(d.disk)) return false;
        d.disk.changed.fill(false);
        return true;
    }
    const std::span<uint8_t> image = imageBytes();
    // Track 18 first: a disk formatted anew has its new ID in the BAM, and the sectors
    // that carry it are sound now.
    auto decode = [&](int track) {
        if (!d.disk.changed[2 * track]) return;
        d.disk.changed[2 * track] = false;
        if (track <= drive.tracks)
            gcr::toD64(d.disk.tracks[2 * track], track, image, imageErrors(), gcr::diskId(image));
    };
    decode(18);
    for (int track = 1; track <= gcr::maxTrack; ++track) decode(track);
    d.disk.changed.fill(false);  // a D64 has no place for what lies between the tracks
    d.imageUnwritten = !writeBackD64();
    return !d.imageUnwritten;
}

#pragma once
// Each true drive's memory map and its time (truedrive/drive1551.cpp and drive1541.cpp).
#include <cstdint>

#include "truedrive/true_drive.h"

// Power-on: RAM and chips cleared, the head at rest over track 18, the processor to its
// reset vector.
void powerOnTrueDrive();

void powerOn1551(TrueDrive& d);
void powerOn1541(TrueDrive& d);

// Runs the drive's processor, chips and disk until its clock reaches `until` (the last
// instruction may end a few cycles past it: the next run is that much shorter).
void run1551(TrueDrive& d, uint64_t until);
void run1541(TrueDrive& d, uint64_t until);

// A drive parked in its idle loop takes its place in the loop again, before the computer
// reads or changes the lines between them (truedrive/drive_idle.h).
void wake1551(TrueDrive& d);
void wake1541(TrueDrive& d);

// The write-protect sense: a protected disk, or one going in.
inline bool writeProtectSensed(const TrueDrive& d) { return d.disk.writeProtected || d.cycles < d.swapEnds; }
// Drive cycles until the sense changes by itself (a disk is in), else UINT32_MAX.
inline uint32_t cyclesToSwapEnd(const TrueDrive& d) {
    return d.cycles < d.swapEnds ? uint32_t(d.swapEnds - d.cycles) : UINT32_MAX;
}

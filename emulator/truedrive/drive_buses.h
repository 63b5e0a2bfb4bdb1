#pragma once
// Each true drive's memory map and its time (truedrive/drive1551.cpp and drive1541.cpp).
#include <cstdint>

#include "truedrive/true_drive.h"

// Power-on: RAM and chips cleared, the head at rest over track 18, the processor to its
// reset vector.
void powerOnTrueDrive();

void powerOn1551(TrueDrive& d);
void powerOn1541(TrueDrive& d);

// Runs the drive's processor, chips and disk for `cycles` of its own clock.
void run1551(TrueDrive& d, uint64_t cycles);
void run1541(TrueDrive& d, uint64_t cycles);

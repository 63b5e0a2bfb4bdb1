#pragma once
// Drive 8 as a computer of its own: a 1551 on the parallel cable or a 1541 on the serial
// bus, each running its DOS ROM on the same processor core as the Plus/4, with its RAM,
// its interface chips and a GCR disk under a stepper-driven head. The disk is the D64
// image the port-level drive holds (drive/); writes are decoded back into it.
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "chips/serial_bus.h"
#include "chips/tia6523.h"
#include "chips/via6522.h"
#include "cpu/registers.h"
#include "disk/gcr.h"
#include "disk/head.h"
#include "state/machine.h"
#include "truedrive/drive_idle.h"

// Attaches a drive of `kind` running `rom` (16 KB) with the image the port-level drive
// holds (if any) as its disk, and powers it on. A 1551 takes over the cable from the
// port-level drive; a 1541 leaves the cable empty (the KERNAL then turns to the serial
// bus) and joins the computer's serial bus.
void attachTrueDrive(TrueDriveKind kind, std::span<const uint8_t> rom, SerialBus& serial);
void detachTrueDrive();
// The disk was changed: the GCR surface is built again from the image.
void insertTrueDriveDisk();

// The drive keeps up with the computer's time, counted in single-clock cycles (57 a
// line, 17,784 a frame, 50 frames a second). It runs to the end of each line, and to
// `lineCycle` of the current one before the computer reads or changes the lines between
// them, so each side sees the other as it stands at that cycle.
void catchUpTrueDrive(uint32_t lineCycle);
void finishTrueDriveLine();

// Decodes the tracks written since the last call back into the port-level drive's image
// and writes it to its file; true when something was written (or nothing needed to be).
// After a failure the image is written again at the next call.
bool flushTrueDriveDisk();

// What the status line shows: whether a true drive runs and is busy (its motor turning
// or its LED lit), its LED and the track under the head.
inline bool trueDriveOn() { return trueDrive.kind != TrueDriveKind::none; }
inline bool trueDriveBusy() { return trueDrive.head.motor || trueDrive.ledOn; }
inline bool trueDriveLed() { return trueDrive.ledOn; }
inline int trueDriveTrack() { return trueDrive.head.halfTrack / 2; }

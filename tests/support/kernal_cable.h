#pragma once
// The computer's side of the 1551 cable, driven exactly as the real KERNAL drives it:
// the 6523's start-up values, the presence check, and one handshake per byte (the code
// on the data lines, wait for ACK low, the byte and DAV low, wait for ACK high, the
// status, DAV high; a read hands the data lines to the drive and takes them back in a
// second DAV cycle). Tests and fuzz targets speak to the drive port through it.
#include <cstdint>

namespace cable {

enum Code : uint8_t { busCommand = 0x81, secondary = 0x82, data = 0x83, read = 0x84 };

// DDRs and lines as the KERNAL leaves them at reset.
void init();
// The KERNAL's check before each LISTEN and TALK: $55 reads back, no status bit 1.
bool present();
// One byte after its code; returns the status bits the drive answered with.
uint8_t send(Code code, uint8_t value);
// One byte from the drive, with its status bits (3: the last, 2: nothing to send).
uint8_t receive(uint8_t& status);

// False once a wait for the drive's ACK found the line the wrong way (the KERNAL
// would have waited for ever); init() sets it true.
extern bool answered;

}  // namespace cable

#pragma once
// The serial bus: ATN, CLK and DATA are open-collector lines, low while any device pulls
// them. The computer pulls through its processor port, a 1541 through its VIA1, whose
// ATN-acknowledge output also pulls DATA by itself until the drive answers ATN.
#include <cstdint>

struct SerialBus {
    bool attached = false;  // a serial drive is on the bus
    // The computer's processor port: $00 its data direction, $01 its output latch.
    const uint8_t* computerPort = nullptr;
    // The drive's outputs, as its VIA1 last set them (true: pulling the line low).
    bool driveClk = false, driveData = false, driveAtnAck = false;
};

struct SerialLines {
    bool atn, clk, data;  // true: the line is low
};

// The lines with the computer's port outputs (bit 0 DATA, bit 1 CLK, bit 2 ATN: a 1 on
// an output bit pulls the line low).
inline SerialLines serialLines(const SerialBus& bus) {
    const uint8_t pulled = bus.computerPort ? bus.computerPort[0] & bus.computerPort[1] : 0;
    const bool atn = pulled & 0x04;
    return {atn, (pulled & 0x02) || bus.driveClk,
            (pulled & 0x01) || bus.driveData || (bus.attached && atn != bus.driveAtnAck)};
}

// The computer's port as its processor reads it: the output latch on output bits, and
// on input bits CLK (bit 6) and DATA (bit 7), high while released; the rest float high.
inline uint8_t computerPortRead(const SerialBus& bus) {
    const SerialLines lines = serialLines(bus);
    const uint8_t pins = uint8_t(0x3F | (lines.clk ? 0 : 0x40) | (lines.data ? 0 : 0x80));
    const uint8_t direction = bus.computerPort[0];
    return uint8_t((bus.computerPort[1] & direction) | (pins & ~direction));
}

#pragma once
// The 6523 tri-port interface: three 8-bit ports, each bit an input or an output as its
// data direction register says. No timers, no interrupts.
#include <cstdint>

struct Tia6523 {
    uint8_t port[3] = {};  // the output latches of ports A, B and C
    uint8_t ddr[3] = {};   // 1: the bit is an output
};

// What the chip drives onto a port's pins; input bits float high.
inline uint8_t tiaOutput(const Tia6523& tia, int port) { return uint8_t(tia.port[port] | ~tia.ddr[port]); }

// A register as the processor reads it: 0-2 the ports (the latch on output bits, the
// `pins` of that port on input bits), 3-5 the data directions; 6 and 7 read 0.
inline uint8_t tiaRead(const Tia6523& tia, unsigned reg, uint8_t pins) {
    reg &= 7;
    if (reg < 3) return uint8_t((tia.port[reg] & tia.ddr[reg]) | (pins & ~tia.ddr[reg]));
    return reg < 6 ? tia.ddr[reg - 3] : 0;
}

// False when writing `value` to register `reg` would leave the chip as it is.
inline bool tiaWriteChanges(const Tia6523& tia, unsigned reg, uint8_t value) {
    reg &= 7;
    return reg < 3 ? tia.port[reg] != value : reg < 6 && tia.ddr[reg - 3] != value;
}

inline void tiaWrite(Tia6523& tia, unsigned reg, uint8_t value) {
    reg &= 7;
    if (reg < 3) tia.port[reg] = value;
    if (reg >= 3 && reg < 6) tia.ddr[reg - 3] = value;
}

#pragma once
// The 6522 versatile interface adapter: two ports with their data directions, two
// timers, the CA1/CA2/CB1/CB2 control lines and the interrupt flags. The shift register
// only holds what is written to it.
#include <cstdint>

struct Via6522 {
    uint8_t orb = 0, ora = 0, ddrb = 0, ddra = 0;
    uint16_t timer1 = 0xFFFF, latch1 = 0xFFFF, timer2 = 0xFFFF;
    uint8_t latch2Low = 0xFF;
    bool timer1Armed = false, timer2Armed = false;  // a one-shot timer that has not yet fired
    uint8_t shift = 0, acr = 0, pcr = 0, ifr = 0, ier = 0;
    bool ca1 = false, cb1 = false;  // the input levels last seen, for their edges
};

// Interrupt flag bits.
enum ViaFlag : uint8_t {
    viaCa2 = 0x01,
    viaCa1 = 0x02,
    viaShift = 0x04,
    viaCb2 = 0x08,
    viaCb1 = 0x10,
    viaTimer2 = 0x20,
    viaTimer1 = 0x40
};

// Registers 0-15 as the processor reads and writes them; `pinsA`/`pinsB` are the levels
// the outside world puts on the port pins.
uint8_t viaRead(Via6522& via, unsigned reg, uint8_t pinsA, uint8_t pinsB);
void viaWrite(Via6522& via, unsigned reg, uint8_t value);

// The timers count `cycles` clock cycles down.
void viaTick(Via6522& via, uint32_t cycles);

// False when writing `value` to register `reg` would leave the chip as it is (a timer's
// start always changes it: the count begins again).
bool viaWriteChanges(const Via6522& via, unsigned reg, uint8_t value);

// Cycles until a timer raises an interrupt flag that is not raised yet (a free-running
// timer 1, or a one-shot timer not yet fired); UINT32_MAX when none will.
uint32_t viaCyclesToFlag(const Via6522& via);

// The timers' counters, which change with every cycle.
inline bool viaTimerRegister(unsigned reg) {
    reg &= 15;
    return reg == 4 || reg == 5 || reg == 8 || reg == 9;
}

// A control input changed level: an active edge (the PCR chooses rising or falling)
// raises its flag.
void viaSetCa1(Via6522& via, bool level);
void viaSetCb1(Via6522& via, bool level);

// What the chip drives onto the ports' pins (inputs float high), and the CA2/CB2 levels in
// their manual output modes (high in any other mode).
inline uint8_t viaOutputA(const Via6522& via) { return uint8_t(via.ora | ~via.ddra); }
inline uint8_t viaOutputB(const Via6522& via) { return uint8_t(via.orb | ~via.ddrb); }
inline bool viaCa2High(const Via6522& via) { return (via.pcr & 0x0E) != 0x0C; }
inline bool viaCb2High(const Via6522& via) { return (via.pcr & 0xE0) != 0xC0; }

// The IRQ output: any flag that is also enabled.
inline bool viaIrq(const Via6522& via) { return (via.ifr & via.ier & 0x7F) != 0; }

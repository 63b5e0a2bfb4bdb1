#include "chips/via6522.h"

#include <algorithm>

namespace {

// Cycles from a timer's value to its next underflow, and its free-running period.
constexpr int64_t period(uint16_t latch) { return int64_t(latch) + 2; }

void tickTimer1(Via6522& via, uint32_t cycles) {
    const int64_t untilUnderflow = int64_t(via.timer1) + 1;
    if (cycles < untilUnderflow) {
        via.timer1 = uint16_t(via.timer1 - cycles);
        return;
    }
    const int64_t after = cycles - untilUnderflow;  // cycles since the first underflow
    if (via.acr & 0x40) {  // free-running: reloads from the latch and fires every period
        via.ifr |= viaTimer1;
        // The count reads $FFFF for the cycle of the underflow, then the latch; that cycle
        // is kept as one above the latch, so the count always runs down to the next one.
        const int64_t into = after % period(via.latch1);
        via.timer1 = uint16_t(via.latch1 + 1 - into);
        return;
    }
    if (via.timer1Armed) via.ifr |= viaTimer1;
    via.timer1Armed = false;
    via.timer1 = uint16_t(0xFFFF - after);
}

void tickTimer2(Via6522& via, uint32_t cycles) {
    if (cycles > via.timer2) {
        if (via.timer2Armed) via.ifr |= viaTimer2;
        via.timer2Armed = false;
    }
    via.timer2 = uint16_t(via.timer2 - cycles);
}

uint8_t portValue(uint8_t latch, uint8_t direction, uint8_t pins) {
    return uint8_t((latch & direction) | (pins & ~direction));
}

bool edge(bool was, bool now, bool risingActive) { return was != now && now == risingActive; }

}  // namespace

uint8_t viaRead(Via6522& via, unsigned reg, uint8_t pinsA, uint8_t pinsB) {
    switch (reg & 15) {
        case 0:
            via.ifr &= uint8_t(~(viaCb1 | viaCb2));
            return portValue(via.orb, via.ddrb, pinsB);
        case 1:
            via.ifr &= uint8_t(~(viaCa1 | viaCa2));
            return portValue(via.ora, via.ddra, pinsA);
        case 2:
            return via.ddrb;
        case 3:
            return via.ddra;
        case 4:
            via.ifr &= uint8_t(~viaTimer1);
            return uint8_t(via.timer1);
        case 5:
            return uint8_t(via.timer1 >> 8);
        case 6:
            return uint8_t(via.latch1);
        case 7:
            return uint8_t(via.latch1 >> 8);
        case 8:
            via.ifr &= uint8_t(~viaTimer2);
            return uint8_t(via.timer2);
        case 9:
            return uint8_t(via.timer2 >> 8);
        case 10:
            return via.shift;
        case 11:
            return via.acr;
        case 12:
            return via.pcr;
        case 13:
            return uint8_t(via.ifr | (viaIrq(via) ? 0x80 : 0));
        case 14:
            return uint8_t(via.ier | 0x80);
        default:
            return portValue(via.ora, via.ddra, pinsA);
    }
}

void viaWrite(Via6522& via, unsigned reg, uint8_t value) {
    switch (reg & 15) {
        case 0:
            via.ifr &= uint8_t(~(viaCb1 | viaCb2));
            via.orb = value;
            break;
        case 1:
            via.ifr &= uint8_t(~(viaCa1 | viaCa2));
            via.ora = value;
            break;
        case 2:
            via.ddrb = value;
            break;
        case 3:
            via.ddra = value;
            break;
        case 4:
        case 6:
            via.latch1 = uint16_t((via.latch1 & 0xFF00) | value);
            break;
        case 5:
            via.latch1 = uint16_t((via.latch1 & 0x00FF) | value << 8);
            via.timer1 = via.latch1;
            via.timer1Armed = true;
            via.ifr &= uint8_t(~viaTimer1);
            break;
        case 7:
            via.latch1 = uint16_t((via.latch1 & 0x00FF) | value << 8);
            via.ifr &= uint8_t(~viaTimer1);
            break;
        case 8:
            via.latch2Low = value;
            break;
        case 9:
            via.timer2 = uint16_t(via.latch2Low | value << 8);
            via.timer2Armed = true;
            via.ifr &= uint8_t(~viaTimer2);
            break;
        case 10:
            via.shift = value;
            break;
        case 11:
            via.acr = value;
            break;
        case 12:
            via.pcr = value;
            break;
        case 13:
            via.ifr &= uint8_t(~value);
            break;
        case 14:
            if (value & 0x80)
                via.ier |= value & 0x7F;
            else
                via.ier &= uint8_t(~value);
            break;
        default:
            via.ora = value;
            break;
    }
}

bool viaWriteChanges(const Via6522& via, unsigned reg, uint8_t value) {
    switch (reg & 15) {
        case 0:
            return via.orb != value || (via.ifr & (viaCb1 | viaCb2));
        case 1:
            return via.ora != value || (via.ifr & (viaCa1 | viaCa2));
        case 2:
            return via.ddrb != value;
        case 3:
            return via.ddra != value;
        case 4:
        case 6:
            return uint8_t(via.latch1) != value;
        case 7:
            return via.latch1 >> 8 != value || (via.ifr & viaTimer1);
        case 8:
            return via.latch2Low != value;
        case 10:
            return via.shift != value;
        case 11:
            return via.acr != value;
        case 12:
            return via.pcr != value;
        case 13:
            return via.ifr & value & 0x7F;
        case 14:
            return (value & 0x80 ? via.ier | (value & 0x7F) : via.ier & ~value) != via.ier;
        case 15:
            return via.ora != value;
        default:  // 5 and 9 start a timer
            return true;
    }
}

uint32_t viaCyclesToFlag(const Via6522& via) {
    uint32_t cycles = UINT32_MAX;
    if (!(via.ifr & viaTimer1) && ((via.acr & 0x40) || via.timer1Armed)) cycles = uint32_t(via.timer1) + 1;
    if (!(via.ifr & viaTimer2) && via.timer2Armed) cycles = std::min(cycles, uint32_t(via.timer2) + 1);
    return cycles;
}

void viaTick(Via6522& via, uint32_t cycles) {
    tickTimer1(via, cycles);
    tickTimer2(via, cycles);
}

void viaSetCa1(Via6522& via, bool level) {
    if (edge(via.ca1, level, via.pcr & 0x01)) via.ifr |= viaCa1;
    via.ca1 = level;
}

void viaSetCb1(Via6522& via, bool level) {
    if (edge(via.cb1, level, via.pcr & 0x10)) via.ifr |= viaCb1;
    via.cb1 = level;
}

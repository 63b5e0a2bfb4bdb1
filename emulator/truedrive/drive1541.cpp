// The 1541: a 6502 at 1 MHz with 2 KB of RAM and the DOS at $C000. VIA1 at $1800 is on
// the serial bus (its CA1 sees ATN), VIA2 at $1C00 on the mechanics and the head: port
// A the GCR byte, port B stepper, motor, LED, density, write protect and sync, CA1 byte
// ready (also to the processor's SO pin, which sets V, while CA2 is high), CB2 read or
// write.
#include <algorithm>

#include "cpu/core.h"
#include "truedrive/drive_buses.h"
#include "truedrive/drive_idle.h"

namespace {

// VIA1 port B: bit 0 DATA in, bit 1 DATA out, bit 2 CLK in, bit 3 CLK out, bit 4 ATN
// acknowledge, bits 5-6 the device number (both 0: drive 8), bit 7 ATN in.
constexpr uint8_t dataIn = 0x01, dataOut = 0x02, clkIn = 0x04, clkOut = 0x08, atnAck = 0x10, atnIn = 0x80;
// VIA2 port B: bits 0-1 stepper, bit 2 motor, bit 3 LED, bit 4 write protect (0 =
// protected), bits 5-6 density, bit 7 sync (0 = sync).
constexpr uint8_t motorBit = 0x04, ledBit = 0x08, writeEnableBit = 0x10, noSyncBit = 0x80;

SerialLines lines(const TrueDrive& d) { return serialLines(*d.serial); }

uint8_t via1Pins(const TrueDrive& d) {
    const SerialLines l = lines(d);
    return uint8_t((l.data ? dataIn : 0) | (l.clk ? clkIn : 0) | (l.atn ? atnIn : 0) | dataOut | clkOut |
                   atnAck);
}

uint8_t via2Pins(const TrueDrive& d) {
    return uint8_t((d.head.sync ? 0 : noSyncBit) | (writeProtectSensed(d) ? 0 : writeEnableBit) | 0x6F);
}

void via1Changed(TrueDrive& d) {
    const uint8_t out = viaOutputB(d.via1);
    d.serial->driveData = (d.via1.ddrb & dataOut) && (out & dataOut);
    d.serial->driveClk = (d.via1.ddrb & clkOut) && (out & clkOut);
    d.serial->driveAtnAck = (d.via1.ddrb & atnAck) && (out & atnAck);
}

void via2Changed(TrueDrive& d) {
    const uint8_t out = viaOutputB(d.via2);
    gcr::setPhase(d.head, d.disk, out & 3);
    d.head.motor = out & motorBit;
    d.head.density = (out >> 5) & 3;
    d.ledOn = out & ledBit;
    d.head.writing = !viaCb2High(d.via2);
    d.head.output = viaOutputA(d.via2);
}

struct Bus1541 {
    TrueDrive& d;
    Registers& registers() { return d.cpu; }
    uint8_t read(uint16_t address) {
        if (address >= 0x8000) return d.rom[address & 0x3FFF];
        address &= 0x1FFF;
        if (address < 0x1800) return idleReadRam(d.idle, d.ram, address & (driveRamBytes - 1), d.cpu.SP);
        if (viaTimerRegister(address)) d.idle.disturbed = true;  // a count changes with every cycle
        if (address < 0x1C00) return viaRead(d.via1, address, 0xFF, via1Pins(d));
        return viaRead(d.via2, address, d.head.input, via2Pins(d));
    }
    void write(uint16_t address, uint8_t value) {
        if (address >= 0x8000) return;
        address &= 0x1FFF;
        if (address < 0x1800) {
            idleWriteRam(d.idle, d.ram, address & (driveRamBytes - 1), value);
            return;
        }
        Via6522& via = address < 0x1C00 ? d.via1 : d.via2;
        if (viaWriteChanges(via, address, value)) d.idle.disturbed = true;
        viaWrite(via, address, value);
        if (address < 0x1C00)
            via1Changed(d);
        else
            via2Changed(d);
    }
};

// What reaches the drive from outside: the lines the computer pulls and the disk's write
// protection.
uint32_t outsideLines(const TrueDrive& d) {
    const uint8_t* port = d.serial->computerPort;
    return uint32_t((port ? port[0] & port[1] & 7 : 0) | writeProtectSensed(d) << 8);
}

// Time passes for the chips around the processor (the head aside).
void elapse(TrueDrive& d, uint32_t cycles) {
    viaTick(d.via1, cycles);
    viaTick(d.via2, cycles);
}

}  // namespace

void powerOn1541(TrueDrive& d) {
    d.via1 = Via6522{};
    d.via2 = Via6522{};
    d.serial->attached = true;
    via1Changed(d);
    via2Changed(d);
    Bus1541 bus{d};
    d.cpu.PC = cpu::core::readWord(bus, 0xFFFC);
}

void run1541(TrueDrive& d, uint64_t until) {
    Bus1541 bus{d};
    auto pass = [&d](uint64_t cycles) { elapse(d, uint32_t(cycles)); };
    if (idleInputsChanged(d, outsideLines(d))) {
        idleWake(d.idle, d.cycles, bus, pass);
        idleRestart(d);
    }
    viaSetCa1(d.via1, lines(d).atn);  // ATN as the computer last set it
    while (d.cycles < until) {
        if (d.idle.parked) {
            const uint64_t toEvent =
                std::min({viaCyclesToFlag(d.via1), viaCyclesToFlag(d.via2), cyclesToSwapEnd(d)});
            if (idleWait(d.idle, d.cycles, until, toEvent, bus, pass)) return;
            continue;
        }
        if ((viaIrq(d.via1) || viaIrq(d.via2)) && !d.cpu.I) {
            cpu::enterInterrupt(bus, 0xFFFE);
            idleInterrupted(d);
        }
        uint16_t spent = cpu::execute(bus);
        if (spent == 0) spent = 2;
        d.cycles += spent;
        elapse(d, spent);
        if (gcr::turn(d.head, d.disk, spent)) {
            viaSetCa1(d.via2, false);  // byte ready pulses low
            viaSetCa1(d.via2, true);
            if (viaCa2High(d.via2)) d.cpu.V = 1;
        }
        if (d.cpu.PC == d.idle.anchor) idleVisit(d);
    }
}

void wake1541(TrueDrive& d) {
    Bus1541 bus{d};
    idleWake(d.idle, d.cycles, bus, [&d](uint64_t cycles) { elapse(d, uint32_t(cycles)); });
}

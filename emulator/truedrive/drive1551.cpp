// The 1551: a 6510T at 2 MHz with 2 KB of RAM and the DOS at $C000. Its own port at
// $00/$01 drives the mechanics (stepper, motor, LED, density; write protect and byte
// ready come in); one 6523 at $4000 carries the cable to the computer on ports A and C
// and the head's GCR bytes on port B.
#include <algorithm>

#include "cpu/core.h"
#include "drive/drive.h"
#include "truedrive/drive_buses.h"
#include "truedrive/drive_idle.h"

namespace {

constexpr uint32_t irqPeriod = 16384;  // the drive's own periodic interrupt, about 122 a second

enum TiaPort { portA, portB, portC };
// Port C: bits 0-1 the status to the computer, bit 3 its ACK, bit 4 read (1) or write
// (0); in: bit 6 no sync (1), bit 7 the computer's DAV.
constexpr uint8_t ackOut = 0x08, readMode = 0x10, noSync = 0x40, davIn = 0x80;
// The 6510T port: bits 0-1 stepper, bit 2 motor, bit 3 LED, bit 4 write protect (0 =
// protected), bits 5-6 density, bit 7 byte ready.
constexpr uint8_t motorBit = 0x04, ledBit = 0x08, writeEnableBit = 0x10, byteReadyBit = 0x80;

uint8_t portPins(const TrueDrive& d) {
    return uint8_t((d.byteReady ? byteReadyBit : 0) | (writeProtectSensed(d) ? 0 : writeEnableBit) | 0x67);
}

void portChanged(TrueDrive& d) {
    const uint8_t out = uint8_t(d.portOutput | ~d.portDirection);
    gcr::setPhase(d.head, d.disk, out & 3);
    d.head.motor = out & motorBit;
    d.head.density = (out >> 5) & 3;
    d.ledOn = out & ledBit;
}

// The cable's lines as the drive drives them, for the computer's side of the cable.
void cableChanged(TrueDrive& d) {
    const uint8_t c = tiaOutput(d.tia, portC);
    drive.dataOut = tiaOutput(d.tia, portA);
    drive.talkingData = true;
    drive.statusLines = c & 3;
    drive.ack = c & ackOut;
    d.head.writing = !(c & readMode);
    d.head.output = tiaOutput(d.tia, portB);
}

uint8_t tiaPins(const TrueDrive& d, unsigned reg) {
    switch (reg & 7) {
        case portA:
            return tiaOutput(drive.tia, portA);  // what the computer puts on the data lines
        case portB:
            return d.head.input;
        case portC:
            return uint8_t((d.head.sync ? 0 : noSync) | (tiaOutput(drive.tia, portC) & 0x40 ? davIn : 0) |
                           0x20);
        default:
            return 0;
    }
}

struct Bus1551 {
    TrueDrive& d;
    Registers& registers() { return d.cpu; }
    uint8_t read(uint16_t address) {
        if (address >= 0xC000) return d.rom[address & 0x3FFF];
        if (address < 0x4000) {
            if (address == 0) return d.portDirection;
            if (address == 1)
                return uint8_t((d.portOutput & d.portDirection) | (portPins(d) & ~d.portDirection));
            return idleReadRam(d.idle, d.ram, address & (driveRamBytes - 1), d.cpu.SP);
        }
        if (address < 0x8000) {
            d.byteReady = false;  // any access to the 6523 acknowledges the byte
            const unsigned reg = address & 7;
            return tiaRead(d.tia, reg, tiaPins(d, reg));
        }
        return uint8_t(address >> 8);  // nothing answers: the bus keeps the address's high byte
    }
    void write(uint16_t address, uint8_t value) {
        if (address < 0x4000) {
            if (address < 2) {
                uint8_t& latch = address == 0 ? d.portDirection : d.portOutput;
                if (latch != value) d.idle.disturbed = true;
                latch = value;
                portChanged(d);
            }
            idleWriteRam(d.idle, d.ram, address & (driveRamBytes - 1), value);
        } else if (address < 0x8000) {
            d.byteReady = false;
            if (tiaWriteChanges(d.tia, address & 7, value)) d.idle.disturbed = true;
            tiaWrite(d.tia, address & 7, value);
            cableChanged(d);
        }
    }
};

// What reaches the drive from outside: the computer's side of the cable and the disk's
// write protection.
uint32_t outsideLines(const TrueDrive& d) {
    return uint32_t(tiaOutput(drive.tia, portA) | tiaOutput(drive.tia, portC) << 8 |
                    writeProtectSensed(d) << 16);
}

// Time passes for the chips around the processor (the head aside).
void elapse(TrueDrive& d, uint32_t cycles) {
    if (d.irqCountdown <= cycles) {
        d.irqCountdown += irqPeriod;
        d.irqPending = true;
    }
    d.irqCountdown -= cycles;
}

}  // namespace

void powerOn1551(TrueDrive& d) {
    d.portDirection = d.portOutput = 0;
    d.tia = Tia6523{};
    d.irqCountdown = irqPeriod;
    portChanged(d);
    cableChanged(d);
    Bus1551 bus{d};
    d.cpu.PC = cpu::core::readWord(bus, 0xFFFC);
}

void run1551(TrueDrive& d, uint64_t until) {
    Bus1551 bus{d};
    auto pass = [&d](uint64_t cycles) { elapse(d, uint32_t(cycles)); };
    if (idleInputsChanged(d, outsideLines(d))) {
        idleWake(d.idle, d.cycles, bus, pass);
        idleRestart(d);
    }
    while (d.cycles < until) {
        if (d.idle.parked) {
            if (idleWait(d.idle, d.cycles, until, std::min(d.irqCountdown, cyclesToSwapEnd(d)), bus, pass))
                return;
            continue;
        }
        if (d.irqPending && !d.cpu.I) {
            d.irqPending = false;
            cpu::enterInterrupt(bus, 0xFFFE);
            idleInterrupted(d);
        }
        uint16_t spent = cpu::execute(bus);
        if (spent == 0) spent = 2;
        d.cycles += spent;
        elapse(d, spent);
        if (gcr::turn(d.head, d.disk, spent)) d.byteReady = true;
        if (d.cpu.PC == d.idle.anchor) idleVisit(d);
    }
}

void wake1551(TrueDrive& d) {
    Bus1551 bus{d};
    idleWake(d.idle, d.cycles, bus, [&d](uint64_t cycles) { elapse(d, uint32_t(cycles)); });
}

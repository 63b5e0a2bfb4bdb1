// The memory map: RAM of the configured size with its mirrors, the four ROM
// banks and the I/O area at $FD00-$FF3F. Every CPU access comes through here,
// so both operations are a switch on the address and nothing more.

#include "bus/memory_map.h"

#include "drive/drive.h"
#include "ted/open_bus.h"
#include "ted/ted.h"
#include "truedrive/true_drive.h"

namespace {

constexpr uint16_t debugCartPort = 0xFDCF;

// A bank number above 3 can only come from a snapshot; it reads as an empty socket.
inline uint8_t romByte(const uint8_t (*images)[romImageBytes], uint16_t bank, uint16_t address) {
    return bank < 4 ? images[bank][address & 0x3FFF] : 0x00;
}

inline uint8_t readLowRom(uint16_t address) {
    return memory.romEnabled ? romByte(memory.romLow, memory.romBankLow, address) : memory.ram[address];
}

inline uint8_t readHighRom(uint16_t address) {
    return memory.romEnabled ? romByte(memory.romHigh, memory.romBankHigh, address) : memory.ram[address];
}

// The processor port's input bits: the serial bus's CLK and DATA when a drive is on it,
// else all high.
// A true drive is brought up to this cycle before the computer reads or changes the lines
// between them: its cable ($FEF0-$FEF7) or the serial bus behind the processor port.
void catchUpDrive() { catchUpTrueDrive(ted.beamX / 4u); }

uint8_t readProcessorPort() {
    if (!memory.serial.attached) return 0xFF;
    catchUpDrive();
    return computerPortRead(memory.serial);
}

// Rarely read, so kept out of readMemory's body: the common reads stay as compact as before.
[[gnu::noinline]] uint8_t readIoPage(uint16_t address) {
    if (address >= 0xFD30 && address <= 0xFD3F) return 0xFF;
    if (address >= 0xFDD0 && address <= 0xFDDF) return openBusRead(address);
    if (address == 0xFD10) return 0x04;
    if (address == 0xFD21) return 0xFF;
    return 0x00;
}

void writeIoPage(uint16_t address, uint8_t value) {
    if (address >= 0xFD30 && address <= 0xFD3F) {
        // The latch decodes only the page's upper nibble: all sixteen addresses are one byte.
        memory.ram[keyboardLatch] = value;
        return;
    }
    memory.ram[address] = value;
    if (address >= 0xFDD0 && address <= 0xFDDF) {
        // The bank is chosen by the address lines alone; the data written is ignored.
        memory.romBankLow = address & 3;
        memory.romBankHigh = (address >> 2) & 3;
    } else if (address == debugCartPort) {
        memory.debugPortValue = value;
        memory.raisedEvents |= stepEvent::debugPort;
    }
}

}  // namespace

uint8_t readMappedMemory(uint16_t address) {
    // $F000-$FF3F is never folded; above $8000 the ROMs hide the mirrors while they are on.
    if ((address < 0xF000 || address > 0xFF3F) && (address < 0x8000 || !memory.romEnabled))
        address &= memory.foldMask;

    // clang-format off
    switch (address >> 12) {
        case 0x0:                                         return address == 0x0001 ? readProcessorPort() : memory.ram[address];
        case 0x1: case 0x2: case 0x3: case 0x4: case 0x5:
        case 0x6: case 0x7:                               return memory.ram[address];
        case 0x8: case 0x9: case 0xA: case 0xB:           return readLowRom(address);
        case 0xC: case 0xD: case 0xE:                     return readHighRom(address);
        // clang-format on
        default:
            switch (address >> 8) {
                case 0xFC:  // the KERNAL's banking code must stay visible whatever bank is chosen
                    return memory.romEnabled ? memory.romHigh[0][address & 0x3FFF] : memory.ram[address];
                case 0xFD:
                    return readIoPage(address);
                case 0xFE:
                    if (drive.cableOnly) catchUpDrive();
                    return readDrivePort(address);
                case 0xFF:
                    if (address < 0xFF20) return tedRead(address);
                    return readHighRom(address);
                default:
                    return readHighRom(address);
            }
    }
}

void writeMappedMemory(uint16_t address, uint8_t value) {
    if (address < 0xF000 || address > 0xFF3F) address &= memory.foldMask;

    if (address < 2 && memory.serial.attached) catchUpDrive();  // the serial lines may change
    if (address >> 12 != 0xF) {
        memory.ram[address] = value;  // with ROMs on, the RAM beneath them
        return;
    }
    switch (address >> 8) {
        case 0xFD:
            writeIoPage(address, value);
            return;
        case 0xFE:
            if (drive.cableOnly) catchUpDrive();
            writeDrivePort(address, value);
            return;
        case 0xFF:
            switch (address & 0xFF) {
                case 0x3E:
                    memory.romEnabled = 1;
                    return;
                case 0x3F:
                    memory.romEnabled = 0;
                    return;
                default:
                    if (address < 0xFF3E)
                        tedWrite(address, value);
                    else
                        memory.ram[address] = value;
                    return;
            }
        default:
            memory.ram[address] = value;
            return;
    }
}

// The memory map: RAM of the configured size with its mirrors, the four ROM
// banks and the I/O area at $FD00-$FF3F. Every CPU access comes through here,
// so both operations are a switch on the address and nothing more.

#include "ted/memory_map.h"

#include <cstdlib>
#include <cstring>

#include "storage/drive.h"
#include "ted/ted.h"

uint8_t* ram;
uint8_t romLow[4][romImageBytes];
uint8_t romHigh[4][romImageBytes];
uint8_t romEnabled;
uint16_t romBankLow, romBankHigh;

namespace {

uint8_t* ramBlock;           // the address the allocator returned
uint16_t foldMask = 0xFFFF;  // $3FFF for 16 KB, $7FFF for 32 KB

constexpr uint16_t keyboardLatch = 0xFD30;
constexpr uint16_t debugCartPort = 0xFDCF;

// A bank number above 3 can only come from a snapshot; it reads as an empty socket.
inline uint8_t romByte(const uint8_t (*images)[romImageBytes], uint16_t bank, uint16_t address) {
    return bank < 4 ? images[bank][address & 0x3FFF] : 0x00;
}

inline uint8_t readLowRom(uint16_t address) {
    return romEnabled ? romByte(romLow, romBankLow, address) : ram[address];
}

inline uint8_t readHighRom(uint16_t address) {
    return romEnabled ? romByte(romHigh, romBankHigh, address) : ram[address];
}

uint8_t readIoPage(uint16_t address) {
    if (address >= 0xFD30 && address <= 0xFD3F) return 0xFF;
    if (address == 0xFD10) return 0x04;
    if (address == 0xFD21) return 0xFF;
    return 0x00;
}

void writeIoPage(uint16_t address, uint8_t value) {
    if (address >= 0xFD30 && address <= 0xFD3F) {
        // The latch decodes only the page's upper nibble: all sixteen addresses are one byte.
        ram[keyboardLatch] = value;
        return;
    }
    ram[address] = value;
    if (address >= 0xFDD0 && address <= 0xFDDF) {
        // The bank is chosen by the address lines alone; the data written is ignored.
        romBankLow = address & 3;
        romBankHigh = (address >> 2) & 3;
    } else if (address == debugCartPort && debugCartEnabled) {
        debugCartWrite(value);
    }
}

}  // namespace

bool allocateRamBlock() {
    releaseRamBlock();
    ramBlock = static_cast<uint8_t*>(std::calloc(ramBlockBytes, 1));
    if (!ramBlock) return false;
    // The first 8-byte boundary strictly after the start, so the slack is at least 8 KB - 8.
    ram = ramBlock + (8 - (reinterpret_cast<uintptr_t>(ramBlock) & 7));
    return true;
}

void releaseRamBlock() {
    std::free(ramBlock);
    ramBlock = nullptr;
    ram = nullptr;
}

void setRamSize(int32_t ramSetting) {
    foldMask = ramSetting == 0 ? 0x3FFF : ramSetting == 1 ? 0x7FFF : 0xFFFF;
}

void fillPowerOnPattern(uint32_t first, uint32_t last) {
    if (last > 0xFFFF) last = 0xFFFF;
    for (uint32_t address = first; address <= last; ++address) ram[address] = (address + 2) & 4 ? 0xFF : 0x00;
}

uint8_t readMemory(uint16_t address) {
    // $F000-$FF3F is never folded; above $8000 the ROMs hide the mirrors while they are on.
    if ((address < 0xF000 || address > 0xFF3F) && (address < 0x8000 || !romEnabled)) address &= foldMask;

    // clang-format off
    switch (address >> 12) {
        case 0x0:                                         return address == 0x0001 ? 0xFF : ram[address];
        case 0x1: case 0x2: case 0x3: case 0x4: case 0x5:
        case 0x6: case 0x7:                               return ram[address];
        case 0x8: case 0x9: case 0xA: case 0xB:           return readLowRom(address);
        case 0xC: case 0xD: case 0xE:                     return readHighRom(address);
        // clang-format on
        default:
            switch (address >> 8) {
                case 0xFC:  // the KERNAL's banking code must stay visible whatever bank is chosen
                    return romEnabled ? romHigh[0][address & 0x3FFF] : ram[address];
                case 0xFD:
                    return readIoPage(address);
                case 0xFE:
                    return readDrivePort(address);
                case 0xFF:
                    if (address < 0xFF20) return tedRead(address);
                    return readHighRom(address);
                default:
                    return readHighRom(address);
            }
    }
}

void writeMemory(uint16_t address, uint8_t value) {
    if (address < 0xF000 || address > 0xFF3F) address &= foldMask;

    if (address >> 12 != 0xF) {
        ram[address] = value;  // with ROMs on, the RAM beneath them
        return;
    }
    switch (address >> 8) {
        case 0xFD:
            writeIoPage(address, value);
            return;
        case 0xFE:
            writeDrivePort(address, value);
            return;
        case 0xFF:
            switch (address & 0xFF) {
                case 0x3E:
                    romEnabled = 1;
                    return;
                case 0x3F:
                    romEnabled = 0;
                    return;
                default:
                    if (address < 0xFF3E)
                        tedWrite(address, value);
                    else
                        ram[address] = value;
                    return;
            }
        default:
            ram[address] = value;
            return;
    }
}

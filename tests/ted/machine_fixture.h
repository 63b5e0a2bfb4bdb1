#pragma once
// A powered-on memory map and TED for the tests of this folder: 64 KB unless a
// test says otherwise, ROMs on in bank 0, and ROM images whose every byte tells
// its bank and offset apart.

#include <gtest/gtest.h>

#include <cstring>

#include "bus/memory_map.h"
#include "machine/power.h"
#include "memory/memory.h"
#include "state/machine.h"
#include "support/fake_platform.h"
#include "ted/raster.h"
#include "ted/ted.h"

inline uint8_t lowRomByte(int bank, uint16_t address) {
    return uint8_t((address * 7) ^ (0x10 + bank * 0x21));
}
inline uint8_t highRomByte(int bank, uint16_t address) {
    return uint8_t((address * 5) ^ (0x90 + bank * 0x13));
}

class PoweredMachine : public ::testing::Test {
protected:
    void SetUp() override {
        resetFakePlatform();  // register writes reach the sound and keyboard, which ask the host
        freshMachine();
        ASSERT_TRUE(allocateRamBlock());
        setRamSize(2);
        fillPowerOnPattern(0x0000, 0xFFFF);
        std::memset(memory.ram + 0xFF00, 0, 0x40);
        for (int bank = 0; bank < 4; ++bank) {
            for (uint32_t a = 0; a < romImageBytes; ++a) {
                memory.romLow[bank][a] = lowRomByte(bank, uint16_t(0x8000 + a));
                memory.romHigh[bank][a] = highRomByte(bank, uint16_t(0xC000 + a));
            }
        }
        memory.romEnabled = 1;
        powerOnTimers();
    }
    void TearDown() override {
        setRamSize(2);
        releaseRamBlock();
    }
};

#include "bus/memory_map.h"

#include <cstdint>

#include "machine_fixture.h"

namespace {

using MemoryMap = PoweredMachine;

struct Mirror {
    int32_t ramSetting;
    uint16_t written, read;
    bool sameByte;
};

class RamMirrors : public PoweredMachine, public ::testing::WithParamInterface<Mirror> {};

TEST_P(RamMirrors, WriteShowsThroughOnlyAtItsMirrors) {
    const Mirror& m = GetParam();
    setRamSize(m.ramSetting);
    memory.romEnabled = 0;
    writeMemory(m.read, 0x11);
    writeMemory(m.written, 0x22);
    EXPECT_EQ(readMemory(m.read), m.sameByte ? 0x22 : 0x11);
}

INSTANTIATE_TEST_SUITE_P(
    AllSizes, RamMirrors,
    ::testing::Values(Mirror{0, 0x4123, 0x0123, true},   // 16 KB: four mirrors below $F000
                      Mirror{0, 0x8123, 0x0123, true},   //
                      Mirror{0, 0xC123, 0x0123, true},   //
                      Mirror{0, 0xFF40, 0x3F40, true},   // above the TED registers folds again
                      Mirror{0, 0xF123, 0x3123, false},  // $F000-$FF3F is never folded
                      Mirror{0, 0xFC10, 0x3C10, false},  //
                      Mirror{1, 0x8123, 0x0123, true},   // 32 KB
                      Mirror{1, 0xC123, 0x4123, true},   //
                      Mirror{1, 0x4123, 0x0123, false},  //
                      Mirror{2, 0x4123, 0x0123, false},  // 64 KB: no mirrors
                      Mirror{2, 0xC123, 0x4123, false}));

TEST_F(MemoryMap, RomsHideTheFoldedMirrorsAboveRomStart) {
    setRamSize(0);
    writeMemory(0xC123, 0x12);  // under the ROM, folded to $0123
    EXPECT_EQ(readMemory(0xC123), highRomByte(0, 0xC123));
    EXPECT_EQ(readMemory(0x4123), 0x12);
    writeMemory(0xFF3F, 0);
    EXPECT_EQ(readMemory(0xC123), 0x12);
}

TEST_F(MemoryMap, ProcessorPortReadsAllOnes) {
    writeMemory(0x0000, 0x2F);
    writeMemory(0x0001, 0x08);
    EXPECT_EQ(readMemory(0x0001), 0xFF);
    EXPECT_EQ(readMemory(0x0000), 0x2F);
    EXPECT_EQ(memory.ram[0x0001], 0x08);
}

TEST_F(MemoryMap, BankLatchTakesTheBankFromTheAddress) {
    for (uint16_t address = 0xFDD0; address <= 0xFDDF; ++address) {
        writeMemory(address, 0xFF);
        EXPECT_EQ(memory.romBankLow, address & 3) << std::hex << address;
        EXPECT_EQ(memory.romBankHigh, (address >> 2) & 3) << std::hex << address;
        EXPECT_EQ(memory.ram[address], 0xFF);
        EXPECT_EQ(readMemory(address), 0xFD);  // nothing answers: the $FD of the address it was read by
    }
}

TEST_F(MemoryMap, SelectedBanksAppearExceptInTheKernalPage) {
    writeMemory(0xFDD6, 0);  // low bank 2, high bank 1
    struct Row {
        uint16_t address;
        uint8_t expected;
    };
    const Row rows[] = {
        {0x8000, lowRomByte(2, 0x8000)},  {0xBFFF, lowRomByte(2, 0xBFFF)},  {0xC000, highRomByte(1, 0xC000)},
        {0xFBFF, highRomByte(1, 0xFBFF)}, {0xFC00, highRomByte(0, 0xFC00)}, {0xFCFF, highRomByte(0, 0xFCFF)},
        {0xFF20, highRomByte(1, 0xFF20)}, {0xFF3E, highRomByte(1, 0xFF3E)}, {0xFFFF, highRomByte(1, 0xFFFF)},
    };
    for (const Row& row : rows) EXPECT_EQ(readMemory(row.address), row.expected) << std::hex << row.address;
}

TEST_F(MemoryMap, BankBeyondTheFourSocketsReadsZero) {
    memory.romBankLow = 9;  // only a snapshot can set this
    memory.romBankHigh = 0xFFFF;
    EXPECT_EQ(readMemory(0x8123), 0x00);
    EXPECT_EQ(readMemory(0xE123), 0x00);
    EXPECT_EQ(readMemory(0xFC23), highRomByte(0, 0xFC23));
}

TEST_F(MemoryMap, IoPageReadsFixedValuesAndTheBankLatchTheBus) {
    for (uint16_t address = 0xFD00; address <= 0xFDFF; ++address) writeMemory(address, 0x5C);
    for (uint16_t address = 0xFD00; address <= 0xFDFF; ++address) {
        uint8_t expected = address >= 0xFD30 && address <= 0xFD3F   ? 0xFF
                           : address == 0xFD10                      ? 0x04
                           : address == 0xFD21                      ? 0xFF
                           : address >= 0xFDD0 && address <= 0xFDDF ? 0xFD  // the screen is off
                                                                    : 0x00;
        EXPECT_EQ(readMemory(address), expected) << std::hex << address;
    }
}

TEST_F(MemoryMap, AllKeyboardLatchAddressesWriteOneByte) {
    uint8_t before = memory.ram[0xFD35];
    writeMemory(0xFD35, 0xFB);
    EXPECT_EQ(memory.ram[0xFD30], 0xFB);
    EXPECT_EQ(memory.ram[0xFD35], before);
    writeMemory(0xFD3F, 0x7F);
    EXPECT_EQ(memory.ram[0xFD30], 0x7F);
}

TEST_F(MemoryMap, RomSwitchesStoreNothing) {
    memory.ram[0xFF3E] = 0x12;
    memory.ram[0xFF3F] = 0x34;
    writeMemory(0xFF3F, 0xAA);
    EXPECT_EQ(memory.romEnabled, 0);
    EXPECT_EQ(readMemory(0xFF3E), 0x12);
    EXPECT_EQ(readMemory(0x8000), memory.ram[0x8000]);
    writeMemory(0xFF3E, 0xBB);
    EXPECT_EQ(memory.romEnabled, 1);
    EXPECT_EQ(memory.ram[0xFF3E], 0x12);
    EXPECT_EQ(memory.ram[0xFF3F], 0x34);
    EXPECT_EQ(readMemory(0x8000), lowRomByte(0, 0x8000));
}

TEST_F(MemoryMap, DrivePortWritesLeaveRamAlone) {
    for (uint16_t address = 0xFE00; address <= 0xFEFF; ++address) memory.ram[address] = 0x3C;
    for (uint16_t address = 0xFE00; address <= 0xFEFF; ++address) writeMemory(address, 0x00);
    for (uint16_t address = 0xFE00; address <= 0xFEFF; ++address) EXPECT_EQ(memory.ram[address], 0x3C);
}

TEST_F(MemoryMap, PowerOnPatternRepeatsEveryEightBytes) {
    const uint8_t pattern[8] = {0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    for (uint32_t address : {0x0000u, 0x1238u, 0xFEF8u, 0xFFF8u})
        for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(memory.ram[address + i], pattern[i]) << address + i;
}

TEST_F(MemoryMap, RamIsAlignedWithZeroedSlackThatThePatternNeverReaches) {
    EXPECT_EQ(reinterpret_cast<uintptr_t>(memory.ram) % 8, 0u);
    fillPowerOnPattern(0xFFF0, 0x1FFFF);
    for (size_t i = 0x10000; i < ramBlockBytes - 8; ++i) ASSERT_EQ(memory.ram[i], 0) << i;
}

}  // namespace

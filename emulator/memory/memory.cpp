// The computer's memory and its power-on state.
#include "memory/memory.h"

#include <cstdlib>
#include <cstring>

bool allocateRamBlock() {
    releaseRamBlock();
    memory.ramBlock = static_cast<uint8_t*>(std::calloc(ramBlockBytes, 1));
    if (!memory.ramBlock) return false;
    // The first 8-byte boundary strictly after the start, so the slack is at least 8 KB - 8.
    memory.ram = memory.ramBlock + (8 - (reinterpret_cast<uintptr_t>(memory.ramBlock) & 7));
    return true;
}

void releaseRamBlock() {
    std::free(memory.ramBlock);
    memory.ramBlock = nullptr;
    memory.ram = nullptr;
}

void setRamSize(int32_t ramSetting) {
    memory.foldMask = ramSetting == 0 ? 0x3FFF : ramSetting == 1 ? 0x7FFF : 0xFFFF;
}

void fillPowerOnPattern(uint32_t first, uint32_t last) {
    if (last > 0xFFFF) last = 0xFFFF;
    for (uint32_t address = first; address <= last; ++address)
        memory.ram[address] = (address + 2) & 4 ? 0xFF : 0x00;
}

void resetMemory(Reset kind) {
    if (kind == Reset::soft) return;
    memory.romEnabled = 1;
    if (kind == Reset::powerOn) return;
    if (kind == Reset::hard) fillPowerOnPattern(0x0000, 0xFEFF);
    std::memset(memory.ram + 0xFF40, 0, 0xFFFF - 0xFF40);
}

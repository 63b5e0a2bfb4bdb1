#pragma once
#include <cstdint>
#include <string>

struct MnemonicEntry {
    char mnemonic[4];
    uint8_t modeId;
};
extern const MnemonicEntry mnemonicTable[256];

// One listing line from column 6 on; nextAddress is the address after the instruction.
std::string disassembleLine(uint16_t address, uint16_t& nextAddress);
const char* tedRegisterName(uint16_t address);

#pragma once
#include <cstdint>
#include <string>

// defined in monitor/disassembler.cpp; mnemonics and modes come from cpu/opcode_table.h.
// One listing line from column 6 on; nextAddress is the address after the instruction.
std::string disassembleLine(uint16_t address, uint16_t& nextAddress);
const char* tedRegisterName(uint16_t address);

// One listing line per instruction, decoded from the processor's opcode table.
#include "monitor/disassembler.h"

#include <cstdio>

#include "bus/memory_map.h"
#include "cpu/opcode_table.h"

namespace {

// Text format of each addressing mode, by the table's mode ids; trailing spaces let a
// short line overwrite a longer one.
const char* const modeFormats[13] = {
    "",
    "%02X       %s                      ",      // 1 implied
    "%02X %02X    %s #$%02X                 ",  // 2 immediate
    "%02X %02X %02X %s $%04X   %s",             // 3 absolute, with the TED name
    "%02X %02X %02X %s ($%04X)              ",  // 4 indirect
    "%02X %02X    %s $%02X                  ",  // 5 zero page
    "%02X %02X    %s $%02X,X                ",  // 6 zero page,X
    "%02X %02X    %s $%02X,Y                ",  // 7 zero page,Y
    "%02X %02X %02X %s $%04X,X              ",  // 8 absolute,X
    "%02X %02X %02X %s $%04X,Y              ",  // 9 absolute,Y
    "%02X %02X    %s ($%02X),Y              ",  // 10 (indirect),Y
    "%02X %02X    %s ($%02X,X)              ",  // 11 (indirect,X)
    "%02X %02X    %s $%04X                ",    // 12 relative
};

const char* const tedNames[32] = {
    ";TIMER1 LO   ", ";TIMER1 HI   ", ";TIMER2 LO   ", ";TIMER2 HI   ",  // $FF00
    ";TIMER3 LO   ", ";TIMER3 HI   ", ";Y SCROLL    ", ";X SCROLL    ",  // $FF04
    ";KEYBRD FLAGS", ";INT REQ     ", ";INT ENA     ", ";RASTER      ",  // $FF08
    ";CURSOR HI   ", ";CURSOR LO   ", ";OSC1 LO     ", ";OSC2 LO     ",  // $FF0C
    ";OSC2 HI     ", ";SND CONTROL ", ";OSC1 HI/GFX ", ";CHR GEN/SLOW",  // $FF10
    ";VIDEO MATRIX", ";COLOR #0    ", ";COLOR #1    ", ";COLOR #2    ",  // $FF14
    ";COLOR #3    ", ";COLOR #4 BRD", ";CURR.CHR HI ", ";CURR.CHR LO ",  // $FF18
    ";CURR.RAST HI", ";CURR.RAST LO", ";HOR.RASTER  ", ";VER.RAS/FLSH",  // $FF1C
};

}  // namespace

const char* tedRegisterName(uint16_t address) {
    if (address >= 0xFF00 && address <= 0xFF1F) return tedNames[address - 0xFF00];
    if (address == 0xFF3E) return ";ENABLE ROM  ";
    if (address == 0xFF3F) return ";DISABLE ROM ";
    return "             ";
}

std::string disassembleLine(uint16_t address, uint16_t& nextAddress) {
    uint8_t opcode = readMemory(address);
    const cpu::OpcodeInfo& entry = cpu::opcodeTable[opcode];
    const char* format = modeFormats[entry.mode];
    const uint16_t length = cpu::instructionLength(entry.mode);
    const char* mnemonic = entry.mnemonic;
    uint8_t a = length > 1 ? readMemory(static_cast<uint16_t>(address + 1)) : 0;
    uint8_t b = length > 2 ? readMemory(static_cast<uint16_t>(address + 2)) : 0;
    uint16_t word = static_cast<uint16_t>(b << 8 | a);
    char text[64];
    switch (length) {
        case 1:
            std::snprintf(text, sizeof text, format, opcode, mnemonic);
            break;
        case 2: {
            unsigned operand = a;
            if (entry.mode == cpu::rel) operand = static_cast<uint16_t>(address + 2 + static_cast<int8_t>(a));
            std::snprintf(text, sizeof text, format, opcode, a, mnemonic, operand);
            break;
        }
        default:
            std::snprintf(text, sizeof text, format, opcode, a, b, mnemonic, word, tedRegisterName(word));
            break;
    }
    nextAddress = static_cast<uint16_t>(address + length);
    return text;
}

// One listing line per instruction, decoded from the opcode table.
#include "monitor/disassembler.h"

#include <cstdio>

#include "ted/memory_map.h"

// Mnemonic and addressing mode of every opcode; rows are the high digit.
const MnemonicEntry mnemonicTable[256] = {
    // x0          x1          x2          x3          x4          x5          x6          x7
    // x8          x9          xA          xB          xC          xD          xE          xF
    {"BRK", 1},  {"ORA", 11}, {"ABS", 1},  {"ASO", 11}, {"NO2", 5}, {"ORA", 5}, {"ASL", 5}, {"ASO", 5},  // 0
    {"PHP", 1},  {"ORA", 2},  {"ASL", 1},  {"ANN", 2},  {"NO3", 3}, {"ORA", 3}, {"ASL", 3}, {"ASO", 3},
    {"BPL", 12}, {"ORA", 10}, {"ABS", 1},  {"ASO", 10}, {"NO2", 6}, {"ORA", 6}, {"ASL", 6}, {"ASO", 6},  // 1
    {"CLC", 1},  {"ORA", 9},  {"NO1", 1},  {"ASO", 9},  {"NO3", 8}, {"ORA", 8}, {"ASL", 8}, {"ASO", 8},
    {"JSR", 3},  {"AND", 11}, {"ABS", 1},  {"RAN", 11}, {"BIT", 5}, {"AND", 5}, {"ROL", 5}, {"RAN", 5},  // 2
    {"PLP", 1},  {"AND", 2},  {"ROL", 1},  {"ANN", 2},  {"BIT", 3}, {"AND", 3}, {"ROL", 3}, {"RAN", 3},
    {"BMI", 12}, {"AND", 10}, {"ABS", 1},  {"RAN", 10}, {"NO2", 6}, {"AND", 6}, {"ROL", 6}, {"RAN", 6},  // 3
    {"SEC", 1},  {"AND", 9},  {"NO1", 1},  {"RAN", 9},  {"NO3", 8}, {"AND", 8}, {"ROL", 8}, {"RAN", 8},
    {"RTI", 1},  {"EOR", 11}, {"ABS", 1},  {"LSE", 11}, {"NO2", 5}, {"EOR", 5}, {"LSR", 5}, {"LSE", 5},  // 4
    {"PHA", 1},  {"EOR", 2},  {"LSR", 1},  {"ANL", 2},  {"JMP", 3}, {"EOR", 3}, {"LSR", 3}, {"LSE", 3},
    {"BVC", 12}, {"EOR", 10}, {"ABS", 1},  {"LSE", 10}, {"NO2", 6}, {"EOR", 6}, {"LSR", 6}, {"LSE", 6},  // 5
    {"CLI", 1},  {"EOR", 9},  {"NO1", 1},  {"LSE", 9},  {"NO3", 8}, {"EOR", 8}, {"LSR", 8}, {"LSE", 8},
    {"RTS", 1},  {"ADC", 11}, {"ABS", 1},  {"RAD", 11}, {"NO2", 5}, {"ADC", 5}, {"ROR", 5}, {"RAD", 5},  // 6
    {"PLA", 1},  {"ADC", 2},  {"ROR", 1},  {"???", 1},  {"JMP", 4}, {"ADC", 3}, {"ROR", 3}, {"RAD", 3},
    {"BVS", 12}, {"ADC", 10}, {"ABS", 1},  {"RAD", 10}, {"NO2", 6}, {"ADC", 6}, {"ROR", 6}, {"RAD", 6},  // 7
    {"SEI", 1},  {"ADC", 9},  {"NO1", 1},  {"RAD", 9},  {"NO3", 8}, {"ADC", 8}, {"ROR", 8}, {"RAD", 8},
    {"NO2", 11}, {"STA", 11}, {"NO2", 11}, {"AXX", 11}, {"STY", 5}, {"STA", 5}, {"STX", 5}, {"AXR", 5},  // 8
    {"DEY", 1},  {"NO2", 2},  {"TXA", 1},  {"TAN", 2},  {"STY", 3}, {"STA", 3}, {"STX", 3}, {"AAX", 3},
    {"BCC", 12}, {"STA", 10}, {"ABS", 1},  {"AXI", 10}, {"STY", 6}, {"STA", 6}, {"STX", 7}, {"AXY", 7},  // 9
    {"TYA", 1},  {"STA", 9},  {"TXS", 1},  {"AXS", 9},  {"???", 1}, {"STA", 8}, {"???", 1}, {"???", 1},
    {"LDY", 2},  {"LDA", 11}, {"LDX", 2},  {"LDT", 11}, {"LDY", 5}, {"LDA", 5}, {"LDX", 5}, {"LDT", 5},  // A
    {"TAY", 1},  {"LDA", 2},  {"TAX", 1},  {"ANX", 2},  {"LDY", 3}, {"LDA", 3}, {"LDX", 3}, {"LDT", 3},
    {"BCS", 12}, {"LDA", 10}, {"ABS", 1},  {"LDT", 10}, {"LDY", 6}, {"LDA", 6}, {"LDX", 7}, {"LDT", 7},  // B
    {"CLV", 1},  {"LDA", 9},  {"TSX", 1},  {"TSA", 8},  {"LDY", 8}, {"LDA", 8}, {"LDX", 9}, {"LDT", 9},
    {"CPY", 2},  {"CMP", 11}, {"NO2", 11}, {"DEM", 11}, {"CPY", 5}, {"CMP", 5}, {"DEC", 5}, {"DEM", 5},  // C
    {"INY", 1},  {"CMP", 2},  {"DEX", 1},  {"XAS", 2},  {"CPY", 3}, {"CMP", 3}, {"DEC", 3}, {"DEM", 3},
    {"BNE", 12}, {"CMP", 10}, {"ABS", 1},  {"DEM", 10}, {"NO2", 6}, {"CMP", 6}, {"DEC", 6}, {"DEM", 7},  // D
    {"CLD", 1},  {"CMP", 9},  {"NO1", 1},  {"DEM", 9},  {"NO3", 8}, {"CMP", 8}, {"DEC", 8}, {"DEM", 8},
    {"CPX", 2},  {"SBC", 11}, {"NO2", 11}, {"INB", 11}, {"CPX", 5}, {"SBC", 5}, {"INC", 5}, {"INB", 5},  // E
    {"INX", 1},  {"SBC", 2},  {"NOP", 1},  {"SBC", 2},  {"CPX", 3}, {"SBC", 3}, {"INC", 3}, {"INB", 3},
    {"BEQ", 12}, {"SBC", 10}, {"ABS", 1},  {"INB", 10}, {"NO2", 6}, {"SBC", 6}, {"INC", 6}, {"INB", 6},  // F
    {"SED", 1},  {"SBC", 9},  {"NO1", 1},  {"INB", 9},  {"NO3", 8}, {"SBC", 8}, {"INC", 8}, {"INB", 8},
};

namespace {

// Length and text format of each addressing mode; trailing spaces let a short
// line overwrite a longer one.
struct ModeFormat {
    uint8_t length;
    const char* format;
};
const ModeFormat modeFormats[13] = {
    {1, ""},
    {1, "%02X       %s                      "},      // 1 implied
    {2, "%02X %02X    %s #$%02X                 "},  // 2 immediate
    {3, "%02X %02X %02X %s $%04X   %s"},             // 3 absolute, with the TED name
    {3, "%02X %02X %02X %s ($%04X)              "},  // 4 indirect
    {2, "%02X %02X    %s $%02X                  "},  // 5 zero page
    {2, "%02X %02X    %s $%02X,X                "},  // 6 zero page,X
    {2, "%02X %02X    %s $%02X,Y                "},  // 7 zero page,Y
    {3, "%02X %02X %02X %s $%04X,X              "},  // 8 absolute,X
    {3, "%02X %02X %02X %s $%04X,Y              "},  // 9 absolute,Y
    {2, "%02X %02X    %s ($%02X),Y              "},  // 10 (indirect),Y
    {2, "%02X %02X    %s ($%02X,X)              "},  // 11 (indirect,X)
    {2, "%02X %02X    %s $%04X                "},    // 12 relative
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
    const MnemonicEntry& entry = mnemonicTable[opcode];
    const ModeFormat& mode = modeFormats[entry.modeId];
    uint8_t a = mode.length > 1 ? readMemory(static_cast<uint16_t>(address + 1)) : 0;
    uint8_t b = mode.length > 2 ? readMemory(static_cast<uint16_t>(address + 2)) : 0;
    uint16_t word = static_cast<uint16_t>(b << 8 | a);
    char text[64];
    switch (mode.length) {
        case 1:
            std::snprintf(text, sizeof text, mode.format, opcode, entry.mnemonic);
            break;
        case 2: {
            unsigned operand = a;
            if (entry.modeId == 12) operand = static_cast<uint16_t>(address + 2 + static_cast<int8_t>(a));
            std::snprintf(text, sizeof text, mode.format, opcode, a, entry.mnemonic, operand);
            break;
        }
        default:
            std::snprintf(text, sizeof text, mode.format, opcode, a, b, entry.mnemonic, word,
                          tedRegisterName(word));
            break;
    }
    nextAddress = static_cast<uint16_t>(address + mode.length);
    return text;
}

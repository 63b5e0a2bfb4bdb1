// Every opcode against the opcode grid: how far PC moves, how many cycles the step
// counts, and whether a page crossing adds one.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "cpu/opcode_table.h"
#include "support/cpu_helpers.h"

namespace {

// The grid row by row: mnemonic, mode and cycles; "+" gains a cycle on a page
// crossing and "2/3/4" is a branch.
// clang-format off
const char* const grid[16] = {
    "BRK imp 7    |ORA izx 6    |ABS imp 2    |ASO izx 8    |NO2 zp 3     |ORA zp 3     |ASL zp 5     |ASO zp 5     |PHP imp 3    |ORA imm 2    |ASL imp 2    |ANN imm 2    |NO3 abs 4    |ORA abs 4    |ASL abs 6    |ASO abs 6",  // 0x
    "BPL rel 2/3/4|ORA izy 5+   |ABS imp 2    |ASO izy 8    |NO2 zpx 4    |ORA zpx 4    |ASL zpx 6    |ASO zpx 6    |CLC imp 2    |ORA aby 4+   |NO1 imp 2    |ASO aby 7    |NO3 abx 4+   |ORA abx 4+   |ASL abx 7    |ASO abx 7",  // 1x
    "JSR abs 6    |AND izx 6    |ABS imp 2    |RAN izx 8    |BIT zp 3     |AND zp 3     |ROL zp 5     |RAN zp 5     |PLP imp 4    |AND imm 2    |ROL imp 2    |ANN imm 2    |BIT abs 4    |AND abs 4    |ROL abs 6    |RAN abs 6",  // 2x
    "BMI rel 2/3/4|AND izy 5+   |ABS imp 2    |RAN izy 8    |NO2 zpx 4    |AND zpx 4    |ROL zpx 6    |RAN zpx 6    |SEC imp 2    |AND aby 4+   |NO1 imp 2    |RAN aby 7    |NO3 abx 4+   |AND abx 4+   |ROL abx 7    |RAN abx 7",  // 3x
    "RTI imp 6    |EOR izx 6    |ABS imp 2    |LSE izx 8    |NO2 zp 3     |EOR zp 3     |LSR zp 5     |LSE zp 5     |PHA imp 3    |EOR imm 2    |LSR imp 2    |ANL imm 2    |JMP abs 3    |EOR abs 4    |LSR abs 6    |LSE abs 6",  // 4x
    "BVC rel 2/3/4|EOR izy 5+   |ABS imp 2    |LSE izy 8    |NO2 zpx 4    |EOR zpx 4    |LSR zpx 6    |LSE zpx 6    |CLI imp 2    |EOR aby 4+   |NO1 imp 2    |LSE aby 7    |NO3 abx 4+   |EOR abx 4+   |LSR abx 7    |LSE abx 7",  // 5x
    "RTS imp 6    |ADC izx 6    |ABS imp 2    |RAD izx 8    |NO2 zp 3     |ADC zp 3     |ROR zp 5     |RAD zp 5     |PLA imp 4    |ADC imm 2    |ROR imp 2    |ARR imm 2    |JMP ind 5    |ADC abs 4    |ROR abs 6    |RAD abs 6",  // 6x
    "BVS rel 2/3/4|ADC izy 5+   |ABS imp 2    |RAD izy 8    |NO2 zpx 4    |ADC zpx 4    |ROR zpx 6    |RAD zpx 6    |SEI imp 2    |ADC aby 4+   |NO1 imp 2    |RAD aby 7    |NO3 abx 4+   |ADC abx 4+   |ROR abx 7    |RAD abx 7",  // 7x
    "NO2 imm 2    |STA izx 6    |NO2 imm 2    |AXX izx 6    |STY zp 3     |STA zp 3     |STX zp 3     |AXR zp 3     |DEY imp 2    |NO2 imm 2    |TXA imp 2    |TAN imm 2    |STY abs 4    |STA abs 4    |STX abs 4    |AAX abs 4",  // 8x
    "BCC rel 2/3/4|STA izy 6    |ABS imp 2    |AXI izy 6    |STY zpx 4    |STA zpx 4    |STX zpy 4    |AXY zpy 4    |TYA imp 2    |STA aby 5    |TXS imp 2    |AXS aby 5    |SHY abx 5    |STA abx 5    |SHX aby 5    |SHA aby 5",  // 9x
    "LDY imm 2    |LDA izx 6    |LDX imm 2    |LDT izx 6    |LDY zp 3     |LDA zp 3     |LDX zp 3     |LDT zp 3     |TAY imp 2    |LDA imm 2    |TAX imp 2    |ANX imm 2    |LDY abs 4    |LDA abs 4    |LDX abs 4    |LDT abs 4",  // Ax
    "BCS rel 2/3/4|LDA izy 5+   |ABS imp 2    |LDT izy 5+   |LDY zpx 4    |LDA zpx 4    |LDX zpy 4    |LDT zpy 4    |CLV imp 2    |LDA aby 4+   |TSX imp 2    |TSA aby 4+   |LDY abx 4+   |LDA abx 4+   |LDX aby 4+   |LDT aby 4+",  // Bx
    "CPY imm 2    |CMP izx 6    |NO2 imm 2    |DEM izx 8    |CPY zp 3     |CMP zp 3     |DEC zp 5     |DEM zp 5     |INY imp 2    |CMP imm 2    |DEX imp 2    |XAS imm 2    |CPY abs 4    |CMP abs 4    |DEC abs 6    |DEM abs 6",  // Cx
    "BNE rel 2/3/4|CMP izy 5+   |ABS imp 2    |DEM izy 8    |NO2 zpx 4    |CMP zpx 4    |DEC zpx 6    |DEM zpx 6    |CLD imp 2    |CMP aby 4+   |NO1 imp 2    |DEM aby 7    |NO3 abx 4+   |CMP abx 4+   |DEC abx 7    |DEM abx 7",  // Dx
    "CPX imm 2    |SBC izx 6    |NO2 imm 2    |INB izx 8    |CPX zp 3     |SBC zp 3     |INC zp 5     |INB zp 5     |INX imp 2    |SBC imm 2    |NOP imp 2    |SBC imm 2    |CPX abs 4    |SBC abs 4    |INC abs 6    |INB abs 6",  // Ex
    "BEQ rel 2/3/4|SBC izy 5+   |ABS imp 2    |INB izy 8    |NO2 zpx 4    |SBC zpx 4    |INC zpx 6    |INB zpx 6    |SED imp 2    |SBC aby 4+   |NO1 imp 2    |INB aby 7    |NO3 abx 4+   |SBC abx 4+   |INC abx 7    |INB abx 7",  // Fx
};
// clang-format on

struct GridCell {
    std::string mnemonic, mode, cycles;
};

GridCell cell(int opcode) {
    std::string row = grid[opcode >> 4];
    size_t start = 0;
    for (int column = 0; column < (opcode & 15); ++column) start = row.find('|', start) + 1;
    std::istringstream text(row.substr(start, row.find('|', start) - start));
    GridCell result;
    text >> result.mnemonic >> result.mode >> result.cycles;
    return result;
}

int lengthOf(const std::string& mode) {
    if (mode == "imp") return 1;
    if (mode == "abs" || mode == "ind" || mode == "abx" || mode == "aby") return 3;
    return 2;
}

bool movesPcItself(const std::string& mnemonic) {
    for (const char* name :
         {"BRK", "JSR", "RTS", "RTI", "JMP", "ABS", "BPL", "BMI", "BVC", "BVS", "BCC", "BCS", "BNE", "BEQ"})
        if (mnemonic == name) return true;
    return false;
}

constexpr uint16_t codeAddress = 0x0400;

// Places the opcode with an operand that points into $12xx: a zero-page operand of
// $80 whose pointers hold $12FF and $1212, or the absolute operand $12FF. With index
// registers of 1 the indexed modes then cross into $13xx; with 0 they stay in page $12.
void placeInstruction(int opcode, const std::string& mode, uint8_t index) {
    resetCpuMachine();
    poke(0x0080, {0xFF, 0x12, 0x12});
    poke(codeAddress, {static_cast<uint8_t>(opcode), 0x80, 0x12});
    if (mode == "abs" || mode == "abx" || mode == "aby" || mode == "ind") poke(codeAddress + 1, {0xFF, 0x12});
    reg.PC = codeAddress;
    reg.SP = 0xF0;
    reg.XR = reg.YR = index;
    reg.lastCycle = 9;
}

TEST(OpcodeGrid, EveryOpcodeAdvancesAndCountsAsTheGrid) {
    for (int opcode = 0; opcode < 256; ++opcode) {
        GridCell expected = cell(opcode);
        char label[40];
        std::snprintf(label, sizeof label, "opcode $%02X %s %s", opcode, expected.mnemonic.c_str(),
                      expected.mode.c_str());
        SCOPED_TRACE(label);
        EXPECT_STREQ(cpu::opcodeTable[opcode].mnemonic, expected.mnemonic.c_str());
        int baseCycles = std::stoi(expected.cycles);

        placeInstruction(opcode, expected.mode, 0);
        if (expected.mnemonic == "BPL" || expected.mnemonic == "BVC" || expected.mnemonic == "BCC" ||
            expected.mnemonic == "BNE")
            reg.N = reg.V = reg.C = reg.Z = 1;  // not taken
        executeInstruction();
        EXPECT_EQ(reg.lastCycle, baseCycles);
        if (expected.mnemonic == "ABS") {
            EXPECT_EQ(reg.PC, codeAddress);
        } else if (!movesPcItself(expected.mnemonic) || expected.mode == "rel") {
            EXPECT_EQ(reg.PC, codeAddress + lengthOf(expected.mode));
        }

        if (expected.mode == "abx" || expected.mode == "aby" || expected.mode == "izy") {
            placeInstruction(opcode, expected.mode, 1);
            executeInstruction();
            bool pageCycle = expected.cycles.back() == '+';
            EXPECT_EQ(reg.lastCycle, baseCycles + (pageCycle ? 1 : 0)) << "with a page crossing";
        }
    }
}

}  // namespace

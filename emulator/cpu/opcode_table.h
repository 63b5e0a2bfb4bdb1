#pragma once
// The one opcode table: mnemonic, addressing mode, base cycles and what adds to them, per
// opcode. The processor core builds its handlers from it (cpu/cpu.cpp) and the monitor's
// disassembler reads it as data (opcodeTable below).
#include <cstdint>

namespace cpu {

// The numbering is the disassembler's mode ids.
enum Mode : uint8_t { imp = 1, imm, abs, ind, zp, zpx, zpy, abx, aby, izy, izx, rel };

// What the handler's report adds to the base count: nothing, one cycle on a page
// crossing, or for a branch 1 when taken and 2 when taken to another page.
enum Extra : uint8_t { none = 0, pageCross = 1, branch = 3 };

// The bytes of an instruction: the opcode and its operand. The core moves PC by it and
// the disassembler reads and lists as many.
constexpr uint16_t instructionLength(Mode mode) {
    switch (mode) {
        case imp:
            return 1;
        case abs:
        case ind:
        case abx:
        case aby:
            return 3;
        default:
            return 2;
    }
}

}  // namespace cpu

// X(mnemonic, mode, cycles, extra) for opcodes $00 to $FF. The names of the undocumented
// opcodes are this machine's own: ASO, RAN, LSE, RAD, DEM and INB shift or step memory and
// then ORA, AND, EOR, ADC, CMP or SBC with it; AXX, AXR, AAX and AXY store AC AND XR; LDT
// loads AC and XR; ANN, ANL, ARR, TAN, ANX and XAS are the immediate ANDs; AXI, SHA, SHX,
// SHY and AXS the stores ANDed with the address's high byte + 1; TSA loads AC, XR and SP;
// NO1, NO2 and NO3 skip 1, 2 or 3 bytes; ABS stops the processor.
// clang-format off
#define VARNOK_OPCODES(X) \
    /* 0x */ X(BRK, imp, 7, none) X(ORA, izx, 6, none) X(ABS, imp, 2, none) X(ASO, izx, 8, none) X(NO2, zp, 3, none) X(ORA, zp, 3, none) X(ASL, zp, 5, none) X(ASO, zp, 5, none) X(PHP, imp, 3, none) X(ORA, imm, 2, none) X(ASL, imp, 2, none) X(ANN, imm, 2, none) X(NO3, abs, 4, none) X(ORA, abs, 4, none) X(ASL, abs, 6, none) X(ASO, abs, 6, none) \
    /* 1x */ X(BPL, rel, 2, branch) X(ORA, izy, 5, pageCross) X(ABS, imp, 2, none) X(ASO, izy, 8, none) X(NO2, zpx, 4, none) X(ORA, zpx, 4, none) X(ASL, zpx, 6, none) X(ASO, zpx, 6, none) X(CLC, imp, 2, none) X(ORA, aby, 4, pageCross) X(NO1, imp, 2, none) X(ASO, aby, 7, none) X(NO3, abx, 4, pageCross) X(ORA, abx, 4, pageCross) X(ASL, abx, 7, none) X(ASO, abx, 7, none) \
    /* 2x */ X(JSR, abs, 6, none) X(AND, izx, 6, none) X(ABS, imp, 2, none) X(RAN, izx, 8, none) X(BIT, zp, 3, none) X(AND, zp, 3, none) X(ROL, zp, 5, none) X(RAN, zp, 5, none) X(PLP, imp, 4, none) X(AND, imm, 2, none) X(ROL, imp, 2, none) X(ANN, imm, 2, none) X(BIT, abs, 4, none) X(AND, abs, 4, none) X(ROL, abs, 6, none) X(RAN, abs, 6, none) \
    /* 3x */ X(BMI, rel, 2, branch) X(AND, izy, 5, pageCross) X(ABS, imp, 2, none) X(RAN, izy, 8, none) X(NO2, zpx, 4, none) X(AND, zpx, 4, none) X(ROL, zpx, 6, none) X(RAN, zpx, 6, none) X(SEC, imp, 2, none) X(AND, aby, 4, pageCross) X(NO1, imp, 2, none) X(RAN, aby, 7, none) X(NO3, abx, 4, pageCross) X(AND, abx, 4, pageCross) X(ROL, abx, 7, none) X(RAN, abx, 7, none) \
    /* 4x */ X(RTI, imp, 6, none) X(EOR, izx, 6, none) X(ABS, imp, 2, none) X(LSE, izx, 8, none) X(NO2, zp, 3, none) X(EOR, zp, 3, none) X(LSR, zp, 5, none) X(LSE, zp, 5, none) X(PHA, imp, 3, none) X(EOR, imm, 2, none) X(LSR, imp, 2, none) X(ANL, imm, 2, none) X(JMP, abs, 3, none) X(EOR, abs, 4, none) X(LSR, abs, 6, none) X(LSE, abs, 6, none) \
    /* 5x */ X(BVC, rel, 2, branch) X(EOR, izy, 5, pageCross) X(ABS, imp, 2, none) X(LSE, izy, 8, none) X(NO2, zpx, 4, none) X(EOR, zpx, 4, none) X(LSR, zpx, 6, none) X(LSE, zpx, 6, none) X(CLI, imp, 2, none) X(EOR, aby, 4, pageCross) X(NO1, imp, 2, none) X(LSE, aby, 7, none) X(NO3, abx, 4, pageCross) X(EOR, abx, 4, pageCross) X(LSR, abx, 7, none) X(LSE, abx, 7, none) \
    /* 6x */ X(RTS, imp, 6, none) X(ADC, izx, 6, none) X(ABS, imp, 2, none) X(RAD, izx, 8, none) X(NO2, zp, 3, none) X(ADC, zp, 3, none) X(ROR, zp, 5, none) X(RAD, zp, 5, none) X(PLA, imp, 4, none) X(ADC, imm, 2, none) X(ROR, imp, 2, none) X(ARR, imm, 2, none) X(JMP, ind, 5, none) X(ADC, abs, 4, none) X(ROR, abs, 6, none) X(RAD, abs, 6, none) \
    /* 7x */ X(BVS, rel, 2, branch) X(ADC, izy, 5, pageCross) X(ABS, imp, 2, none) X(RAD, izy, 8, none) X(NO2, zpx, 4, none) X(ADC, zpx, 4, none) X(ROR, zpx, 6, none) X(RAD, zpx, 6, none) X(SEI, imp, 2, none) X(ADC, aby, 4, pageCross) X(NO1, imp, 2, none) X(RAD, aby, 7, none) X(NO3, abx, 4, pageCross) X(ADC, abx, 4, pageCross) X(ROR, abx, 7, none) X(RAD, abx, 7, none) \
    /* 8x */ X(NO2, imm, 2, none) X(STA, izx, 6, none) X(NO2, imm, 2, none) X(AXX, izx, 6, none) X(STY, zp, 3, none) X(STA, zp, 3, none) X(STX, zp, 3, none) X(AXR, zp, 3, none) X(DEY, imp, 2, none) X(NO2, imm, 2, none) X(TXA, imp, 2, none) X(TAN, imm, 2, none) X(STY, abs, 4, none) X(STA, abs, 4, none) X(STX, abs, 4, none) X(AAX, abs, 4, none) \
    /* 9x */ X(BCC, rel, 2, branch) X(STA, izy, 6, none) X(ABS, imp, 2, none) X(AXI, izy, 6, none) X(STY, zpx, 4, none) X(STA, zpx, 4, none) X(STX, zpy, 4, none) X(AXY, zpy, 4, none) X(TYA, imp, 2, none) X(STA, aby, 5, none) X(TXS, imp, 2, none) X(AXS, aby, 5, none) X(SHY, abx, 5, none) X(STA, abx, 5, none) X(SHX, aby, 5, none) X(SHA, aby, 5, none) \
    /* Ax */ X(LDY, imm, 2, none) X(LDA, izx, 6, none) X(LDX, imm, 2, none) X(LDT, izx, 6, none) X(LDY, zp, 3, none) X(LDA, zp, 3, none) X(LDX, zp, 3, none) X(LDT, zp, 3, none) X(TAY, imp, 2, none) X(LDA, imm, 2, none) X(TAX, imp, 2, none) X(ANX, imm, 2, none) X(LDY, abs, 4, none) X(LDA, abs, 4, none) X(LDX, abs, 4, none) X(LDT, abs, 4, none) \
    /* Bx */ X(BCS, rel, 2, branch) X(LDA, izy, 5, pageCross) X(ABS, imp, 2, none) X(LDT, izy, 5, pageCross) X(LDY, zpx, 4, none) X(LDA, zpx, 4, none) X(LDX, zpy, 4, none) X(LDT, zpy, 4, none) X(CLV, imp, 2, none) X(LDA, aby, 4, pageCross) X(TSX, imp, 2, none) X(TSA, aby, 4, pageCross) X(LDY, abx, 4, pageCross) X(LDA, abx, 4, pageCross) X(LDX, aby, 4, pageCross) X(LDT, aby, 4, pageCross) \
    /* Cx */ X(CPY, imm, 2, none) X(CMP, izx, 6, none) X(NO2, imm, 2, none) X(DEM, izx, 8, none) X(CPY, zp, 3, none) X(CMP, zp, 3, none) X(DEC, zp, 5, none) X(DEM, zp, 5, none) X(INY, imp, 2, none) X(CMP, imm, 2, none) X(DEX, imp, 2, none) X(XAS, imm, 2, none) X(CPY, abs, 4, none) X(CMP, abs, 4, none) X(DEC, abs, 6, none) X(DEM, abs, 6, none) \
    /* Dx */ X(BNE, rel, 2, branch) X(CMP, izy, 5, pageCross) X(ABS, imp, 2, none) X(DEM, izy, 8, none) X(NO2, zpx, 4, none) X(CMP, zpx, 4, none) X(DEC, zpx, 6, none) X(DEM, zpx, 6, none) X(CLD, imp, 2, none) X(CMP, aby, 4, pageCross) X(NO1, imp, 2, none) X(DEM, aby, 7, none) X(NO3, abx, 4, pageCross) X(CMP, abx, 4, pageCross) X(DEC, abx, 7, none) X(DEM, abx, 7, none) \
    /* Ex */ X(CPX, imm, 2, none) X(SBC, izx, 6, none) X(NO2, imm, 2, none) X(INB, izx, 8, none) X(CPX, zp, 3, none) X(SBC, zp, 3, none) X(INC, zp, 5, none) X(INB, zp, 5, none) X(INX, imp, 2, none) X(SBC, imm, 2, none) X(NOP, imp, 2, none) X(SBC, imm, 2, none) X(CPX, abs, 4, none) X(SBC, abs, 4, none) X(INC, abs, 6, none) X(INB, abs, 6, none) \
    /* Fx */ X(BEQ, rel, 2, branch) X(SBC, izy, 5, pageCross) X(ABS, imp, 2, none) X(INB, izy, 8, none) X(NO2, zpx, 4, none) X(SBC, zpx, 4, none) X(INC, zpx, 6, none) X(INB, zpx, 6, none) X(SED, imp, 2, none) X(SBC, aby, 4, pageCross) X(NO1, imp, 2, none) X(INB, aby, 7, none) X(NO3, abx, 4, pageCross) X(SBC, abx, 4, pageCross) X(INC, abx, 7, none) X(INB, abx, 7, none)

// clang-format on

namespace cpu {

struct OpcodeInfo {
    const char* mnemonic;
    Mode mode;
    uint8_t cycles;
    Extra extra;
};

#define VARNOK_OPCODE_INFO(m, mode, cycles, extra) {#m, mode, cycles, extra},
inline constexpr OpcodeInfo opcodeTable[256] = {VARNOK_OPCODES(VARNOK_OPCODE_INFO)};
#undef VARNOK_OPCODE_INFO

}  // namespace cpu

// The 7501/8501 instruction set: one handler per opcode, dispatched through the
// opcode grid below. Each handler moves PC and reports its page or branch extra;
// the grid row supplies the base cycle count.
#include "cpu/cpu.h"

#include "cpu/operations.h"

Registers reg;

uint8_t packStatus() {
    return static_cast<uint8_t>((reg.N ? 0x80 : 0) | (reg.V ? 0x40 : 0) | 0x20 | (reg.B ? 0x10 : 0) |
                                (reg.D ? 0x08 : 0) | (reg.I ? 0x04 : 0) | (reg.Z ? 0x02 : 0) |
                                (reg.C ? 0x01 : 0));
}

void unpackStatus(uint8_t status) {
    reg.N = status & 0x80;
    reg.V = status & 0x40;
    reg.B = status & 0x10;
    reg.D = status & 0x08;
    reg.I = status & 0x04;
    reg.Z = status & 0x02;
    reg.C = status & 0x01;
}

namespace cpu {
namespace {

// Returns the cycles to add to the grid's count: the page-crossing bit, or for a
// branch 1 when taken and 2 when taken to another page. The grid row masks it.
using Handler = uint8_t (*)();

template <Mode M, void (*Op)(uint8_t)>
uint8_t readOp() {
    Operand operand = effectiveAddress<M>();
    Op(readMemory(operand.address));
    reg.PC += instructionLength(M);
    return operand.crossed;
}

template <Mode M, uint8_t (*Value)()>
uint8_t storeOp() {
    writeMemory(effectiveAddress<M>().address, Value());
    reg.PC += instructionLength(M);
    return 0;
}

// One read and one write of the operand; the accumulator form works on AC.
template <Mode M, uint8_t (*Op)(uint8_t)>
uint8_t modifyOp() {
    if constexpr (M == imp) {
        reg.AC = Op(reg.AC);
    } else {
        uint16_t address = effectiveAddress<M>().address;
        writeMemory(address, Op(readMemory(address)));
    }
    reg.PC += instructionLength(M);
    return 0;
}

template <void (*Op)()>
uint8_t impliedOp() {
    Op();
    reg.PC += 1;
    return 0;
}

// The undocumented no-operations read nothing except the abx forms, which read
// their operand word to find the page crossing.
template <Mode M>
uint8_t skipOp() {
    uint8_t crossed = 0;
    if constexpr (M == abx) crossed = effectiveAddress<abx>().crossed;
    reg.PC += instructionLength(M);
    return crossed;
}

// The extra page cycle compares the target with the branch's own opcode address.
template <uint8_t Registers::*Flag, bool TakenWhenSet>
uint8_t branchOp() {
    uint16_t from = reg.PC;
    if ((reg.*Flag != 0) != TakenWhenSet) {
        reg.PC += 2;
        return 0;
    }
    reg.PC =
        static_cast<uint16_t>(from + 2 + static_cast<int8_t>(readMemory(static_cast<uint16_t>(from + 1))));
    return ((reg.PC ^ from) & 0xFF00) ? 2 : 1;
}

template <uint8_t Registers::*Flag, uint8_t Value>
void setFlag() {
    reg.*Flag = Value;
}

uint8_t acValue() { return reg.AC; }
uint8_t xrValue() { return reg.XR; }
uint8_t yrValue() { return reg.YR; }
uint8_t acAndXrValue() { return reg.AC & reg.XR; }

void tax() { ldx(reg.AC); }
void tay() { ldy(reg.AC); }
void txa() { lda(reg.XR); }
void tya() { lda(reg.YR); }
void tsx() { ldx(reg.SP); }
void txs() { reg.SP = reg.XR; }
void inx() { ldx(static_cast<uint8_t>(reg.XR + 1)); }
void iny() { ldy(static_cast<uint8_t>(reg.YR + 1)); }
void dex() { ldx(static_cast<uint8_t>(reg.XR - 1)); }
void dey() { ldy(static_cast<uint8_t>(reg.YR - 1)); }
void php() { push(packStatus()); }
void plp() { unpackStatus(pull()); }
void pha() { push(reg.AC); }
void pla() { lda(pull()); }

uint8_t brk() {
    pushWord(static_cast<uint16_t>(reg.PC + 2));
    push(packStatus() | 0x10);
    reg.B = 0;
    reg.I = 1;
    reg.PC = readWord(0xFFFE);
    return 0;
}

uint8_t jsr() {
    uint16_t target = readWord(static_cast<uint16_t>(reg.PC + 1));
    pushWord(static_cast<uint16_t>(reg.PC + 2));
    reg.PC = target;
    return 0;
}

uint8_t rts() {
    reg.PC = static_cast<uint16_t>(pullWord() + 1);
    return 0;
}

uint8_t rti() {
    unpackStatus(pull());
    reg.PC = pullWord();
    return 0;
}

template <Mode M>
uint8_t jmp() {
    reg.PC = effectiveAddress<M>().address;
    return 0;
}

// ABS jams on its own opcode but clears I, so interrupts still come and return to it.
uint8_t jam() {
    reg.I = 0;
    return 0;
}

// The unimplemented opcodes stay put and repeat the previous step's count, so the
// beam keeps moving; before any instruction has run that count is the shortest one.
uint8_t unimplemented() {
    if (reg.lastCycle == 0) reg.lastCycle = 2;
    return 0;
}

template <Mode M>
uint8_t axi() {
    uint16_t address = effectiveAddress<M>().address;
    uint8_t next = readMemory(static_cast<uint16_t>(address + 1));
    writeMemory(address, reg.AC & reg.XR & static_cast<uint8_t>(next + 1));
    reg.PC += instructionLength(M);
    return 0;
}

template <Mode M>
uint8_t axs() {
    reg.SP = reg.AC & reg.XR;
    uint16_t address = effectiveAddress<M>().address;
    uint8_t low = readMemory(static_cast<uint16_t>(reg.PC + 1));
    writeMemory(address, reg.SP & static_cast<uint8_t>(low + 1));
    reg.PC += instructionLength(M);
    return 0;
}

// The grid's mnemonics.
// clang-format off
template <Mode M> constexpr Handler ORA = readOp<M, ora>;
template <Mode M> constexpr Handler AND = readOp<M, andA>;
template <Mode M> constexpr Handler EOR = readOp<M, eor>;
template <Mode M> constexpr Handler ADC = readOp<M, adc>;
template <Mode M> constexpr Handler SBC = readOp<M, sbc>;
template <Mode M> constexpr Handler CMP = readOp<M, cmp>;
template <Mode M> constexpr Handler CPX = readOp<M, cpx>;
template <Mode M> constexpr Handler CPY = readOp<M, cpy>;
template <Mode M> constexpr Handler BIT = readOp<M, bit>;
template <Mode M> constexpr Handler LDA = readOp<M, lda>;
template <Mode M> constexpr Handler LDX = readOp<M, ldx>;
template <Mode M> constexpr Handler LDY = readOp<M, ldy>;
template <Mode M> constexpr Handler LDT = readOp<M, ldt>;
template <Mode M> constexpr Handler ANN = readOp<M, ann>;
template <Mode M> constexpr Handler ANL = readOp<M, anl>;
template <Mode M> constexpr Handler TAN = readOp<M, tan>;
template <Mode M> constexpr Handler ANX = readOp<M, anx>;
template <Mode M> constexpr Handler XAS = readOp<M, xas>;
template <Mode M> constexpr Handler TSA = readOp<M, tsa>;
template <Mode M> constexpr Handler STA = storeOp<M, acValue>;
template <Mode M> constexpr Handler STX = storeOp<M, xrValue>;
template <Mode M> constexpr Handler STY = storeOp<M, yrValue>;
template <Mode M> constexpr Handler AXX = storeOp<M, acAndXrValue>;
template <Mode M> constexpr Handler AXR = storeOp<M, acAndXrValue>;
template <Mode M> constexpr Handler AXY = storeOp<M, acAndXrValue>;
template <Mode M> constexpr Handler AAX = storeOp<M, acAndXrValue>;
template <Mode M> constexpr Handler ASL = modifyOp<M, asl>;
template <Mode M> constexpr Handler LSR = modifyOp<M, lsr>;
template <Mode M> constexpr Handler ROL = modifyOp<M, rol>;
template <Mode M> constexpr Handler ROR = modifyOp<M, ror>;
template <Mode M> constexpr Handler INC = modifyOp<M, inc>;
template <Mode M> constexpr Handler DEC = modifyOp<M, dec>;
template <Mode M> constexpr Handler ASO = modifyOp<M, aso>;
template <Mode M> constexpr Handler RAN = modifyOp<M, ran>;
template <Mode M> constexpr Handler LSE = modifyOp<M, lse>;
template <Mode M> constexpr Handler RAD = modifyOp<M, rad>;
template <Mode M> constexpr Handler DEM = modifyOp<M, dem>;
template <Mode M> constexpr Handler INB = modifyOp<M, inb>;
template <Mode M> constexpr Handler NO2 = skipOp<M>;
template <Mode M> constexpr Handler NO3 = skipOp<M>;
template <Mode M> constexpr Handler JMP = jmp<M>;
template <Mode M> constexpr Handler AXI = axi<M>;
template <Mode M> constexpr Handler AXS = axs<M>;
// clang-format on

constexpr Handler NO1 = skipOp<imp>, NOP = skipOp<imp>;
constexpr Handler BRK = brk, JSR = jsr, RTS = rts, RTI = rti, ABS = jam, UNK = unimplemented;
constexpr Handler PHP = impliedOp<php>, PLP = impliedOp<plp>, PHA = impliedOp<pha>, PLA = impliedOp<pla>;
constexpr Handler TAX = impliedOp<tax>, TAY = impliedOp<tay>, TXA = impliedOp<txa>, TYA = impliedOp<tya>;
constexpr Handler TSX = impliedOp<tsx>, TXS = impliedOp<txs>;
constexpr Handler INX = impliedOp<inx>, INY = impliedOp<iny>, DEX = impliedOp<dex>, DEY = impliedOp<dey>;
constexpr Handler CLC = impliedOp<setFlag<&Registers::C, 0>>, SEC = impliedOp<setFlag<&Registers::C, 1>>;
constexpr Handler CLI = impliedOp<setFlag<&Registers::I, 0>>, SEI = impliedOp<setFlag<&Registers::I, 1>>;
constexpr Handler CLD = impliedOp<setFlag<&Registers::D, 0>>, SED = impliedOp<setFlag<&Registers::D, 1>>;
constexpr Handler CLV = impliedOp<setFlag<&Registers::V, 0>>;
constexpr Handler BPL = branchOp<&Registers::N, false>, BMI = branchOp<&Registers::N, true>;
constexpr Handler BVC = branchOp<&Registers::V, false>, BVS = branchOp<&Registers::V, true>;
constexpr Handler BCC = branchOp<&Registers::C, false>, BCS = branchOp<&Registers::C, true>;
constexpr Handler BNE = branchOp<&Registers::Z, false>, BEQ = branchOp<&Registers::Z, true>;

struct Opcode {
    Handler run;
    uint8_t cycles;         // 0: the step keeps the previous count
    uint8_t extraMask = 0;  // which of the handler's extra cycles count
};
constexpr uint8_t plus = 1;    // one more cycle on a page crossing
constexpr uint8_t branch = 3;  // 2 not taken, 3 taken, 4 taken to another page

// clang-format off
constexpr Opcode opcodes[256] = {
    /* 0x */ {BRK, 7},            {ORA<izx>, 6},       {ABS, 2},            {ASO<izx>, 8},       {NO2<zp>, 3},        {ORA<zp>, 3},        {ASL<zp>, 5},        {ASO<zp>, 5},        {PHP, 3},            {ORA<imm>, 2},       {ASL<imp>, 2},       {ANN<imm>, 2},       {NO3<abs>, 4},       {ORA<abs>, 4},       {ASL<abs>, 6},       {ASO<abs>, 6},
    /* 1x */ {BPL, 2, branch},    {ORA<izy>, 5, plus}, {ABS, 2},            {ASO<izy>, 8},       {NO2<zpx>, 4},       {ORA<zpx>, 4},       {ASL<zpx>, 6},       {ASO<zpx>, 6},       {CLC, 2},            {ORA<aby>, 4, plus}, {NO1, 2},            {ASO<aby>, 7},       {NO3<abx>, 4, plus}, {ORA<abx>, 4, plus}, {ASL<abx>, 7},       {ASO<abx>, 7},
    /* 2x */ {JSR, 6},            {AND<izx>, 6},       {ABS, 2},            {RAN<izx>, 7},       {BIT<zp>, 3},        {AND<zp>, 3},        {ROL<zp>, 5},        {RAN<zp>, 5},        {PLP, 4},            {AND<imm>, 2},       {ROL<imp>, 2},       {ANN<imm>, 2},       {BIT<abs>, 4},       {AND<abs>, 4},       {ROL<abs>, 6},       {RAN<abs>, 6},
    /* 3x */ {BMI, 2, branch},    {AND<izy>, 5, plus}, {ABS, 2},            {RAN<izy>, 7},       {NO2<zpx>, 4},       {AND<zpx>, 4},       {ROL<zpx>, 6},       {RAN<zpx>, 6},       {SEC, 2},            {AND<aby>, 4, plus}, {NO1, 2},            {RAN<aby>, 7},       {NO3<abx>, 4, plus}, {AND<abx>, 4, plus}, {ROL<abx>, 7},       {RAN<abx>, 7},
    /* 4x */ {RTI, 6},            {EOR<izx>, 6},       {ABS, 2},            {LSE<izx>, 7},       {NO2<zp>, 3},        {EOR<zp>, 3},        {LSR<zp>, 5},        {LSE<zp>, 5},        {PHA, 3},            {EOR<imm>, 2},       {LSR<imp>, 2},       {ANL<imm>, 2},       {JMP<abs>, 3},       {EOR<abs>, 4},       {LSR<abs>, 6},       {LSE<abs>, 6},
    /* 5x */ {BVC, 2, branch},    {EOR<izy>, 5, plus}, {ABS, 2},            {LSE<izy>, 7},       {NO2<zpx>, 4},       {EOR<zpx>, 4},       {LSR<zpx>, 6},       {LSE<zpx>, 6},       {CLI, 2},            {EOR<aby>, 4, plus}, {NO1, 2},            {LSE<aby>, 7},       {NO3<abx>, 4, plus}, {EOR<abx>, 4, plus}, {LSR<abx>, 7},       {LSE<abx>, 7},
    /* 6x */ {RTS, 6},            {ADC<izx>, 6},       {ABS, 2},            {RAD<izx>, 8},       {NO2<zp>, 3},        {ADC<zp>, 3},        {ROR<zp>, 5},        {RAD<zp>, 5},        {PLA, 4},            {ADC<imm>, 2},       {ROR<imp>, 2},       {UNK, 0},            {JMP<ind>, 5},       {ADC<abs>, 4},       {ROR<abs>, 6},       {RAD<abs>, 6},
    /* 7x */ {BVS, 2, branch},    {ADC<izy>, 5, plus}, {ABS, 2},            {RAD<izy>, 8},       {NO2<zpx>, 4},       {ADC<zpx>, 4},       {ROR<zpx>, 6},       {RAD<zpx>, 6},       {SEI, 2},            {ADC<aby>, 4, plus}, {NO1, 2},            {RAD<aby>, 7},       {NO3<abx>, 4, plus}, {ADC<abx>, 4, plus}, {ROR<abx>, 7},       {RAD<abx>, 7},
    /* 8x */ {NO2<imm>, 2},       {STA<izx>, 6},       {NO2<imm>, 2},       {AXX<izx>, 6},       {STY<zp>, 3},        {STA<zp>, 3},        {STX<zp>, 3},        {AXR<zp>, 3},        {DEY, 2},            {NO2<imm>, 2},       {TXA, 2},            {TAN<imm>, 2},       {STY<abs>, 4},       {STA<abs>, 4},       {STX<abs>, 4},       {AAX<abs>, 4},
    /* 9x */ {BCC, 2, branch},    {STA<izy>, 6},       {ABS, 2},            {AXI<izy>, 6},       {STY<zpx>, 4},       {STA<zpx>, 4},       {STX<zpy>, 4},       {AXY<zpy>, 4},       {TYA, 2},            {STA<aby>, 5},       {TXS, 2},            {AXS<aby>, 5},       {UNK, 0},            {STA<abx>, 5},       {UNK, 0},            {UNK, 0},
    /* Ax */ {LDY<imm>, 2},       {LDA<izx>, 6},       {LDX<imm>, 2},       {LDT<izx>, 6},       {LDY<zp>, 3},        {LDA<zp>, 3},        {LDX<zp>, 3},        {LDT<zp>, 3},        {TAY, 2},            {LDA<imm>, 2},       {TAX, 2},            {ANX<imm>, 2},       {LDY<abs>, 4},       {LDA<abs>, 4},       {LDX<abs>, 4},       {LDT<abs>, 4},
    /* Bx */ {BCS, 2, branch},    {LDA<izy>, 5, plus}, {ABS, 2},            {LDT<izy>, 5, plus}, {LDY<zpx>, 4},       {LDA<zpx>, 4},       {LDX<zpy>, 4},       {LDT<zpy>, 4},       {CLV, 2},            {LDA<aby>, 4, plus}, {TSX, 2},            {TSA<aby>, 4},       {LDY<abx>, 4, plus}, {LDA<abx>, 4, plus}, {LDX<aby>, 4, plus}, {LDT<aby>, 4},
    /* Cx */ {CPY<imm>, 2},       {CMP<izx>, 6},       {NO2<imm>, 2},       {DEM<izx>, 8},       {CPY<zp>, 3},        {CMP<zp>, 3},        {DEC<zp>, 5},        {DEM<zp>, 5},        {INY, 2},            {CMP<imm>, 2},       {DEX, 2},            {XAS<imm>, 2},       {CPY<abs>, 4},       {CMP<abs>, 4},       {DEC<abs>, 6},       {DEM<abs>, 6},
    /* Dx */ {BNE, 2, branch},    {CMP<izy>, 5, plus}, {ABS, 2},            {DEM<izy>, 8},       {NO2<zpx>, 4},       {CMP<zpx>, 4},       {DEC<zpx>, 6},       {DEM<zpy>, 6},       {CLD, 2},            {CMP<aby>, 4, plus}, {NO1, 2},            {DEM<aby>, 7},       {NO3<abx>, 4, plus}, {CMP<abx>, 4, plus}, {DEC<abx>, 7},       {DEM<abx>, 7},
    /* Ex */ {CPX<imm>, 2},       {SBC<izx>, 6},       {NO2<imm>, 2},       {INB<izx>, 6},       {CPX<zp>, 3},        {SBC<zp>, 3},        {INC<zp>, 5},        {INB<zp>, 5},        {INX, 2},            {SBC<imm>, 2},       {NOP, 2},            {SBC<imm>, 2},       {CPX<abs>, 4},       {SBC<abs>, 4},       {INC<abs>, 6},       {INB<abs>, 6},
    /* Fx */ {BEQ, 2, branch},    {SBC<izy>, 5, plus}, {ABS, 2},            {INB<izy>, 5},       {NO2<zpx>, 4},       {SBC<zpx>, 4},       {INC<zpx>, 6},       {INB<zpx>, 6},       {SED, 2},            {SBC<aby>, 4, plus}, {NO1, 2},            {INB<aby>, 7},       {NO3<abx>, 4, plus}, {SBC<abx>, 4, plus}, {INC<abx>, 7},       {INB<abx>, 7},
};
// clang-format on

}  // namespace
}  // namespace cpu

uint16_t executeInstruction() {
    const cpu::Opcode& opcode = cpu::opcodes[readMemory(reg.PC)];
    uint8_t extra = opcode.run();
    if (opcode.cycles == 0) return 0;
    return reg.lastCycle = static_cast<uint16_t>(opcode.cycles + (extra & opcode.extraMask));
}

// The 7501/8501 instruction set: one handler per opcode, generated from the opcode
// table (cpu/opcode_table.h) and dispatched through it. Each handler moves PC and
// reports its page or branch extra; the table supplies the base cycle count.
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

// Returns the cycles to add to the table's count: the page-crossing bit, or for a
// branch 1 when taken and 2 when taken to another page. The table's extra masks it.
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

// The offset is added to the address of the next instruction, and the extra page cycle
// is the carry of that addition into the high byte.
template <uint8_t Registers::*Flag, bool TakenWhenSet>
uint8_t branchOp() {
    const uint16_t next = static_cast<uint16_t>(reg.PC + 2);
    if ((reg.*Flag != 0) != TakenWhenSet) {
        reg.PC = next;
        return 0;
    }
    reg.PC = static_cast<uint16_t>(next + static_cast<int8_t>(readMemory(static_cast<uint16_t>(next - 1))));
    return ((reg.PC ^ next) & 0xFF00) ? 2 : 1;
}

template <uint8_t Registers::*Flag, uint8_t Value>
void setFlag() {
    reg.*Flag = Value;
}

uint8_t acValue() { return reg.AC; }
uint8_t xrValue() { return reg.XR; }
uint8_t yrValue() { return reg.YR; }
uint8_t acAndXrValue() { return reg.AC & reg.XR; }
uint8_t stackFromAcAndXr() { return reg.SP = reg.AC & reg.XR; }

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
void php() { pushStatus(true); }
void plp() { unpackStatus(pull()); }
void pha() { push(reg.AC); }
void pla() { lda(pull()); }

uint8_t brk() {
    pushWord(static_cast<uint16_t>(reg.PC + 2));
    pushStatus(true);
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

// The indexed stores of the $9x column the chip never finished: the value is ANDed with
// the high byte of the base address plus 1, and when the index carries into the next page
// the same value takes the place of the address's high byte.
template <Mode M, uint8_t (*Value)()>
uint8_t storeHighOp() {
    const Operand operand = effectiveAddress<M>();
    const uint8_t index = M == abx ? reg.XR : reg.YR;
    const uint8_t baseHigh = static_cast<uint8_t>((operand.address - index) >> 8);
    const uint8_t value = Value() & static_cast<uint8_t>(baseHigh + 1);
    const uint16_t address =
        operand.crossed ? static_cast<uint16_t>(value << 8 | (operand.address & 0xFF)) : operand.address;
    writeMemory(address, value);
    reg.PC += instructionLength(M);
    return 0;
}

// The table's mnemonics, each a handler template over the addressing mode.
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
template <Mode M> constexpr Handler ARR = readOp<M, arr>;
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
template <Mode M> constexpr Handler NOP = skipOp<M>;
template <Mode M> constexpr Handler NO1 = skipOp<M>;
template <Mode M> constexpr Handler NO2 = skipOp<M>;
template <Mode M> constexpr Handler NO3 = skipOp<M>;
template <Mode M> constexpr Handler JMP = jmp<M>;
template <Mode M> constexpr Handler AXI = storeHighOp<M, acAndXrValue>;
template <Mode M> constexpr Handler SHA = storeHighOp<M, acAndXrValue>;
template <Mode M> constexpr Handler SHX = storeHighOp<M, xrValue>;
template <Mode M> constexpr Handler SHY = storeHighOp<M, yrValue>;
template <Mode M> constexpr Handler AXS = storeHighOp<M, stackFromAcAndXr>;
// clang-format on

// clang-format off
template <Mode> constexpr Handler BRK = brk;
template <Mode> constexpr Handler JSR = jsr;
template <Mode> constexpr Handler RTS = rts;
template <Mode> constexpr Handler RTI = rti;
template <Mode> constexpr Handler ABS = jam;
template <Mode> constexpr Handler PHP = impliedOp<php>;
template <Mode> constexpr Handler PLP = impliedOp<plp>;
template <Mode> constexpr Handler PHA = impliedOp<pha>;
template <Mode> constexpr Handler PLA = impliedOp<pla>;
template <Mode> constexpr Handler TAX = impliedOp<tax>;
template <Mode> constexpr Handler TAY = impliedOp<tay>;
template <Mode> constexpr Handler TXA = impliedOp<txa>;
template <Mode> constexpr Handler TYA = impliedOp<tya>;
template <Mode> constexpr Handler TSX = impliedOp<tsx>;
template <Mode> constexpr Handler TXS = impliedOp<txs>;
template <Mode> constexpr Handler INX = impliedOp<inx>;
template <Mode> constexpr Handler INY = impliedOp<iny>;
template <Mode> constexpr Handler DEX = impliedOp<dex>;
template <Mode> constexpr Handler DEY = impliedOp<dey>;
template <Mode> constexpr Handler CLC = impliedOp<setFlag<&Registers::C, 0>>;
template <Mode> constexpr Handler SEC = impliedOp<setFlag<&Registers::C, 1>>;
template <Mode> constexpr Handler CLI = impliedOp<setFlag<&Registers::I, 0>>;
template <Mode> constexpr Handler SEI = impliedOp<setFlag<&Registers::I, 1>>;
template <Mode> constexpr Handler CLD = impliedOp<setFlag<&Registers::D, 0>>;
template <Mode> constexpr Handler SED = impliedOp<setFlag<&Registers::D, 1>>;
template <Mode> constexpr Handler CLV = impliedOp<setFlag<&Registers::V, 0>>;
template <Mode> constexpr Handler BPL = branchOp<&Registers::N, false>;
template <Mode> constexpr Handler BMI = branchOp<&Registers::N, true>;
template <Mode> constexpr Handler BVC = branchOp<&Registers::V, false>;
template <Mode> constexpr Handler BVS = branchOp<&Registers::V, true>;
template <Mode> constexpr Handler BCC = branchOp<&Registers::C, false>;
template <Mode> constexpr Handler BCS = branchOp<&Registers::C, true>;
template <Mode> constexpr Handler BNE = branchOp<&Registers::Z, false>;
template <Mode> constexpr Handler BEQ = branchOp<&Registers::Z, true>;
// clang-format on

// What the table dispatches to: the mnemonic's work, then its count, the base plus the
// extra the table lets through, kept in reg.lastCycle. Built per opcode, so the count is a
// constant inside the handler and the dispatch is one call.
template <Handler Run, uint8_t Cycles, uint8_t ExtraMask>
uint16_t counted() {
    const uint8_t extra = Run();
    return reg.lastCycle = static_cast<uint16_t>(Cycles + (extra & ExtraMask));
}

}  // namespace

// One handler per opcode, each with its addressing inlined, built from the opcode table.
// (A template's name cannot be parenthesised.)
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define VARNOK_CORE_OPCODE(mnemonic, mode, cycles, extra) counted<mnemonic<mode>, cycles, extra>,
constinit const Instruction instructions[256] = {VARNOK_OPCODES(VARNOK_CORE_OPCODE)};
#undef VARNOK_CORE_OPCODE

}  // namespace cpu

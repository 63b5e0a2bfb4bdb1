#pragma once
// The 6502-family core as code over state: every handler runs on a bus that leads to its
// own registers and memory, so the computer's 7501 and a drive's processor run the same
// handlers. A bus is any type with
//   uint8_t read(uint16_t address);  void write(uint16_t address, uint8_t value);
//   Registers& registers();
// (the computer's bus reaches its registers without a pointer, which keeps its handlers
// as short as they can be).
// The handlers are built from the one opcode table (cpu/opcode_table.h); each moves PC,
// reports its page or branch extra, and the table supplies the base cycle count.
#include <cstdint>

#include "cpu/opcode_table.h"
#include "cpu/registers.h"

namespace cpu {

template <class Bus>
using Instruction = uint16_t (*)(Bus&);

// N V 1 B D I Z C, bit 5 always set; and back, bit 5 ignored.
inline uint8_t statusByte(const Registers& r) {
    return static_cast<uint8_t>((r.N ? 0x80 : 0) | (r.V ? 0x40 : 0) | 0x20 | (r.B ? 0x10 : 0) |
                                (r.D ? 0x08 : 0) | (r.I ? 0x04 : 0) | (r.Z ? 0x02 : 0) | (r.C ? 0x01 : 0));
}
inline void setStatusByte(Registers& r, uint8_t status) {
    r.N = status & 0x80;
    r.V = status & 0x40;
    r.B = status & 0x10;
    r.D = status & 0x08;
    r.I = status & 0x04;
    r.Z = status & 0x02;
    r.C = status & 0x01;
}

namespace core {

// ---- the bus: words and the stack ----

// The high byte comes from the next address even across a page (the vectors at $FFFE).
template <class Bus>
inline uint16_t readWord(Bus& bus, uint16_t address) {
    return static_cast<uint16_t>(bus.read(address) | bus.read(static_cast<uint16_t>(address + 1)) << 8);
}

// A pointer's word: the chip adds 1 to the pointer's low byte alone, so a pointer at $xxFF
// takes its high byte from $xx00 (JMP ($10FF) reads $10FF and $1000, ($FF),Y reads $FF
// and $00).
template <class Bus>
inline uint16_t readPointer(Bus& bus, uint16_t address) {
    const uint16_t next = static_cast<uint16_t>((address & 0xFF00) | ((address + 1) & 0x00FF));
    return static_cast<uint16_t>(bus.read(address) | bus.read(next) << 8);
}

template <class Bus>
inline void push(Registers& r, Bus& bus, uint8_t value) {
    bus.write(static_cast<uint16_t>(0x100 | r.SP--), value);
}
template <class Bus>
inline uint8_t pull(Registers& r, Bus& bus) {
    return bus.read(static_cast<uint16_t>(0x100 | ++r.SP));
}
template <class Bus>
inline void pushWord(Registers& r, Bus& bus, uint16_t value) {
    push(r, bus, static_cast<uint8_t>(value >> 8));
    push(r, bus, static_cast<uint8_t>(value));
}
template <class Bus>
inline uint16_t pullWord(Registers& r, Bus& bus) {
    const uint8_t low = pull(r, bus);
    return static_cast<uint16_t>(low | pull(r, bus) << 8);
}

// The pushed status always has bit 5 set; bit 4 is set by PHP and BRK and clear for an
// interrupt, while B itself stays as PLP or RTI left it.
template <class Bus>
inline void pushStatus(Registers& r, Bus& bus, bool breakBit) {
    const uint8_t status = statusByte(r);
    push(r, bus, breakBit ? status | 0x10 : status & ~0x10);
}

struct Operand {
    uint16_t address;
    uint8_t crossed;  // the index carried into the next page
};

inline Operand indexed(uint16_t base, uint8_t index) {
    const uint16_t address = static_cast<uint16_t>(base + index);
    return {address, static_cast<uint8_t>(((base ^ address) & 0xFF00) != 0)};
}

// The effective address of the instruction at PC; an immediate operand is read from its
// own address.
template <class Bus, Mode M>
inline Operand effectiveAddress(const Registers& r, Bus& bus) {
    const uint16_t at = static_cast<uint16_t>(r.PC + 1);
    if constexpr (M == imm) return {at, 0};
    if constexpr (M == zp) return {bus.read(at), 0};
    if constexpr (M == zpx) return {static_cast<uint8_t>(bus.read(at) + r.XR), 0};
    if constexpr (M == zpy) return {static_cast<uint8_t>(bus.read(at) + r.YR), 0};
    if constexpr (M == abs) return {readWord(bus, at), 0};
    if constexpr (M == abx) return indexed(readWord(bus, at), r.XR);
    if constexpr (M == aby) return indexed(readWord(bus, at), r.YR);
    if constexpr (M == izx) return {readPointer(bus, static_cast<uint8_t>(bus.read(at) + r.XR)), 0};
    if constexpr (M == izy) return indexed(readPointer(bus, bus.read(at)), r.YR);
    if constexpr (M == ind) return {readPointer(bus, readWord(bus, at)), 0};
}

// ---- operations on the registers ----

inline void setNZ(Registers& r, uint8_t value) {
    r.N = value & 0x80;
    r.Z = value == 0;
}

inline void lda(Registers& r, uint8_t value) { setNZ(r, r.AC = value); }
inline void ldx(Registers& r, uint8_t value) { setNZ(r, r.XR = value); }
inline void ldy(Registers& r, uint8_t value) { setNZ(r, r.YR = value); }
inline void ora(Registers& r, uint8_t value) { lda(r, r.AC | value); }
inline void andA(Registers& r, uint8_t value) { lda(r, r.AC & value); }
inline void eor(Registers& r, uint8_t value) { lda(r, r.AC ^ value); }

inline void bit(Registers& r, uint8_t value) {
    r.Z = (r.AC & value) == 0;
    r.N = value & 0x80;
    r.V = value & 0x40;
}

inline void compare(Registers& r, uint8_t registerValue, uint8_t value) {
    r.C = registerValue >= value;
    r.Z = registerValue == value;
    r.N = static_cast<uint8_t>(registerValue - value) & 0x80;
}
inline void cmp(Registers& r, uint8_t value) { compare(r, r.AC, value); }
inline void cpx(Registers& r, uint8_t value) { compare(r, r.XR, value); }
inline void cpy(Registers& r, uint8_t value) { compare(r, r.YR, value); }

inline void adcBinary(Registers& r, uint8_t value) {
    const unsigned sum = r.AC + value + (r.C ? 1 : 0);
    r.C = sum > 0xFF;
    r.V = (~(r.AC ^ value) & (r.AC ^ sum) & 0x80) != 0;
    lda(r, static_cast<uint8_t>(sum));
}

inline void adcDecimal(Registers& r, uint8_t value) {
    const unsigned carry = r.C ? 1 : 0;
    unsigned lo = (r.AC & 0x0F) + (value & 0x0F) + carry;
    unsigned hi = (r.AC >> 4) + (value >> 4) + (lo > 9 ? 1 : 0);
    if (lo > 9) lo += 6;
    r.Z = ((r.AC + value + carry) & 0xFF) == 0;
    r.N = hi & 0x08;
    r.V = ((hi << 4 ^ r.AC) & 0x80) != 0 && ((r.AC ^ value) & 0x80) == 0;
    if (hi > 9) hi += 6;
    r.C = hi > 15;
    r.AC = static_cast<uint8_t>(hi << 4 | (lo & 0x0F));
}

inline void adc(Registers& r, uint8_t value) { r.D ? adcDecimal(r, value) : adcBinary(r, value); }

inline void sbcBinary(Registers& r, uint8_t value) {
    const uint16_t diff = static_cast<uint16_t>(r.AC - value - (r.C ? 0 : 1));
    r.C = diff < 0x100;
    r.V = ((r.AC ^ value) & (r.AC ^ diff) & 0x80) != 0;
    lda(r, static_cast<uint8_t>(diff));
}

// The flags are those of the binary difference; only the accumulator takes the digit
// adjustment, a digit that borrowed losing 6 more.
inline void sbcDecimal(Registers& r, uint8_t value) {
    unsigned lo = (r.AC & 0x0Fu) - (value & 0x0Fu) - (r.C ? 0u : 1u);
    unsigned hi = (r.AC >> 4u) - (value >> 4u);
    if (lo & 0x10) {
        lo -= 6;
        --hi;
    }
    if (hi & 0x10) hi -= 6;
    sbcBinary(r, value);
    r.AC = static_cast<uint8_t>(hi << 4 | (lo & 0x0F));
}

inline void sbc(Registers& r, uint8_t value) { r.D ? sbcDecimal(r, value) : sbcBinary(r, value); }

inline uint8_t asl(Registers& r, uint8_t value) {
    r.C = value & 0x80;
    const uint8_t result = static_cast<uint8_t>(value << 1);
    setNZ(r, result);
    return result;
}
inline uint8_t lsr(Registers& r, uint8_t value) {
    r.C = value & 0x01;
    const uint8_t result = value >> 1;
    setNZ(r, result);
    return result;
}
inline uint8_t rol(Registers& r, uint8_t value) {
    const uint8_t result = static_cast<uint8_t>(value << 1 | (r.C ? 1 : 0));
    r.C = value & 0x80;
    setNZ(r, result);
    return result;
}
inline uint8_t ror(Registers& r, uint8_t value) {
    const uint8_t result = static_cast<uint8_t>(value >> 1 | (r.C ? 0x80 : 0));
    r.C = value & 0x01;
    setNZ(r, result);
    return result;
}
inline uint8_t inc(Registers& r, uint8_t value) {
    setNZ(r, ++value);
    return value;
}
inline uint8_t dec(Registers& r, uint8_t value) {
    setNZ(r, --value);
    return value;
}

// The undocumented read-modify-write pairs: a shift or step on memory, then an
// accumulator operation with the new value, the whole ADC and SBC included (the carry
// the rotate left, V, decimal mode).
template <uint8_t (*Step)(Registers&, uint8_t), void (*Then)(Registers&, uint8_t)>
inline uint8_t stepThen(Registers& r, uint8_t value) {
    value = Step(r, value);
    Then(r, value);
    return value;
}
constexpr auto aso = stepThen<asl, ora>;
constexpr auto ran = stepThen<rol, andA>;
constexpr auto lse = stepThen<lsr, eor>;
constexpr auto rad = stepThen<ror, adc>;
constexpr auto dem = stepThen<dec, cmp>;
constexpr auto inb = stepThen<inc, sbc>;

// ---- handlers ----

// What a handler returns: the cycles to add to the table's count, the page-crossing bit,
// or for a branch 1 when taken and 2 when taken to another page.
template <class Bus>
using Handler = uint8_t (*)(Registers&, Bus&);

// A bus may offer accesses to page zero of its own that skip the decoding the rest of its
// map needs; the zero-page modes take them.
template <Mode M>
constexpr bool zeroPageMode = M == zp || M == zpx || M == zpy;

template <class Bus, Mode M>
inline uint8_t readAt(Bus& bus, uint16_t address) {
    if constexpr (zeroPageMode<M> && requires { bus.readZeroPage(uint8_t{}); })
        return bus.readZeroPage(static_cast<uint8_t>(address));
    else
        return bus.read(address);
}

template <class Bus, Mode M>
inline void writeAt(Bus& bus, uint16_t address, uint8_t value) {
    if constexpr (zeroPageMode<M> && requires { bus.writeZeroPage(uint8_t{}, uint8_t{}); })
        bus.writeZeroPage(static_cast<uint8_t>(address), value);
    else
        bus.write(address, value);
}

template <class Bus, Mode M, void (*Op)(Registers&, uint8_t)>
uint8_t readOp(Registers& r, Bus& bus) {
    const Operand operand = effectiveAddress<Bus, M>(r, bus);
    Op(r, readAt<Bus, M>(bus, operand.address));
    r.PC += instructionLength(M);
    return operand.crossed;
}

template <class Bus, Mode M, uint8_t (*Value)(const Registers&)>
uint8_t storeOp(Registers& r, Bus& bus) {
    writeAt<Bus, M>(bus, effectiveAddress<Bus, M>(r, bus).address, Value(r));
    r.PC += instructionLength(M);
    return 0;
}

// One read and one write of the operand; the accumulator form works on AC.
template <class Bus, Mode M, uint8_t (*Op)(Registers&, uint8_t)>
uint8_t modifyOp(Registers& r, Bus& bus) {
    if constexpr (M == imp) {
        r.AC = Op(r, r.AC);
    } else {
        const uint16_t address = effectiveAddress<Bus, M>(r, bus).address;
        writeAt<Bus, M>(bus, address, Op(r, readAt<Bus, M>(bus, address)));
    }
    r.PC += instructionLength(M);
    return 0;
}

template <class Bus, void (*Op)(Registers&)>
uint8_t impliedOp(Registers& r, Bus&) {
    Op(r);
    r.PC += 1;
    return 0;
}

template <class Bus, void (*Op)(Registers&, Bus&)>
uint8_t stackOp(Registers& r, Bus& bus) {
    Op(r, bus);
    r.PC += 1;
    return 0;
}

// The undocumented no-operations read nothing except the abx forms, which read their
// operand word to find the page crossing.
template <class Bus, Mode M>
uint8_t skipOp(Registers& r, Bus& bus) {
    uint8_t crossed = 0;
    if constexpr (M == abx) crossed = effectiveAddress<Bus, abx>(r, bus).crossed;
    r.PC += instructionLength(M);
    return crossed;
}

template <class Bus, uint8_t Registers::*Flag, bool TakenWhenSet>
uint8_t branchOp(Registers& r, Bus& bus) {
    const uint16_t next = static_cast<uint16_t>(r.PC + 2);
    if ((r.*Flag != 0) != TakenWhenSet) {
        r.PC = next;
        return 0;
    }
    r.PC = static_cast<uint16_t>(next + static_cast<int8_t>(bus.read(static_cast<uint16_t>(next - 1))));
    return ((r.PC ^ next) & 0xFF00) ? 2 : 1;
}

template <uint8_t Registers::*Flag, uint8_t Value>
void setFlag(Registers& r) {
    r.*Flag = Value;
}

inline uint8_t acValue(const Registers& r) { return r.AC; }
inline uint8_t xrValue(const Registers& r) { return r.XR; }
inline uint8_t yrValue(const Registers& r) { return r.YR; }
inline uint8_t acAndXrValue(const Registers& r) { return r.AC & r.XR; }

inline void tax(Registers& r) { ldx(r, r.AC); }
inline void tay(Registers& r) { ldy(r, r.AC); }
inline void txa(Registers& r) { lda(r, r.XR); }
inline void tya(Registers& r) { lda(r, r.YR); }
inline void tsx(Registers& r) { ldx(r, r.SP); }
inline void txs(Registers& r) { r.SP = r.XR; }
inline void inx(Registers& r) { ldx(r, static_cast<uint8_t>(r.XR + 1)); }
inline void iny(Registers& r) { ldy(r, static_cast<uint8_t>(r.YR + 1)); }
inline void dex(Registers& r) { ldx(r, static_cast<uint8_t>(r.XR - 1)); }
inline void dey(Registers& r) { ldy(r, static_cast<uint8_t>(r.YR - 1)); }
template <class Bus>
void php(Registers& r, Bus& bus) {
    pushStatus(r, bus, true);
}
template <class Bus>
void plp(Registers& r, Bus& bus) {
    setStatusByte(r, pull(r, bus));
}
template <class Bus>
void pha(Registers& r, Bus& bus) {
    push(r, bus, r.AC);
}
template <class Bus>
void pla(Registers& r, Bus& bus) {
    lda(r, pull(r, bus));
}

template <class Bus>
uint8_t brk(Registers& r, Bus& bus) {
    pushWord(r, bus, static_cast<uint16_t>(r.PC + 2));
    pushStatus(r, bus, true);
    r.B = 0;
    r.I = 1;
    r.PC = readWord(bus, 0xFFFE);
    return 0;
}

template <class Bus>
uint8_t jsr(Registers& r, Bus& bus) {
    const uint16_t target = readWord(bus, static_cast<uint16_t>(r.PC + 1));
    pushWord(r, bus, static_cast<uint16_t>(r.PC + 2));
    r.PC = target;
    return 0;
}

template <class Bus>
uint8_t rts(Registers& r, Bus& bus) {
    r.PC = static_cast<uint16_t>(pullWord(r, bus) + 1);
    return 0;
}

template <class Bus>
uint8_t rti(Registers& r, Bus& bus) {
    setStatusByte(r, pull(r, bus));
    r.PC = pullWord(r, bus);
    return 0;
}

template <class Bus, Mode M>
uint8_t jmp(Registers& r, Bus& bus) {
    r.PC = effectiveAddress<Bus, M>(r, bus).address;
    return 0;
}

// A jam opcode stays on itself but clears I, so interrupts still come and return to it.
template <class Bus>
uint8_t jam(Registers& r, Bus&) {
    r.I = 0;
    return 0;
}

// The dispatched function: the mnemonic's work, then the base count plus the extra the
// table lets through, kept in lastCycle. Built per opcode, so the count is a constant
// inside the handler and the dispatch is one call.
template <class Bus, Handler<Bus> Run, uint8_t Cycles, uint8_t ExtraMask>
uint16_t counted(Bus& bus) {
    Registers& r = bus.registers();
    const uint8_t extra = Run(r, bus);
    return r.lastCycle = static_cast<uint16_t>(Cycles + (extra & ExtraMask));
}

}  // namespace core
}  // namespace cpu

namespace cpu {
namespace core {

inline void ldt(Registers& r, uint8_t value) { setNZ(r, r.AC = r.XR = value); }

// Undocumented immediate operations.
inline void ann(Registers& r, uint8_t value) {
    andA(r, value);
    r.C = r.N;
}
inline void anl(Registers& r, uint8_t value) {
    const uint8_t masked = r.AC & value;
    r.C = masked & 0x01;
    lda(r, masked >> 1);
}
// AND, then ROR of the result through C. In binary C is bit 6 of the result and V bit 6
// XOR bit 5; in decimal each digit of the AND is corrected as by ADC, and C is the high
// digit's carry. N and Z come from the rotated value before any correction.
inline void arr(Registers& r, uint8_t value) {
    const uint8_t masked = r.AC & value;
    uint8_t result = static_cast<uint8_t>(masked >> 1 | (r.C ? 0x80 : 0));
    setNZ(r, result);
    r.V = (masked ^ result) & 0x40;
    if (!r.D) {
        r.C = result & 0x40;
        r.AC = result;
        return;
    }
    if ((masked & 0x0F) + (masked & 0x01) > 5)
        result = static_cast<uint8_t>((result & 0xF0) | ((result + 6) & 0x0F));
    r.C = (masked & 0xF0) + (masked & 0x10) > 0x50;
    if (r.C) result = static_cast<uint8_t>(result + 0x60);
    r.AC = result;
}
inline void tan(Registers& r, uint8_t value) { lda(r, (r.AC | 0xEE) & value & r.XR); }
inline void anx(Registers& r, uint8_t value) { ldt(r, (r.AC | 0xEE) & value); }
inline void xas(Registers& r, uint8_t value) {
    const uint8_t masked = r.AC & r.XR;
    r.C = masked >= value;
    ldx(r, static_cast<uint8_t>(masked - value));
}
inline void tsa(Registers& r, uint8_t value) { ldt(r, r.SP &= value); }

inline uint8_t stackFromAcAndXr(const Registers& r) { return r.AC & r.XR; }

// The indexed stores of the $9x column the chip never finished: the value is ANDed with
// the high byte of the base address plus 1, and when the index carries into the next page
// the same value takes the place of the address's high byte. TAS also leaves AC AND XR in SP.
template <class Bus, Mode M, uint8_t (*Value)(const Registers&), bool SetsStack = false>
uint8_t storeHighOp(Registers& r, Bus& bus) {
    const Operand operand = effectiveAddress<Bus, M>(r, bus);
    if constexpr (SetsStack) r.SP = r.AC & r.XR;
    const uint8_t index = M == abx ? r.XR : r.YR;
    const uint8_t baseHigh = static_cast<uint8_t>((operand.address - index) >> 8);
    const uint8_t value = Value(r) & static_cast<uint8_t>(baseHigh + 1);
    const uint16_t address =
        operand.crossed ? static_cast<uint16_t>(value << 8 | (operand.address & 0xFF)) : operand.address;
    bus.write(address, value);
    r.PC += instructionLength(M);
    return 0;
}

// The table's mnemonics, each a handler template over the bus and the addressing mode.
// clang-format off
template <class B, Mode M> constexpr Handler<B> ORA = readOp<B, M, ora>;
template <class B, Mode M> constexpr Handler<B> AND = readOp<B, M, andA>;
template <class B, Mode M> constexpr Handler<B> EOR = readOp<B, M, eor>;
template <class B, Mode M> constexpr Handler<B> ADC = readOp<B, M, adc>;
template <class B, Mode M> constexpr Handler<B> SBC = readOp<B, M, sbc>;
template <class B, Mode M> constexpr Handler<B> CMP = readOp<B, M, cmp>;
template <class B, Mode M> constexpr Handler<B> CPX = readOp<B, M, cpx>;
template <class B, Mode M> constexpr Handler<B> CPY = readOp<B, M, cpy>;
template <class B, Mode M> constexpr Handler<B> BIT = readOp<B, M, bit>;
template <class B, Mode M> constexpr Handler<B> LDA = readOp<B, M, lda>;
template <class B, Mode M> constexpr Handler<B> LDX = readOp<B, M, ldx>;
template <class B, Mode M> constexpr Handler<B> LDY = readOp<B, M, ldy>;
template <class B, Mode M> constexpr Handler<B> LDT = readOp<B, M, ldt>;
template <class B, Mode M> constexpr Handler<B> ANN = readOp<B, M, ann>;
template <class B, Mode M> constexpr Handler<B> ANL = readOp<B, M, anl>;
template <class B, Mode M> constexpr Handler<B> TAN = readOp<B, M, tan>;
template <class B, Mode M> constexpr Handler<B> ANX = readOp<B, M, anx>;
template <class B, Mode M> constexpr Handler<B> XAS = readOp<B, M, xas>;
template <class B, Mode M> constexpr Handler<B> TSA = readOp<B, M, tsa>;
template <class B, Mode M> constexpr Handler<B> ARR = readOp<B, M, arr>;
template <class B, Mode M> constexpr Handler<B> STA = storeOp<B, M, acValue>;
template <class B, Mode M> constexpr Handler<B> STX = storeOp<B, M, xrValue>;
template <class B, Mode M> constexpr Handler<B> STY = storeOp<B, M, yrValue>;
template <class B, Mode M> constexpr Handler<B> AXX = storeOp<B, M, acAndXrValue>;
template <class B, Mode M> constexpr Handler<B> AXR = storeOp<B, M, acAndXrValue>;
template <class B, Mode M> constexpr Handler<B> AXY = storeOp<B, M, acAndXrValue>;
template <class B, Mode M> constexpr Handler<B> AAX = storeOp<B, M, acAndXrValue>;
template <class B, Mode M> constexpr Handler<B> ASL = modifyOp<B, M, asl>;
template <class B, Mode M> constexpr Handler<B> LSR = modifyOp<B, M, lsr>;
template <class B, Mode M> constexpr Handler<B> ROL = modifyOp<B, M, rol>;
template <class B, Mode M> constexpr Handler<B> ROR = modifyOp<B, M, ror>;
template <class B, Mode M> constexpr Handler<B> INC = modifyOp<B, M, inc>;
template <class B, Mode M> constexpr Handler<B> DEC = modifyOp<B, M, dec>;
template <class B, Mode M> constexpr Handler<B> ASO = modifyOp<B, M, aso>;
template <class B, Mode M> constexpr Handler<B> RAN = modifyOp<B, M, ran>;
template <class B, Mode M> constexpr Handler<B> LSE = modifyOp<B, M, lse>;
template <class B, Mode M> constexpr Handler<B> RAD = modifyOp<B, M, rad>;
template <class B, Mode M> constexpr Handler<B> DEM = modifyOp<B, M, dem>;
template <class B, Mode M> constexpr Handler<B> INB = modifyOp<B, M, inb>;
template <class B, Mode M> constexpr Handler<B> NOP = skipOp<B, M>;
template <class B, Mode M> constexpr Handler<B> NO1 = skipOp<B, M>;
template <class B, Mode M> constexpr Handler<B> NO2 = skipOp<B, M>;
template <class B, Mode M> constexpr Handler<B> NO3 = skipOp<B, M>;
template <class B, Mode M> constexpr Handler<B> JMP = jmp<B, M>;
template <class B, Mode M> constexpr Handler<B> AXI = storeHighOp<B, M, acAndXrValue>;
template <class B, Mode M> constexpr Handler<B> SHA = storeHighOp<B, M, acAndXrValue>;
template <class B, Mode M> constexpr Handler<B> SHX = storeHighOp<B, M, xrValue>;
template <class B, Mode M> constexpr Handler<B> SHY = storeHighOp<B, M, yrValue>;
template <class B, Mode M> constexpr Handler<B> AXS = storeHighOp<B, M, stackFromAcAndXr, true>;
template <class B, Mode> constexpr Handler<B> BRK = brk<B>;
template <class B, Mode> constexpr Handler<B> JSR = jsr<B>;
template <class B, Mode> constexpr Handler<B> RTS = rts<B>;
template <class B, Mode> constexpr Handler<B> RTI = rti<B>;
template <class B, Mode> constexpr Handler<B> ABS = jam<B>;
template <class B, Mode> constexpr Handler<B> PHP = stackOp<B, php<B>>;
template <class B, Mode> constexpr Handler<B> PLP = stackOp<B, plp<B>>;
template <class B, Mode> constexpr Handler<B> PHA = stackOp<B, pha<B>>;
template <class B, Mode> constexpr Handler<B> PLA = stackOp<B, pla<B>>;
template <class B, Mode> constexpr Handler<B> TAX = impliedOp<B, tax>;
template <class B, Mode> constexpr Handler<B> TAY = impliedOp<B, tay>;
template <class B, Mode> constexpr Handler<B> TXA = impliedOp<B, txa>;
template <class B, Mode> constexpr Handler<B> TYA = impliedOp<B, tya>;
template <class B, Mode> constexpr Handler<B> TSX = impliedOp<B, tsx>;
template <class B, Mode> constexpr Handler<B> TXS = impliedOp<B, txs>;
template <class B, Mode> constexpr Handler<B> INX = impliedOp<B, inx>;
template <class B, Mode> constexpr Handler<B> INY = impliedOp<B, iny>;
template <class B, Mode> constexpr Handler<B> DEX = impliedOp<B, dex>;
template <class B, Mode> constexpr Handler<B> DEY = impliedOp<B, dey>;
template <class B, Mode> constexpr Handler<B> CLC = impliedOp<B, setFlag<&Registers::C, 0>>;
template <class B, Mode> constexpr Handler<B> SEC = impliedOp<B, setFlag<&Registers::C, 1>>;
template <class B, Mode> constexpr Handler<B> CLI = impliedOp<B, setFlag<&Registers::I, 0>>;
template <class B, Mode> constexpr Handler<B> SEI = impliedOp<B, setFlag<&Registers::I, 1>>;
template <class B, Mode> constexpr Handler<B> CLD = impliedOp<B, setFlag<&Registers::D, 0>>;
template <class B, Mode> constexpr Handler<B> SED = impliedOp<B, setFlag<&Registers::D, 1>>;
template <class B, Mode> constexpr Handler<B> CLV = impliedOp<B, setFlag<&Registers::V, 0>>;
template <class B, Mode> constexpr Handler<B> BPL = branchOp<B, &Registers::N, false>;
template <class B, Mode> constexpr Handler<B> BMI = branchOp<B, &Registers::N, true>;
template <class B, Mode> constexpr Handler<B> BVC = branchOp<B, &Registers::V, false>;
template <class B, Mode> constexpr Handler<B> BVS = branchOp<B, &Registers::V, true>;
template <class B, Mode> constexpr Handler<B> BCC = branchOp<B, &Registers::C, false>;
template <class B, Mode> constexpr Handler<B> BCS = branchOp<B, &Registers::C, true>;
template <class B, Mode> constexpr Handler<B> BNE = branchOp<B, &Registers::Z, false>;
template <class B, Mode> constexpr Handler<B> BEQ = branchOp<B, &Registers::Z, true>;
// clang-format on

}  // namespace core

// One handler per opcode, each with its addressing inlined, built from the opcode table
// for the bus it runs on. (A template's name cannot be parenthesised.)
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define VARNOK_CORE_OPCODE(mnemonic, mode, cycles, extra) \
    core::counted<Bus, core::mnemonic<Bus, mode>, cycles, extra>,
template <class Bus>
inline constexpr Instruction<Bus> instructionTable[256] = {VARNOK_OPCODES(VARNOK_CORE_OPCODE)};
#undef VARNOK_CORE_OPCODE

// Runs the one instruction at PC and returns its cycles (kept in lastCycle too); one
// table dispatch.
template <class Bus>
inline uint16_t execute(Bus& bus) {
    return instructionTable<Bus>[bus.read(bus.registers().PC)](bus);
}

// An interrupt or reset entry: PC and the status (bit 4 clear) pushed, I set, PC from
// the vector.
template <class Bus>
inline void enterInterrupt(Bus& bus, uint16_t vector) {
    Registers& r = bus.registers();
    core::pushWord(r, bus, r.PC);
    core::pushStatus(r, bus, false);
    r.I = 1;
    r.PC = core::readWord(bus, vector);
}

}  // namespace cpu

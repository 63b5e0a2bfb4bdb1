#pragma once
// Addressing, stack and arithmetic helpers of the processor core. Header-only so the
// opcode handlers built from them inline into one function per opcode.
#include <cstdint>

#include "cpu/opcode_table.h"
#include "cpu/registers.h"
#include "ted/memory_map.h"

namespace cpu {

// A word through the memory map, the high byte from the next address (the operand
// words of the instructions, the vectors).
inline uint16_t readWord(uint16_t address) {
    return static_cast<uint16_t>(readMemory(address) | readMemory(static_cast<uint16_t>(address + 1)) << 8);
}

// A pointer's word: the chip adds 1 to the pointer's low byte alone, so a pointer at $xxFF
// takes its high byte from $xx00 (JMP ($10FF) reads $10FF and $1000, ($FF),Y reads $FF
// and $00).
inline uint16_t readPointer(uint16_t address) {
    const uint16_t next = static_cast<uint16_t>((address & 0xFF00) | ((address + 1) & 0x00FF));
    return static_cast<uint16_t>(readMemory(address) | readMemory(next) << 8);
}

// The stack lives in RAM page 1 and never reaches ROM or I/O.
inline void push(uint8_t value) { memory.ram[0x100 + reg.SP--] = value; }
inline uint8_t pull() { return memory.ram[0x100 + ++reg.SP]; }
inline void pushWord(uint16_t value) {
    push(static_cast<uint8_t>(value >> 8));
    push(static_cast<uint8_t>(value));
}
inline uint16_t pullWord() {
    uint8_t low = pull();
    return static_cast<uint16_t>(low | pull() << 8);
}

// The pushed status always has bit 5 set; bit 4 is set by PHP and BRK and clear for an
// interrupt, while B itself stays as PLP or RTI left it.
inline void pushStatus(bool breakBit) {
    const uint8_t status = packStatus();
    push(breakBit ? status | 0x10 : status & ~0x10);
}

struct Operand {
    uint16_t address;
    uint8_t crossed;  // the index carried into the next page
};

inline Operand indexed(uint16_t base, uint8_t index) {
    uint16_t address = static_cast<uint16_t>(base + index);
    return {address, static_cast<uint8_t>(((base ^ address) & 0xFF00) != 0)};
}

// The effective address of the instruction at PC; an immediate operand is read
// from its own address.
template <Mode M>
inline Operand effectiveAddress() {
    uint16_t at = static_cast<uint16_t>(reg.PC + 1);
    if constexpr (M == imm) return {at, 0};
    if constexpr (M == zp) return {readMemory(at), 0};
    if constexpr (M == zpx) return {static_cast<uint8_t>(readMemory(at) + reg.XR), 0};
    if constexpr (M == zpy) return {static_cast<uint8_t>(readMemory(at) + reg.YR), 0};
    if constexpr (M == abs) return {readWord(at), 0};
    if constexpr (M == abx) return indexed(readWord(at), reg.XR);
    if constexpr (M == aby) return indexed(readWord(at), reg.YR);
    if constexpr (M == izx) return {readPointer(static_cast<uint8_t>(readMemory(at) + reg.XR)), 0};
    if constexpr (M == izy) return indexed(readPointer(readMemory(at)), reg.YR);
    if constexpr (M == ind) return {readPointer(readWord(at)), 0};
}

inline void setNZ(uint8_t value) {
    reg.N = value & 0x80;
    reg.Z = value == 0;
}

// Loads and logic: the operand goes to a register, N and Z follow.
inline void lda(uint8_t value) { setNZ(reg.AC = value); }
inline void ldx(uint8_t value) { setNZ(reg.XR = value); }
inline void ldy(uint8_t value) { setNZ(reg.YR = value); }
inline void ldt(uint8_t value) { setNZ(reg.AC = reg.XR = value); }
inline void ora(uint8_t value) { lda(reg.AC | value); }
inline void andA(uint8_t value) { lda(reg.AC & value); }
inline void eor(uint8_t value) { lda(reg.AC ^ value); }

inline void bit(uint8_t value) {
    reg.Z = (reg.AC & value) == 0;
    reg.N = value & 0x80;
    reg.V = value & 0x40;
}

inline void compare(uint8_t registerValue, uint8_t value) {
    reg.C = registerValue >= value;
    reg.Z = registerValue == value;
    reg.N = static_cast<uint8_t>(registerValue - value) & 0x80;
}
inline void cmp(uint8_t value) { compare(reg.AC, value); }
inline void cpx(uint8_t value) { compare(reg.XR, value); }
inline void cpy(uint8_t value) { compare(reg.YR, value); }

inline void adcBinary(uint8_t value) {
    unsigned sum = reg.AC + value + (reg.C ? 1 : 0);
    reg.C = sum > 0xFF;
    reg.V = (~(reg.AC ^ value) & (reg.AC ^ sum) & 0x80) != 0;
    lda(static_cast<uint8_t>(sum));
}

inline void adcDecimal(uint8_t value) {
    unsigned carry = reg.C ? 1 : 0;
    unsigned lo = (reg.AC & 0x0F) + (value & 0x0F) + carry;
    unsigned hi = (reg.AC >> 4) + (value >> 4) + (lo > 9 ? 1 : 0);
    if (lo > 9) lo += 6;
    reg.Z = ((reg.AC + value + carry) & 0xFF) == 0;
    reg.N = hi & 0x08;
    reg.V = ((hi << 4 ^ reg.AC) & 0x80) != 0 && ((reg.AC ^ value) & 0x80) == 0;
    if (hi > 9) hi += 6;
    reg.C = hi > 15;
    reg.AC = static_cast<uint8_t>(hi << 4 | (lo & 0x0F));
}

inline void adc(uint8_t value) { reg.D ? adcDecimal(value) : adcBinary(value); }

inline void sbcBinary(uint8_t value) {
    uint16_t diff = static_cast<uint16_t>(reg.AC - value - (reg.C ? 0 : 1));
    reg.C = diff < 0x100;
    reg.V = ((reg.AC ^ value) & (reg.AC ^ diff) & 0x80) != 0;
    lda(static_cast<uint8_t>(diff));
}

// The flags are those of the binary difference; only the accumulator takes the digit
// adjustment, a digit that borrowed losing 6 more.
inline void sbcDecimal(uint8_t value) {
    unsigned lo = (reg.AC & 0x0Fu) - (value & 0x0Fu) - (reg.C ? 0u : 1u);
    unsigned hi = (reg.AC >> 4u) - (value >> 4u);
    if (lo & 0x10) {
        lo -= 6;
        --hi;
    }
    if (hi & 0x10) hi -= 6;
    sbcBinary(value);
    reg.AC = static_cast<uint8_t>(hi << 4 | (lo & 0x0F));
}

inline void sbc(uint8_t value) { reg.D ? sbcDecimal(value) : sbcBinary(value); }

// Shifts and increments: take the old value, set the flags, give the new value.
inline uint8_t asl(uint8_t value) {
    reg.C = value & 0x80;
    uint8_t result = static_cast<uint8_t>(value << 1);
    setNZ(result);
    return result;
}
inline uint8_t lsr(uint8_t value) {
    reg.C = value & 0x01;
    uint8_t result = value >> 1;
    setNZ(result);
    return result;
}
inline uint8_t rol(uint8_t value) {
    uint8_t result = static_cast<uint8_t>(value << 1 | (reg.C ? 1 : 0));
    reg.C = value & 0x80;
    setNZ(result);
    return result;
}
inline uint8_t ror(uint8_t value) {
    uint8_t result = static_cast<uint8_t>(value >> 1 | (reg.C ? 0x80 : 0));
    reg.C = value & 0x01;
    setNZ(result);
    return result;
}
inline uint8_t inc(uint8_t value) {
    setNZ(++value);
    return value;
}
inline uint8_t dec(uint8_t value) {
    setNZ(--value);
    return value;
}

// The undocumented read-modify-write pairs: a shift or step on memory, then an
// accumulator operation with the new value, the whole ADC and SBC included (the carry
// the rotate left, V, decimal mode).
template <uint8_t (*Step)(uint8_t), void (*Then)(uint8_t)>
inline uint8_t stepThen(uint8_t value) {
    value = Step(value);
    Then(value);
    return value;
}
constexpr auto aso = stepThen<asl, ora>;
constexpr auto ran = stepThen<rol, andA>;
constexpr auto lse = stepThen<lsr, eor>;
constexpr auto rad = stepThen<ror, adc>;
constexpr auto dem = stepThen<dec, cmp>;
constexpr auto inb = stepThen<inc, sbc>;

// Undocumented immediate operations.
inline void ann(uint8_t value) {
    andA(value);
    reg.C = reg.N;
}
inline void anl(uint8_t value) {
    uint8_t masked = reg.AC & value;
    reg.C = masked & 0x01;
    lda(masked >> 1);
}
// AND, then ROR of the result through C. In binary C is bit 6 of the result and V bit 6
// XOR bit 5; in decimal each digit of the AND is corrected as by ADC, and C is the high
// digit's carry. N and Z come from the rotated value before any correction.
inline void arr(uint8_t value) {
    const uint8_t masked = reg.AC & value;
    uint8_t result = static_cast<uint8_t>(masked >> 1 | (reg.C ? 0x80 : 0));
    setNZ(result);
    reg.V = (masked ^ result) & 0x40;
    if (!reg.D) {
        reg.C = result & 0x40;
        reg.AC = result;
        return;
    }
    if ((masked & 0x0F) + (masked & 0x01) > 5)
        result = static_cast<uint8_t>((result & 0xF0) | ((result + 6) & 0x0F));
    reg.C = (masked & 0xF0) + (masked & 0x10) > 0x50;
    if (reg.C) result = static_cast<uint8_t>(result + 0x60);
    reg.AC = result;
}
inline void tan(uint8_t value) { lda((reg.AC | 0xEE) & value & reg.XR); }
inline void anx(uint8_t value) { ldt((reg.AC | 0xEE) & value); }
inline void xas(uint8_t value) {
    uint8_t masked = reg.AC & reg.XR;
    reg.C = masked >= value;
    ldx(static_cast<uint8_t>(masked - value));
}
inline void tsa(uint8_t value) { ldt(reg.SP &= value); }

}  // namespace cpu

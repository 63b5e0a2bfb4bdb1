#pragma once
// An NMOS 6502 written apart from the core so the two can be compared: decoded by the
// opcode's aaabbbcc fields over a plain 64 KB array, the undocumented opcodes included as
// the chip runs them (cc = 11 is the cc = 01 operation and the cc = 10 one on the same
// address). Where the core keeps a rule of its own it is named at the place.

#include <cstdint>
#include <string>

namespace nmos {

enum Flag : uint8_t { C = 0x01, Z = 0x02, I = 0x04, D = 0x08, B = 0x10, U = 0x20, V = 0x40, N = 0x80 };

enum class Mode { none, imp, acc, imm, zp, zpx, zpy, abs, abx, aby, izx, izy, ind, rel };

// What an opcode is, or `valid` false for the twelve that jam the chip.
struct Decoded {
    bool valid = false;
    const char* name = "";
    Mode mode = Mode::none;
    bool special = false;  // outside the regular groups (control, stack, implied, branches)
};

Decoded decode(uint8_t opcode);

struct Cpu {
    uint16_t pc = 0;
    uint8_t a = 0, x = 0, y = 0, s = 0xFF, p = U;
    uint8_t* mem = nullptr;
    bool touchedIo = false;  // an access reached $0000-$0001 or $FD00-$FF3F

    // Runs one instruction; returns its cycles.
    int step();
    // The operand's address for the instruction at pc, without side effects.
    uint16_t operandAddress();

private:
    uint8_t read(uint16_t address);
    void write(uint16_t address, uint8_t value);
    uint16_t word(uint16_t address);
    void push(uint8_t value) { mem[0x100 + s--] = value; }
    uint8_t pull() { return mem[0x100 + ++s]; }
    void flag(uint8_t bit, bool on) { p = on ? uint8_t(p | bit) : uint8_t(p & ~bit); }
    void nz(uint8_t value) {
        flag(N, value & 0x80);
        flag(Z, value == 0);
    }
    uint16_t address(Mode mode, bool& crossed);
    void adc(uint8_t m);
    void sbc(uint8_t m);
    void arr(uint8_t m);
    void compare(uint8_t r, uint8_t m);
    void accumulate(int aaa, uint8_t m);
    uint8_t modify(int aaa, uint8_t value);
    void immediate(int aaa, uint8_t m);
    void storeHigh(const std::string& name, Mode mode);
    void execute(uint8_t opcode, const Decoded& d, uint16_t effective);
    int special(uint8_t opcode);
};

}  // namespace nmos

#include "nmos_reference.h"

#include <initializer_list>

namespace nmos {
namespace {

// cc = 01: eight operations over eight modes.
const char* const group1[8] = {"ORA", "AND", "EOR", "ADC", "STA", "LDA", "CMP", "SBC"};
const Mode group1Modes[8] = {Mode::izx, Mode::zp,  Mode::imm, Mode::abs,
                             Mode::izy, Mode::zpx, Mode::aby, Mode::abx};
// cc = 10: shifts, X transfers, increments.
const char* const group2[8] = {"ASL", "ROL", "LSR", "ROR", "STX", "LDX", "DEC", "INC"};
// cc = 00: BIT, the Y register and the X compare.
const char* const group0[8] = {"", "BIT", "", "", "STY", "LDY", "CPY", "CPX"};
// cc = 11: both of the other groups at once; the immediate column has its own set.
const char* const group3[8] = {"SLO", "RLA", "SRE", "RRA", "SAX", "LAX", "DCP", "ISC"};
const char* const group3Immediate[8] = {"ANC", "ANC", "ALR", "ARR", "ANE", "LXA", "SBX", "SBC"};
// Where cc = 00 and cc = 10 decode no operation, the bbb field still picks the addressing.
const Mode skipModes[8] = {Mode::imm,  Mode::zp,  Mode::imm, Mode::abs,
                           Mode::none, Mode::zpx, Mode::imp, Mode::abx};

struct Special {
    uint8_t opcode;
    const char* name;
    Mode mode;
};
const Special specials[] = {
    {0x00, "BRK", Mode::imp}, {0x20, "JSR", Mode::abs}, {0x40, "RTI", Mode::imp}, {0x60, "RTS", Mode::imp},
    {0x08, "PHP", Mode::imp}, {0x28, "PLP", Mode::imp}, {0x48, "PHA", Mode::imp}, {0x68, "PLA", Mode::imp},
    {0x88, "DEY", Mode::imp}, {0xA8, "TAY", Mode::imp}, {0xC8, "INY", Mode::imp}, {0xE8, "INX", Mode::imp},
    {0x18, "CLC", Mode::imp}, {0x38, "SEC", Mode::imp}, {0x58, "CLI", Mode::imp}, {0x78, "SEI", Mode::imp},
    {0x98, "TYA", Mode::imp}, {0xB8, "CLV", Mode::imp}, {0xD8, "CLD", Mode::imp}, {0xF8, "SED", Mode::imp},
    {0x8A, "TXA", Mode::imp}, {0x9A, "TXS", Mode::imp}, {0xAA, "TAX", Mode::imp}, {0xBA, "TSX", Mode::imp},
    {0xCA, "DEX", Mode::imp}, {0xEA, "NOP", Mode::imp}, {0x4C, "JMP", Mode::abs}, {0x6C, "JMP", Mode::ind},
    {0x10, "BPL", Mode::rel}, {0x30, "BMI", Mode::rel}, {0x50, "BVC", Mode::rel}, {0x70, "BVS", Mode::rel},
    {0x90, "BCC", Mode::rel}, {0xB0, "BCS", Mode::rel}, {0xD0, "BNE", Mode::rel}, {0xF0, "BEQ", Mode::rel},
};

Mode group2Mode(int aaa, int bbb) {
    const bool xRegister = aaa == 4 || aaa == 5;  // STX and LDX index with Y
    switch (bbb) {
        case 0:
            return aaa == 5 ? Mode::imm : Mode::none;
        case 1:
            return Mode::zp;
        case 2:
            return aaa < 4 ? Mode::acc : Mode::none;
        case 3:
            return Mode::abs;
        case 5:
            return xRegister ? Mode::zpy : Mode::zpx;
        case 7:
            return aaa == 4 ? Mode::none : aaa == 5 ? Mode::aby : Mode::abx;
        default:
            return Mode::none;
    }
}

Mode group0Mode(int aaa, int bbb) {
    if (group0[aaa][0] == 0) return Mode::none;
    switch (bbb) {
        case 0:
            return aaa >= 5 ? Mode::imm : Mode::none;
        case 1:
            return Mode::zp;
        case 3:
            return Mode::abs;
        case 5:
            return aaa == 4 || aaa == 5 ? Mode::zpx : Mode::none;
        case 7:
            return aaa == 5 ? Mode::abx : Mode::none;
        default:
            return Mode::none;
    }
}

// cc = 11. The column of the $9x/$Bx stores and loads through (zp),Y and abs,Y is where
// the chip's two halves disagree: those are decoded by name.
Decoded group3Decode(uint8_t opcode, int aaa, int bbb) {
    switch (opcode) {
        case 0x93:
            return {true, "SHA", Mode::izy};
        case 0x9B:
            return {true, "TAS", Mode::aby};
        case 0x9F:
            return {true, "SHA", Mode::aby};
        case 0xBB:
            return {true, "LAS", Mode::aby};
        default:
            break;
    }
    if (bbb == 2) return {true, group3Immediate[aaa], Mode::imm};
    Mode mode = group1Modes[bbb];
    if (aaa == 4 || aaa == 5) mode = mode == Mode::zpx ? Mode::zpy : mode == Mode::abx ? Mode::aby : mode;
    return {true, group3[aaa], mode};
}

bool isOneOf(const std::string& name, std::initializer_list<const char*> names) {
    for (const char* n : names)
        if (name == n) return true;
    return false;
}
bool isStore(const std::string& name) {
    return isOneOf(name, {"STA", "STX", "STY", "SAX", "SHA", "SHX", "SHY", "TAS"});
}
bool isModify(const std::string& name) {
    return isOneOf(name,
                   {"ASL", "ROL", "LSR", "ROR", "DEC", "INC", "SLO", "RLA", "SRE", "RRA", "DCP", "ISC"});
}

int length(Mode mode) {
    switch (mode) {
        case Mode::imp:
        case Mode::acc:
            return 1;
        case Mode::abs:
        case Mode::abx:
        case Mode::aby:
        case Mode::ind:
            return 3;
        default:
            return 2;
    }
}

// Published cycle counts by kind of operation and mode; `crossed` adds the page cycle
// where a read pays it.
int cycles(const std::string& name, Mode mode, bool crossed) {
    const int page = crossed ? 1 : 0;
    if (isModify(name)) {
        switch (mode) {
            case Mode::acc:
                return 2;
            case Mode::zp:
                return 5;
            case Mode::zpx:
            case Mode::abs:
                return 6;
            case Mode::abx:
            case Mode::aby:
                return 7;
            default:
                return 8;  // izx, izy
        }
    }
    const bool store = isStore(name);
    switch (mode) {
        case Mode::imp:
        case Mode::imm:
            return 2;
        case Mode::zp:
            return 3;
        case Mode::zpx:
        case Mode::zpy:
        case Mode::abs:
            return 4;
        case Mode::abx:
        case Mode::aby:
            return store ? 5 : 4 + page;
        case Mode::izx:
            return 6;
        case Mode::izy:
            return store ? 6 : 5 + page;
        default:
            return 0;
    }
}

}  // namespace

Decoded decode(uint8_t opcode) {
    for (const Special& s : specials)
        if (s.opcode == opcode) return {true, s.name, s.mode, true};
    const int aaa = opcode >> 5, bbb = (opcode >> 2) & 7;
    Mode mode = Mode::none;
    switch (opcode & 3) {
        case 1:
            if (opcode == 0x89) break;  // no STA immediate
            return {true, group1[aaa], group1Modes[bbb]};
        case 2:
            if (bbb == 4 || (bbb == 0 && aaa < 4)) return {};  // the jams
            if (opcode == 0x9E) return {true, "SHX", Mode::aby};
            mode = group2Mode(aaa, bbb);
            if (mode != Mode::none) return {true, group2[aaa], mode};
            break;
        case 0:
            if (opcode == 0x9C) return {true, "SHY", Mode::abx};
            mode = group0Mode(aaa, bbb);
            if (mode != Mode::none) return {true, group0[aaa], mode};
            break;
        default:
            return group3Decode(opcode, aaa, bbb);
    }
    return {true, "NOP", skipModes[bbb]};
}

uint8_t Cpu::read(uint16_t address) {
    if (address < 2 || (address >= 0xFD00 && address <= 0xFF3F)) touchedIo = true;
    return mem[address];
}

void Cpu::write(uint16_t address, uint8_t value) {
    if (address < 2 || (address >= 0xFD00 && address <= 0xFF3F)) touchedIo = true;
    mem[address] = value;
}

uint16_t Cpu::word(uint16_t address) { return uint16_t(read(address) | read(uint16_t(address + 1)) << 8); }

// The chip adds 1 to a pointer's low byte only: zero-page pointers wrap within page zero
// and JMP's pointer within its page.
uint16_t Cpu::address(Mode mode, bool& crossed) {
    const uint16_t at = uint16_t(pc + 1);
    crossed = false;
    auto indexed = [&crossed](uint16_t base, uint8_t index) {
        const uint16_t effective = uint16_t(base + index);
        crossed = (base ^ effective) & 0xFF00;
        return effective;
    };
    switch (mode) {
        case Mode::imm:
            return at;
        case Mode::zp:
            return read(at);
        case Mode::zpx:
            return uint8_t(read(at) + x);
        case Mode::zpy:
            return uint8_t(read(at) + y);
        case Mode::abs:
            return word(at);
        case Mode::abx:
            return indexed(word(at), x);
        case Mode::aby:
            return indexed(word(at), y);
        case Mode::izx: {
            const uint8_t pointer = uint8_t(read(at) + x);
            return uint16_t(read(pointer) | read(uint8_t(pointer + 1)) << 8);
        }
        case Mode::izy: {
            const uint8_t pointer = read(at);
            return indexed(uint16_t(read(pointer) | read(uint8_t(pointer + 1)) << 8), y);
        }
        case Mode::ind: {
            const uint16_t pointer = word(at);
            return uint16_t(read(pointer) | read(uint16_t((pointer & 0xFF00) | uint8_t(pointer + 1))) << 8);
        }
        default:
            return 0;
    }
}

uint16_t Cpu::operandAddress() {
    const bool io = touchedIo;
    bool crossed = false;
    const uint16_t result = address(decode(mem[pc]).mode, crossed);
    touchedIo = io;
    return result;
}

void Cpu::adc(uint8_t m) {
    const int carry = p & C;
    if (!(p & D)) {
        const int sum = a + m + carry;
        flag(V, ~(a ^ m) & (a ^ sum) & 0x80);
        flag(C, sum > 0xFF);
        a = uint8_t(sum);
        nz(a);
        return;
    }
    int lo = (a & 0x0F) + (m & 0x0F) + carry;
    if (lo > 9) lo += 6;
    int hi = (a >> 4) + (m >> 4) + (lo > 0x0F ? 1 : 0);
    flag(Z, ((a + m + carry) & 0xFF) == 0);  // Z from the binary sum, N and V before the high adjust
    flag(N, hi & 0x08);
    flag(V, ~(a ^ m) & (a ^ (hi << 4)) & 0x80);
    if (hi > 9) hi += 6;
    flag(C, hi > 0x0F);
    a = uint8_t(hi << 4 | (lo & 0x0F));
}

// Every flag comes from the binary difference; in decimal only the accumulator differs.
void Cpu::sbc(uint8_t m) {
    const int borrow = (p & C) ? 0 : 1;
    const int difference = a - m - borrow;
    int result = difference;
    if (p & D) {
        int low = (a & 0x0F) - (m & 0x0F) - borrow;
        if (low < 0) low = ((low - 6) & 0x0F) - 0x10;
        result = (a & 0xF0) - (m & 0xF0) + low;
        if (result < 0) result -= 0x60;
    }
    flag(V, (a ^ m) & (a ^ difference) & 0x80);
    flag(C, difference >= 0);
    nz(uint8_t(difference));
    a = uint8_t(result);
}

// AND, then ROR through C. N is the old C and Z and V come from the rotated byte; in
// decimal each nibble of the AND is corrected on its own and the high one sets C.
void Cpu::arr(uint8_t m) {
    const uint8_t t = a & m;
    const bool carryIn = p & C;
    a = uint8_t(t >> 1 | (carryIn ? 0x80 : 0));
    flag(N, carryIn);
    flag(Z, a == 0);
    flag(V, ((a >> 6) ^ (a >> 5)) & 1);
    if (!(p & D)) {
        flag(C, a & 0x40);
        return;
    }
    const int low = t & 0x0F, high = t >> 4;
    if (low + (low & 1) > 5) a = uint8_t((a & 0xF0) | ((a + 6) & 0x0F));
    const bool carry = high + (high & 1) > 5;
    if (carry) a = uint8_t(a + 0x60);
    flag(C, carry);
}

void Cpu::compare(uint8_t r, uint8_t m) {
    flag(C, r >= m);
    flag(Z, r == m);
    flag(N, uint8_t(r - m) & 0x80);
}

// The cc = 01 operations on the accumulator (not STA).
void Cpu::accumulate(int aaa, uint8_t m) {
    switch (aaa) {
        case 0:
            nz(a |= m);
            break;
        case 1:
            nz(a &= m);
            break;
        case 2:
            nz(a ^= m);
            break;
        case 3:
            adc(m);
            break;
        case 5:
            nz(a = m);
            break;
        case 6:
            compare(a, m);
            break;
        default:
            sbc(m);
            break;
    }
}

// The cc = 10 read-modify-write operations: ASL ROL LSR ROR, DEC (6) and INC (7).
uint8_t Cpu::modify(int aaa, uint8_t value) {
    const int carryIn = p & C;
    uint8_t result = 0;
    switch (aaa) {
        case 0:
            result = uint8_t(value << 1);
            flag(C, value & 0x80);
            break;
        case 1:
            result = uint8_t(value << 1 | carryIn);
            flag(C, value & 0x80);
            break;
        case 2:
            result = uint8_t(value >> 1);
            flag(C, value & 1);
            break;
        case 3:
            result = uint8_t(value >> 1 | carryIn << 7);
            flag(C, value & 1);
            break;
        default:
            result = uint8_t(aaa == 6 ? value - 1 : value + 1);
            break;
    }
    nz(result);
    return result;
}

// The cc = 11 immediates. ANE and LXA OR the accumulator with a constant that varies from
// chip to chip; the core and this model both take $EE.
void Cpu::immediate(int aaa, uint8_t m) {
    switch (aaa) {
        case 0:
        case 1:
            nz(a &= m);
            flag(C, a & 0x80);
            break;
        case 2:
            a &= m;
            flag(C, a & 1);
            nz(a >>= 1);
            break;
        case 3:
            arr(m);
            break;
        case 4:
            nz(a = uint8_t((a | 0xEE) & x & m));
            break;
        case 5:
            nz(a = x = uint8_t((a | 0xEE) & m));
            break;
        case 6:
            flag(C, (a & x) >= m);
            nz(x = uint8_t((a & x) - m));
            break;
        default:
            sbc(m);
            break;
    }
}

// SHA, SHX, SHY and TAS store their register(s) ANDed with the base address's high byte + 1;
// when the index carries, that byte also replaces the high byte of the address written.
void Cpu::storeHigh(const std::string& name, Mode mode) {
    const uint8_t operand = read(uint16_t(pc + 1));
    const uint16_t base = mode == Mode::izy ? uint16_t(read(operand) | read(uint8_t(operand + 1)) << 8)
                                            : uint16_t(operand | read(uint16_t(pc + 2)) << 8);
    const uint8_t index = mode == Mode::abx ? x : y;
    if (name == "TAS") s = a & x;
    const uint8_t source = name == "SHX" ? x : name == "SHY" ? y : name == "TAS" ? s : uint8_t(a & x);
    const uint8_t value = source & uint8_t((base >> 8) + 1);
    uint16_t target = uint16_t(base + index);
    if ((base & 0xFF) + index > 0xFF) target = uint16_t(value << 8 | (target & 0xFF));
    write(target, value);
}

void Cpu::execute(uint8_t opcode, const Decoded& d, uint16_t effective) {
    const int aaa = opcode >> 5;
    const std::string name = d.name;
    if (name == "NOP") return;
    if (isOneOf(name, {"SHA", "SHX", "SHY", "TAS"})) return storeHigh(name, d.mode);
    switch (opcode & 3) {
        case 1:
            if (name == "STA")
                write(effective, a);
            else
                accumulate(aaa, read(effective));
            return;
        case 2:
            if (name == "STX")
                write(effective, x);
            else if (name == "LDX")
                nz(x = read(effective));
            else if (d.mode == Mode::acc)
                a = modify(aaa, a);
            else
                write(effective, modify(aaa, read(effective)));
            return;
        case 3:
            if (d.mode == Mode::imm) {
                immediate(aaa, read(effective));
            } else if (name == "SAX") {
                write(effective, a & x);
            } else if (name == "LAX") {
                nz(a = x = read(effective));
            } else if (name == "LAS") {
                nz(a = x = s = read(effective) & s);
            } else {
                const uint8_t result = modify(aaa, read(effective));
                write(effective, result);
                accumulate(aaa, result);
            }
            return;
        default:
            break;
    }
    switch (aaa) {
        case 1: {
            const uint8_t m = read(effective);
            flag(Z, (a & m) == 0);
            flag(N, m & 0x80);
            flag(V, m & 0x40);
            break;
        }
        case 4:
            write(effective, y);
            break;
        case 5:
            nz(y = read(effective));
            break;
        case 6:
            compare(y, read(effective));
            break;
        default:
            compare(x, read(effective));
            break;
    }
}

// The opcodes outside the regular groups; returns their cycles.
int Cpu::special(uint8_t opcode) {
    if ((opcode & 0x1F) == 0x10) {
        static const uint8_t tested[4] = {N, V, C, Z};
        const bool taken = ((p & tested[opcode >> 6]) != 0) == ((opcode & 0x20) != 0);
        const uint16_t next = uint16_t(pc + 2);
        if (!taken) {
            pc = next;
            return 2;
        }
        pc = uint16_t(next + int8_t(read(uint16_t(pc + 1))));
        return (pc ^ next) & 0xFF00 ? 4 : 3;
    }
    switch (opcode) {
        case 0x00:
            push(uint8_t((pc + 2) >> 8));
            push(uint8_t(pc + 2));
            push(p | B | U);
            p = uint8_t((p | I) & ~B);  // the core keeps B as a flag of its own and clears it here
            pc = word(0xFFFE);
            return 7;
        case 0x20: {
            const uint16_t target = word(uint16_t(pc + 1));
            push(uint8_t((pc + 2) >> 8));
            push(uint8_t(pc + 2));
            pc = target;
            return 6;
        }
        case 0x40:
            p = uint8_t(pull() & ~U);
            pc = pull();
            pc |= uint16_t(pull() << 8);
            return 6;
        case 0x60:
            pc = pull();
            pc = uint16_t((pc | pull() << 8) + 1);
            return 6;
        case 0x4C:
            pc = word(uint16_t(pc + 1));
            return 3;
        case 0x6C: {
            bool crossed = false;
            pc = address(Mode::ind, crossed);
            return 5;
        }
        default:
            break;
    }
    int result = 2;
    switch (opcode) {
        case 0x08:
            push(p | B | U);
            result = 3;
            break;
        case 0x28:
            p = uint8_t(pull() & ~U);
            result = 4;
            break;
        case 0x48:
            push(a);
            result = 3;
            break;
        case 0x68:
            a = pull();
            nz(a);
            result = 4;
            break;
        case 0x88:
            nz(--y);
            break;
        case 0xA8:
            nz(y = a);
            break;
        case 0xC8:
            nz(++y);
            break;
        case 0xE8:
            nz(++x);
            break;
        case 0x18:
            flag(C, false);
            break;
        case 0x38:
            flag(C, true);
            break;
        case 0x58:
            flag(I, false);
            break;
        case 0x78:
            flag(I, true);
            break;
        case 0x98:
            nz(a = y);
            break;
        case 0xB8:
            flag(V, false);
            break;
        case 0xD8:
            flag(D, false);
            break;
        case 0xF8:
            flag(D, true);
            break;
        case 0x8A:
            nz(a = x);
            break;
        case 0x9A:
            s = x;
            break;
        case 0xAA:
            nz(x = a);
            break;
        case 0xBA:
            nz(x = s);
            break;
        case 0xCA:
            nz(--x);
            break;
        default:
            break;  // NOP
    }
    pc = uint16_t(pc + 1);
    return result;
}

int Cpu::step() {
    const uint8_t opcode = read(pc);
    const Decoded d = decode(opcode);
    if (d.special) return special(opcode);
    bool crossed = false;
    const bool addressed = d.mode != Mode::acc && d.mode != Mode::imp;
    const uint16_t effective = addressed ? address(d.mode, crossed) : 0;
    execute(opcode, d, effective);
    pc = uint16_t(pc + length(d.mode));
    return cycles(d.name, d.mode, crossed);
}

}  // namespace nmos

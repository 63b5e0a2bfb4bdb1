#include "nmos_reference.h"

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

bool isStore(const char* name) { return name[0] == 'S' && name[1] == 'T'; }
bool isModify(const char* name) {
    const std::string n = name;
    return n == "ASL" || n == "ROL" || n == "LSR" || n == "ROR" || n == "DEC" || n == "INC";
}

// Published cycle counts by kind of operation and mode; `crossed` adds the page cycle
// where a read pays it.
int cycles(const char* name, Mode mode, bool crossed) {
    const int page = crossed ? 1 : 0;
    if (isModify(name)) {
        switch (mode) {
            case Mode::acc:
                return 2;
            case Mode::zp:
                return 5;
            case Mode::zpx:
                return 6;
            case Mode::abs:
                return 6;
            default:
                return 7;  // abx
        }
    }
    const bool store = isStore(name);
    switch (mode) {
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
    switch (opcode & 3) {
        case 1:
            if (opcode == 0x89) return {};  // no STA immediate
            return {true, group1[aaa], group1Modes[bbb]};
        case 2: {
            const Mode mode = group2Mode(aaa, bbb);
            return mode == Mode::none ? Decoded{} : Decoded{true, group2[aaa], mode};
        }
        case 0: {
            const Mode mode = group0Mode(aaa, bbb);
            return mode == Mode::none ? Decoded{} : Decoded{true, group0[aaa], mode};
        }
        default:
            return {};
    }
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

// Zero-page pointers wrap within page zero and JMP's pointer within its page on the chip;
// the core carries both into the next page, so the comparison leaves pointers at $xxFF out.
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

void Cpu::sbc(uint8_t m) {
    const int borrow = (p & C) ? 0 : 1;
    const int difference = a - m - borrow;
    if (!(p & D)) {
        flag(V, (a ^ m) & (a ^ difference) & 0x80);
        flag(C, difference >= 0);
        a = uint8_t(difference);
        nz(a);
        return;
    }
    int lo = (a & 0x0F) - (m & 0x0F) - borrow;
    int hi = (a >> 4) - (m >> 4);
    if (lo < 0) {
        lo -= 6;
        --hi;
    }
    if (hi < 0) hi -= 6;
    flag(C, difference >= 0);
    a = uint8_t(hi << 4 | (lo & 0x0F));
    // The chip takes N, V and Z from the binary difference; the core takes N and Z from the
    // decimal result and leaves V, and the comparison follows the core there.
    nz(a);
}

void Cpu::compare(uint8_t r, uint8_t m) {
    flag(C, r >= m);
    flag(Z, r == m);
    flag(N, uint8_t(r - m) & 0x80);
}

uint8_t Cpu::shift(int aaa, uint8_t value) {
    const int carryIn = p & C;
    uint8_t result = 0;
    switch (aaa) {
        case 0:
            result = uint8_t(value << 1);
            flag(C, value & 0x80);
            break;  // ASL
        case 1:
            result = uint8_t(value << 1 | carryIn);
            flag(C, value & 0x80);
            break;  // ROL
        case 2:
            result = uint8_t(value >> 1);
            flag(C, value & 1);
            break;  // LSR
        default:
            result = uint8_t(value >> 1 | carryIn << 7);
            flag(C, value & 1);
            break;  // ROR
    }
    nz(result);
    return result;
}

// The opcodes outside the three regular groups; returns their cycles.
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
    const int aaa = opcode >> 5;
    if (d.special) return special(opcode);
    bool crossed = false;
    const uint16_t effective = d.mode == Mode::acc ? 0 : address(d.mode, crossed);
    const int length = d.mode == Mode::acc                                                 ? 1
                       : d.mode == Mode::abs || d.mode == Mode::abx || d.mode == Mode::aby ? 3
                                                                                           : 2;
    const std::string name = d.name;
    if ((opcode & 3) == 1) {
        if (name == "STA") {
            write(effective, a);
        } else {
            const uint8_t m = read(effective);
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
    } else if ((opcode & 3) == 2) {
        if (name == "STX") {
            write(effective, x);
        } else if (name == "LDX") {
            nz(x = read(effective));
        } else if (d.mode == Mode::acc) {
            a = shift(aaa, a);
        } else {
            const uint8_t m = read(effective);
            uint8_t result = 0;
            if (aaa < 4)
                result = shift(aaa, m);
            else
                nz(result = uint8_t(aaa == 6 ? m - 1 : m + 1));
            write(effective, result);
        }
    } else {
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
    pc = uint16_t(pc + length);
    return cycles(d.name, d.mode, crossed);
}

}  // namespace nmos

// Every opcode but the jams against an independent NMOS 6502 model: random registers, flags,
// operands and addresses, in binary and in decimal; registers, the status as a program sees
// it through PHP/PLA, all 64 KB of memory and the cycles must agree.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "nmos_reference.h"
#include "support/cpu_helpers.h"

namespace {

constexpr int casesPerOpcode = 400;
constexpr uint16_t statusProbe = 0x0200;  // PHP; PLA run here after the instruction

std::vector<uint8_t> modelledOpcodes() {
    std::vector<uint8_t> opcodes;
    for (int op = 0; op < 256; ++op)
        if (nmos::decode(uint8_t(op)).valid) opcodes.push_back(uint8_t(op));
    return opcodes;
}

// The opcodes that look at D.
bool arithmetic(const nmos::Decoded& d) {
    for (const char* name : {"ADC", "SBC", "RRA", "ISC", "ARR"})
        if (std::string(d.name) == name) return true;
    return false;
}
uint8_t randomBcd(std::mt19937& random) { return uint8_t((random() % 10) << 4 | random() % 10); }
bool usesMemoryOperand(nmos::Mode m) {
    return m != nmos::Mode::imp && m != nmos::Mode::acc && m != nmos::Mode::rel && m != nmos::Mode::ind;
}

std::string hex(unsigned value, int digits) {
    char text[8];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

class Conformance : public ::testing::TestWithParam<uint8_t> {
protected:
    void SetUp() override {
        resetCpuMachine();
        random.seed(GetParam());
        for (uint32_t a = 0; a < 0x10000; ++a) memory.ram[a] = uint8_t(random());
        model.assign(memory.ram, memory.ram + 0x10000);
    }

    void poke2(uint16_t address, uint8_t value) { memory.ram[address] = model[address] = value; }
    uint8_t edgeOrRandom() {
        static const uint8_t edges[] = {0x00, 0x01, 0x7F, 0x80, 0xFF};
        return random() % 4 == 0 ? edges[random() % 5] : uint8_t(random());
    }

    // Lays out one random case for the opcode in both machines; returns the model's CPU.
    nmos::Cpu arrange(uint8_t opcode) {
        const nmos::Decoded d = nmos::decode(opcode);
        nmos::Cpu cpu;
        cpu.mem = model.data();
        cpu.pc = uint16_t(0x0210 + random() % (0xFC00 - 0x0210));
        cpu.a = edgeOrRandom(), cpu.x = edgeOrRandom(), cpu.y = edgeOrRandom();
        cpu.s = uint8_t(random());
        cpu.p = uint8_t(random() | nmos::U);
        // JMP's pointer at $xxFF now and then, where the chip wraps within the page. (A zero-page
        // pointer at $FF reads $0000, the processor port: its wrap is checked on its own.)
        const bool pagesEnd = d.mode == nmos::Mode::ind && random() % 8 == 0;
        const uint8_t operand = pagesEnd ? 0xFF : uint8_t(random());
        poke2(cpu.pc, opcode);
        poke2(uint16_t(cpu.pc + 1), operand);
        poke2(uint16_t(cpu.pc + 2), uint8_t(random()));
        if (!usesMemoryOperand(d.mode)) return cpu;
        const uint16_t operandAt = cpu.operandAddress();
        const bool insideInstruction = uint16_t(operandAt - cpu.pc) < 3 && d.mode != nmos::Mode::imm;
        if (insideInstruction || (operandAt >= 0xFD00 && operandAt <= 0xFF3F)) return cpu;
        if (arithmetic(d) && (cpu.p & nmos::D) && random() % 2) {
            cpu.a = randomBcd(random);
            poke2(operandAt, randomBcd(random));
        } else {
            poke2(operandAt, edgeOrRandom());
        }
        return cpu;
    }

    // The first difference between the core and the model after one instruction, or "".
    std::string compare(const nmos::Cpu& cpu, int modelCycles, uint16_t coreCycles) {
        if (reg.PC != cpu.pc) return "PC " + hex(reg.PC, 4) + " instead of " + hex(cpu.pc, 4);
        if (reg.AC != cpu.a || reg.XR != cpu.x || reg.YR != cpu.y || reg.SP != cpu.s)
            return "registers " + hex(reg.AC, 2) + " " + hex(reg.XR, 2) + " " + hex(reg.YR, 2) + " " +
                   hex(reg.SP, 2) + " instead of " + hex(cpu.a, 2) + " " + hex(cpu.x, 2) + " " +
                   hex(cpu.y, 2) + " " + hex(cpu.s, 2);
        for (uint32_t a = 0; a < 0x10000; ++a)
            if (memory.ram[a] != model[a])
                return "memory " + hex(a, 4) + " " + hex(memory.ram[a], 2) + " instead of " +
                       hex(model[a], 2);
        if (coreCycles != modelCycles)
            return std::to_string(coreCycles) + " cycles instead of " + std::to_string(modelCycles);
        // The status as a program reads it; the model's memory takes the byte PHP pushed.
        poke2(statusProbe, 0x08);
        poke2(statusProbe + 1, 0x68);
        reg.PC = statusProbe;
        executeInstruction();
        executeInstruction();
        model[0x100 + cpu.s] = memory.ram[0x100 + cpu.s];
        const uint8_t expected = uint8_t((cpu.p & ~nmos::B) | nmos::B | nmos::U);
        if (reg.AC != expected) return "status " + hex(reg.AC, 2) + " instead of " + hex(expected, 2);
        return "";
    }

    std::mt19937 random;
    std::vector<uint8_t> model;
};

TEST_P(Conformance, OpcodeMatchesTheNmosModel) {
    const uint8_t opcode = GetParam();
    const nmos::Decoded d = nmos::decode(opcode);
    int compared = 0;
    for (int i = 0; i < casesPerOpcode; ++i) {
        nmos::Cpu cpu = arrange(opcode);
        const nmos::Cpu before = cpu;
        const int modelCycles = cpu.step();
        if (cpu.touchedIo) {  // the I/O area answers for itself; the model is plain RAM
            model.assign(memory.ram, memory.ram + 0x10000);
            continue;
        }
        reg = Registers{};
        reg.PC = before.pc, reg.AC = before.a, reg.XR = before.x, reg.YR = before.y, reg.SP = before.s;
        unpackStatus(before.p);
        const uint16_t coreCycles = executeInstruction();
        const std::string difference = compare(cpu, modelCycles, coreCycles);
        ASSERT_EQ(difference, "") << d.name << " $" << hex(opcode, 2) << " at " << hex(before.pc, 4)
                                  << " operand " << hex(model[uint16_t(before.pc + 1)], 2) << " "
                                  << hex(model[uint16_t(before.pc + 2)], 2) << " A X Y S P "
                                  << hex(before.a, 2) << " " << hex(before.x, 2) << " " << hex(before.y, 2)
                                  << " " << hex(before.s, 2) << " " << hex(before.p, 2);
        ++compared;
    }
    EXPECT_GT(compared, casesPerOpcode * 9 / 10);
}

INSTANTIATE_TEST_SUITE_P(EachOpcode, Conformance, ::testing::ValuesIn(modelledOpcodes()),
                         [](const auto& info) {
                             return std::string(nmos::decode(info.param).name) + "_" + hex(info.param, 2);
                         });

TEST(ConformanceSet, HasEveryOpcodeButTheTwelveJams) { EXPECT_EQ(modelledOpcodes().size(), 244u); }

// ADC, SBC and ARR immediate over every accumulator, operand and carry, in binary and in
// decimal, digits above 9 included.
TEST(ConformanceArithmetic, ImmediateArithmeticAgreesForEveryOperandPair) {
    resetCpuMachine();
    std::vector<uint8_t> model(0x10000, 0);
    for (uint8_t opcode : {0x69, 0xE9, 0x6B})
        for (int decimal = 0; decimal < 2; ++decimal)
            for (int carry = 0; carry < 2; ++carry)
                for (int a = 0; a < 256; ++a)
                    for (int m = 0; m < 256; ++m) {
                        nmos::Cpu cpu;
                        cpu.mem = model.data();
                        cpu.pc = 0x1000;
                        model[0x1000] = memory.ram[0x1000] = opcode;
                        model[0x1001] = memory.ram[0x1001] = uint8_t(m);
                        cpu.a = uint8_t(a);
                        cpu.p = uint8_t(nmos::U | (decimal ? nmos::D : 0) | carry | (m & 1 ? nmos::V : 0));
                        reg = Registers{};
                        reg.PC = 0x1000;
                        reg.AC = uint8_t(a);
                        unpackStatus(cpu.p);
                        cpu.step();
                        executeInstruction();
                        const uint8_t core = uint8_t((packStatus() & ~nmos::B) | nmos::U);
                        ASSERT_EQ(reg.AC, cpu.a) << hex(opcode, 2) << " D" << decimal << " C" << carry << " "
                                                 << hex(a, 2) << " " << hex(m, 2);
                        ASSERT_EQ(core, cpu.p & ~nmos::B) << hex(opcode, 2) << " D" << decimal << " C"
                                                          << carry << " " << hex(a, 2) << " " << hex(m, 2);
                    }
}

}  // namespace

// Klaus Dormann's functional test of the 6502, decimal mode included, run straight on the
// processor over 64 KB of RAM (no ROM, no TED). It has passed when it reaches its JMP * at
// $3469; any other instruction that jumps or branches to itself is the check that failed,
// named by its address in 6502_functional_test.lst beside the image.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "cpu/core.h"
#include "support/cpu_helpers.h"
#include "support/real_firmware.h"

namespace {

constexpr uint16_t start = 0x0400, success = 0x3469;
constexpr long instructionLimit = 200'000'000;  // the whole program runs about 31 million

TEST(FunctionalProgram, DormannsTestReachesItsSuccessLoop) {
    REQUIRE_CONFORMANCE(suites);
    const std::string image = readFile(suites + "/dormann/6502_functional_test.bin");
    ASSERT_EQ(image.size(), 0x10000u) << "a 64 KB image for address $0000";
    resetCpuMachine();
    std::memcpy(memory.ram, image.data(), image.size());
    reg.PC = start;
    long executed = 0;
    for (uint16_t before = 0; executed < instructionLimit; ++executed) {
        before = reg.PC;
        executeInstruction();
        if (reg.PC == before) break;
    }
    EXPECT_EQ(reg.PC, success) << std::hex << "stopped at $" << reg.PC << std::dec << " after " << executed
                               << " instructions";
}

// A second processor of the same core on a bus of its own, as a drive's is: 64 KB of RAM.
struct RamBus {
    Registers cpu;
    uint8_t ram[0x10000] = {};
    uint8_t read(uint16_t address) { return ram[address]; }
    void write(uint16_t address, uint8_t value) { ram[address] = value; }
    Registers& registers() { return cpu; }
};

// The computer's processor and another instance run the test side by side, one
// instruction each in turn, from the same handlers: each keeps its own registers and
// memory and both reach the end.
TEST(FunctionalProgram, TwoProcessorsRunItSideBySide) {
    REQUIRE_CONFORMANCE(suites);
    const std::string image = readFile(suites + "/dormann/6502_functional_test.bin");
    ASSERT_EQ(image.size(), 0x10000u);
    resetCpuMachine();
    std::memcpy(memory.ram, image.data(), image.size());
    reg.PC = start;
    auto other = std::make_unique<RamBus>();
    std::memcpy(other->ram, image.data(), image.size());
    other->cpu.PC = start;
    bool computerDone = false, otherDone = false;
    for (long executed = 0; executed < instructionLimit && !(computerDone && otherDone); ++executed) {
        if (!computerDone) {
            const uint16_t before = reg.PC;
            executeInstruction();
            computerDone = reg.PC == before;
        }
        if (!otherDone) {
            const uint16_t before = other->cpu.PC;
            cpu::execute(*other);
            otherDone = other->cpu.PC == before;
        }
    }
    EXPECT_EQ(reg.PC, success);
    EXPECT_EQ(other->cpu.PC, success);
}

}  // namespace

// Closing the window while the machine is inside a step: the step ends there.
#include <gtest/gtest.h>

#include "bus/interrupts.h"
#include "host/program.h"
#include "machine/power.h"
#include "machine/step.h"
#include "memory/memory.h"
#include "monitor/monitor.h"
#include "state/machine.h"
#include "support/fake_platform.h"
#include "support/menu_script.h"
#include "ted/ted.h"

namespace {

TEST(ClosingInsideAStep, WindowClosedAtABreakpointBetweenDoubleClockHalvesEndsTheStepCleanly) {
    resetFakePlatform();
    resetShellState();
    freshMachine();  // nothing raised or pending from a test before
    ASSERT_TRUE(allocateRamBlock());
    setWindowProc(windowProc);
    ASSERT_EQ(platform::openWindow({}), platform::WindowOpened::opened);
    shell.windowActive = 1;
    for (uint16_t a = 0x1000; a < 0x1004; ++a) memory.ram[a] = 0xEA;  // NOPs
    memory.romEnabled = 0;
    reg.PC = 0x1000;
    ted.doubleClockAllowed = 1;
    ted.singleClock = 0;
    machine.breakpointAddress = 0x1001;  // after the first instruction of the pair
    machine.breakpointEnabled = 1;
    // The monitor opens at the breakpoint and takes the window's destruction: the devices
    // and the RAM go, and the quit message follows.
    fake.messages.push_back({platform::msgDestroy, 0});
    ASSERT_EQ(emulationStep(), stepEvent::breakpoint);
    runScreen(monitorScreen);
    machine.breakpointEnabled = 0;
    EXPECT_EQ(memory.ram, nullptr);
    EXPECT_EQ(shell.quitRequested, 1);
    EXPECT_EQ(reg.PC, 0x1001) << "the second instruction of the pair never ran";
    resetShellState();
}

}  // namespace

#include "monitor/monitor.h"

#include <gtest/gtest.h>

#include "bus/interrupts.h"
#include "host/configuration.h"
#include "host/program.h"
#include "machine/step.h"
#include "memory/memory.h"
#include "menus/key_codes.h"
#include "menus/menu_screen.h"
#include "state/machine.h"
#include "support/menu_script.h"
#include "ted/raster.h"
#include "ted/ted.h"

namespace {

class Monitor : public ::testing::Test {
protected:
    void SetUp() override {
        prepareMenuMachine();
        memory.romEnabled = 0;
        startBeam();
        reg.PC = 0x2000;
        // $2000: JSR $3000; $2003: INX; JMP $2003.  $3000: INY; RTS.
        const uint8_t main[] = {0x20, 0x00, 0x30, 0xE8, 0x4C, 0x03, 0x20};
        for (int i = 0; i < 7; ++i) memory.ram[0x2000 + i] = main[i];
        memory.ram[0x3000] = 0xC8;
        memory.ram[0x3001] = 0x60;
    }
    static std::vector<MenuStep> typed(const char* hex) {
        std::vector<MenuStep> steps;
        for (const char* c = hex; *c; ++c) {
            if (*c == ' ') continue;
            uint8_t code = *c <= '9' ? key::digits[*c - '0'] : key::letter(*c);
            steps.push_back({code, 1});
            steps.push_back({0, 1});
        }
        return steps;
    }
};

TEST_F(Monitor, ListingMarksThePcAndShowsTheRegisters) {
    playMenuScript({});
    runScreen(monitorScreen);
    EXPECT_EQ(menuCellChar(0, 2), '>');
    EXPECT_EQ(menuRowText(2, 1, 4), "2000");
    EXPECT_EQ(menuRowText(2, 6, 17), "20 00 30 JSR $300");
    EXPECT_EQ(menuRowText(19, 0, 25), " PC  AC XR YR SP NV-BDIZC");
    EXPECT_EQ(menuRowText(20, 0, 25), "2000 00 00 00 FF 00100000");
    EXPECT_EQ(menuRowText(22, 0, 25), "BREAKPOINT: 0000 DISABLED");
    EXPECT_EQ(shell.menuOpen, 0);
}

TEST_F(Monitor, PageUpNearTheBottomOfMemoryStopsAtZero) {
    reg.PC = 0x0008;
    playMenuScript({{key::pageUp, 1}, {0, 2}});
    runScreen(monitorScreen);
    EXPECT_EQ(menuRowText(2, 1, 4), "0000");
}

TEST_F(Monitor, StepAndStepOver) {
    playMenuScript({{key::f8, 1}, {0, 2}});
    runScreen(monitorScreen);
    EXPECT_EQ(reg.PC, 0x3000);  // single step entered the subroutine

    reg.PC = 0x2000;
    reg.SP = 0xFF;
    reg.YR = 0;
    playMenuScript({{key::f7, 1}, {0, 2}});
    runScreen(monitorScreen);
    EXPECT_EQ(reg.PC, 0x2003);  // step over ran it to its RTS
    EXPECT_EQ(reg.SP, 0xFF);
    EXPECT_EQ(reg.YR, 1);
}

TEST_F(Monitor, AddressEntryThenBreakpointStopsTheMachineThere) {
    std::vector<MenuStep> steps{{key::f5, 1}, {0, 1}};
    for (auto& s : typed("2003")) steps.push_back(s);
    steps.insert(steps.end(), {{key::enter, 1}, {0, 2}, {key::f6, 1}, {0, 1}, {key::letter('B'), 1}, {0, 2}});
    playMenuScript(steps);
    runScreen(monitorScreen);
    EXPECT_EQ(machine.breakpointAddress, 0x2003);
    EXPECT_EQ(machine.breakpointEnabled, 1);

    // The main loop's steps now enter the monitor when PC reaches $2003.
    int entries = 0;
    playMenuScript({});
    fake.onPresent = [&entries] {
        fake.keys.fill(0);
        fake.keys[key::escape] = 0x80;
        if (shell.menuOpen && reg.PC == 0x2003) ++entries;
    };
    for (int i = 0; i < 6 && entries == 0; ++i)
        if (emulationStep() & stepEvent::breakpoint) runScreen(monitorScreen);
    EXPECT_GT(entries, 0);
    EXPECT_EQ(reg.PC, 0x2003);
}

TEST_F(Monitor, MemoryDumpShowsReadsOrStoredBytes) {
    memory.ram[0xFF09] = 0x00;
    playMenuScript({{0, 1}, {key::tab, 1}, {0, 2}, {key::letter('T'), 1}, {0, 2}});
    runScreen(monitorScreen);
    EXPECT_EQ(menuRowText(2, 0, 5), "FF00:");
    EXPECT_EQ(menuRowText(3, 0, 5), "FF08:");
    EXPECT_EQ(menuRowText(3, 8, 2), "25");  // $FF09 as the CPU reads it
    EXPECT_EQ(menuRowText(22, 0, 19), "ROM/RAM STATUS: ROM");

    playMenuScript(
        {{0, 1}, {key::tab, 1}, {0, 2}, {key::letter('L'), 1}, {0, 2}, {key::letter('R'), 1}, {0, 2}});
    runScreen(monitorScreen);               // locked at $FF00 from the last visit
    EXPECT_EQ(menuRowText(3, 8, 2), "00");  // the stored byte
    EXPECT_EQ(menuRowText(22, 0, 19), "ROM/RAM STATUS: RAM");
    EXPECT_EQ(menuCellForeground(0, 2), 0x51);  // locked addresses are marked
}

TEST_F(Monitor, TedDumpDescribesTheRegisters) {
    memory.ram[0xFF06] = 0x1B;
    memory.ram[0xFF07] = 0x08;
    memory.ram[0xFF14] = 0x08;
    memory.ram[0xFF19] = 0x6E;
    playMenuScript({{key::f3, 1}, {0, 2}});
    runScreen(monitorScreen);
    EXPECT_EQ(menuRowText(0, 0, 11), "TED DUMP #1");
    EXPECT_EQ(menuRowText(8, 0, 32), "VIDEO MATRIX:               0800");
    EXPECT_EQ(menuRowText(10, 0, 32), "HORIZONTAL SHIFT:           40/0");
    EXPECT_EQ(menuRowText(11, 0, 32), "VERTICAL SHIFT:             25/3");
    EXPECT_EQ(menuRowText(15, 0, 32), "BORDER COLOR #4               6E");
    EXPECT_EQ(menuCellForeground(13, 15), 0x6E);
}

TEST_F(Monitor, RegisterEditorTypesDigitsAndOnlyBitsIntoFlags) {
    std::vector<MenuStep> steps{{key::f4, 1}, {0, 2}};
    for (auto& s : typed("1234")) steps.push_back(s);
    playMenuScript(steps);
    runScreen(monitorScreen);
    EXPECT_EQ(reg.PC, 0x1234);

    // PC, A, X, Y and SP, then 5 at N (ignored, the cursor still moves) and 1 at V.
    steps = {{key::f4, 1}, {0, 2}};
    for (auto& s : typed("12341234 56EF51")) steps.push_back(s);
    playMenuScript(steps);
    reg.N = 0;
    runScreen(monitorScreen);
    EXPECT_EQ(reg.PC, 0x1234);
    EXPECT_EQ(reg.AC, 0x12);
    EXPECT_EQ(reg.XR, 0x34);
    EXPECT_EQ(reg.YR, 0x56);
    EXPECT_EQ(reg.SP, 0xEF);
    EXPECT_EQ(reg.N, 0);
    EXPECT_EQ(reg.V, 1);
}

TEST_F(Monitor, SoundIsSilentWhileOpenAndRestoredAfter) {
    emulatorConfig.soundEmulation = 1;
    for (int c = 1; c <= 3; ++c) {
        fake.channels[c].exists = true;
        fake.channels[c].volume = -1400;
        ted.sound.voices[c - 1].volume = -1400;  // what the voices play
    }
    int loudWhileOpen = 0;
    playMenuScript({{0, 3}});
    auto advance = fake.onPresent;
    fake.onPresent = [&] {
        for (int c = 1; c <= 3; ++c) loudWhileOpen += fake.channels[c].volume != -10000;
        advance();
    };
    runScreen(monitorScreen);
    EXPECT_EQ(loudWhileOpen, 0);
    EXPECT_EQ(fake.channels[2].volume, -1400);
}

TEST_F(Monitor, QuitMessageLeavesFromAnyPage) {
    for (uint8_t page : {key::f1, key::f2, key::f3, key::f4}) {
        shell.quitRequested = 0;
        fake.presentCount = 0;
        playMenuScript({{page, 1}, {0, 50}});
        fake.messages.push_back({platform::msgKeyUp, 0});
        auto advance = fake.onPresent;
        fake.onPresent = [advance] {
            advance();
            if (fake.presentCount == 3) fake.messages.push_back({platform::msgQuit, 0});
        };
        runScreen(monitorScreen);
        EXPECT_EQ(shell.quitRequested, 1);
        EXPECT_EQ(shell.menuOpen, 0);
    }
    shell.quitRequested = 0;
}

}  // namespace

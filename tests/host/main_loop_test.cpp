// The main loop: message pacing, the way it ends, the command line and served requests.
#include "host/main_loop.h"

#include <cstring>

#include "bus/interrupts.h"
#include "host/configuration.h"
#include "host/log.h"
#include "host_test.h"
#include "memory/memory.h"
#include "state/machine.h"

namespace {

using MainLoop = HostTest;

int countOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST_F(MainLoop, QuitMessageEndsTheLoopWithItsCode) {
    writeSettings();
    queueRun(2, 7);
    EXPECT_EQ(start(), 7);
    EXPECT_FALSE(loggingOn());
    EXPECT_EQ(shell.passCounter, 4u * 257u);  // one message retrieved per 257 passes
}

TEST_F(MainLoop, F12EndsTheLoopWithCodeZeroAndAsksTheWindowToClose) {
    writeSettings();
    fake.messages.push_back({platform::msgActivate, 1});
    fake.messages.push_back({platform::msgKeyDown, platform::vkF12});
    fake.messages.push_back({platform::msgQuit, 9});
    EXPECT_EQ(start(), 0);
    EXPECT_EQ(fake.calls.back(), "postMessage close");
    EXPECT_EQ(fake.messages.front().type, platform::msgQuit);  // never retrieved
}

TEST_F(MainLoop, RequestExitFromAMenuEndsTheLoopWithItsCode) {
    writeSettings();
    fake.messages.push_back({platform::msgActivate, 1});
    fake.messages.push_back({platform::msgActivate, 0});
    // Stands in for a menu that receives the quit message inside its own loop.
    fake.onWaitMessage = [] { requestExit(3); };
    EXPECT_EQ(start(), 3);
}

TEST_F(MainLoop, InactiveWindowRunsNoInstructionButWaitsForMessages) {
    writeSettings();
    fake.messages.push_back({platform::msgQuit, 0});
    start();
    EXPECT_EQ(fake.waitMessageCalls, 257);
    EXPECT_EQ(reg.PC, 0x0000);  // the reset vector was never taken
}

TEST_F(MainLoop, CommandLineProgramIsLoadedAndRunOnceTheRomHasStarted) {
    writeFile(dir->file("my game.prg"), {0x01, 0x10, 0xAB, 0xCD});
    writeSettings({{"Ram", 2u}});
    queueRun(2000);  // some 40 frames of the KERNAL's loop
    EXPECT_EQ(start(dir->file("my game.prg").c_str()), 0);

    EXPECT_EQ(countOf(log(), "Info: Command line parameter has been executed.\n"), 1);
    EXPECT_EQ(memory.ram[0x1001], 0xAB);
    EXPECT_EQ(memory.ram[0x1002], 0xCD);
    EXPECT_EQ(std::memcmp(memory.ram + 0x0527, "RUN\r", 4), 0);
    EXPECT_EQ(memory.ram[0x00EF], 4);
}

TEST_F(MainLoop, EmptyCommandLineRunsNothing) {
    writeSettings({{"Ram", 2u}});
    for (int i = 0; i < 140; ++i) fake.messages.push_back({platform::msgSetCursor, 0});
    fake.messages.push_back({platform::msgQuit, 0});
    start();
    EXPECT_EQ(countOf(log(), "Command line parameter"), 0);
    EXPECT_NE(memory.ram[0x00EF], 4);
}

TEST_F(MainLoop, DebuggerRaisesTheMonitorRequestBeforeTheLoop) {
    writeSettings({{"Debugger", 1u}});
    start();  // the window never becomes active, so the request is still waiting
    EXPECT_EQ(shell.requests.monitor, 1);
    EXPECT_EQ(shell.requests.pending, 1);
    EXPECT_NE(log().find("Info: Main loop reached."), std::string::npos);
}

TEST_F(MainLoop, DebuggerSettlingStopsAtTheQuitMessage) {
    writeSettings({{"Debugger", 1u}});
    fake.messages.push_back({platform::msgActivate, 1});
    fake.messages.push_back({platform::msgQuit, 4});
    EXPECT_EQ(start(), 4);
    EXPECT_EQ(shell.windowActive, 1);
    EXPECT_EQ(log().find("Info: Main loop reached."), std::string::npos);
}

struct ResetKeyCase {
    const char* name;
    bool shift, ctrl;
};

class ResetKeys : public HostTest, public ::testing::WithParamInterface<ResetKeyCase> {};

TEST_P(ResetKeys, AreServedOnceAndCleared) {
    writeSettings();
    fake.messages.push_back({platform::msgActivate, 1});
    if (GetParam().shift) fake.messages.push_back({platform::msgKeyDown, platform::vkShift});
    if (GetParam().ctrl) fake.messages.push_back({platform::msgKeyDown, platform::vkControl});
    fake.messages.push_back({platform::msgKeyDown, platform::vkF11});
    fake.messages.push_back({platform::msgQuit, 0});
    start();
    EXPECT_EQ(shell.requests.softReset | shell.requests.hardReset | shell.requests.specialReset |
                  shell.requests.pending,
              0);
}

INSTANTIATE_TEST_SUITE_P(Keys, ResetKeys,
                         ::testing::Values(ResetKeyCase{"Soft", false, false},
                                           ResetKeyCase{"Hard", true, false},
                                           ResetKeyCase{"Special", false, true},
                                           ResetKeyCase{"ShiftCtrlNone", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainLoop, ScreenshotKeyIsServedAtTheEndOfThePass) {
    writeSettings();
    fake.messages.push_back({platform::msgActivate, 1});
    fake.messages.push_back({platform::msgKeyDown, platform::vkF6});
    fake.messages.push_back({platform::msgQuit, 0});
    start();
    EXPECT_TRUE(fileExists(dir->file("Output000.bmp")));
    EXPECT_EQ(shell.requests.screenshot | shell.requests.pending, 0);
}

TEST_F(MainLoop, ShellStateOfAnEarlierRunIsForgotten) {
    writeSettings();
    queueRun(0);
    start();
    shell.requests.hardReset = shell.quickRegistersShown = shell.shiftHeld = 1;
    shell.quitRequested = 1;
    queueRun(0, 5);
    EXPECT_EQ(start(), 5);
    EXPECT_EQ(shell.requests.hardReset | shell.quickRegistersShown | shell.shiftHeld, 0);
}

}  // namespace

// Taken turn by turn, as the page takes them: a turn never waits itself but says for what,
// and a frame end's vertical blank, a screen's pace and an inactive window each end one.
TEST_F(MainLoop, TurnsEndInTheirWaitsAndNeverWaitThemselves) {
    writeSettings({{"Sync", 1u}});
    fake.messages.push_back({platform::msgActivate, 1});
    int exitCode = -1;
    ASSERT_TRUE(beginEmulator("", 1, exitCode));
    auto turnsUntil = [](Wait::Kind kind) {
        for (int turn = 0; turn < 100000; ++turn)
            if (loopTurn().kind == kind) return true;
        return false;
    };
    EXPECT_TRUE(turnsUntil(Wait::verticalBlank));
    const int presented = fake.presentCount;
    loopTurn();  // the frame end's second half presents
    EXPECT_EQ(fake.presentCount, presented + 1);
    shell.requests.optionsMenu = shell.requests.pending = 1;
    EXPECT_TRUE(turnsUntil(Wait::sleep));  // the menu's next pass, 50 Hz on
    EXPECT_EQ(shell.menuOpen, 1);
    fake.messages.push_back({platform::msgActivate, 0});
    EXPECT_TRUE(turnsUntil(Wait::message));
    EXPECT_EQ(fake.verticalBlankWaits + fake.waitMessageCalls + static_cast<int>(fake.sleeps.size()), 0);
    fake.messages.push_back({platform::msgQuit, 4});
    while (!shell.quitRequested) loopTurn();
    EXPECT_EQ(endEmulator(), 4);
    EXPECT_EQ(shell.menuOpen, 0);  // the quit closed the menu
}

// The window procedure: host keys become request flags, and nothing else happens.
#include <gtest/gtest.h>

#include "host/program.h"
#include "support/fake_platform.h"

namespace {

using platform::Message;

void resetFlags() {
    for (uint16_t* flag :
         {&shell.requests.screenshot, &shell.requests.optionsMenu, &shell.requests.gameDatabase,
          &shell.requests.loadMenu, &shell.requests.saveMenu, &shell.requests.monitor,
          &shell.requests.softReset, &shell.requests.hardReset, &shell.requests.specialReset,
          &shell.requests.warp, &shell.requests.pause, &shell.requests.fullScreen, &shell.requests.start,
          &shell.requests.pending, &shell.menuOpen, &shell.shiftHeld, &shell.ctrlHeld, &shell.altHeld,
          &shell.quickRegistersShown})
        *flag = 0;
    shell.quitRequested = 0;
    shell.windowActive = 0;
}

int32_t send(platform::MessageType type, uint32_t wParam) { return windowProc(Message{type, wParam}); }

struct KeyCase {
    const char* name;
    uint32_t key;
    bool shift, ctrl, menu, loading;
    uint16_t* raised;  // the one request flag raised, or none
    bool pending, quit;
};

class WindowProc : public ::testing::Test {
protected:
    void SetUp() override {
        resetFakePlatform();
        resetFlags();
    }
};

class HostKeys : public WindowProc, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(HostKeys, RaiseTheirRequest) {
    const KeyCase& c = GetParam();
    if (c.shift) send(platform::msgKeyDown, platform::vkShift);
    if (c.ctrl) send(platform::msgKeyDown, platform::vkControl);
    shell.menuOpen = c.menu;
    shell.requests.loadMenu = c.loading;
    EXPECT_EQ(send(platform::msgKeyDown, c.key), 0);

    uint16_t* requests[] = {
        &shell.requests.screenshot, &shell.requests.optionsMenu,  &shell.requests.gameDatabase,
        &shell.requests.saveMenu,   &shell.requests.monitor,      &shell.requests.softReset,
        &shell.requests.hardReset,  &shell.requests.specialReset, &shell.quickRegistersShown,
        &shell.requests.warp,       &shell.requests.pause,        &shell.requests.fullScreen};
    for (uint16_t* flag : requests) EXPECT_EQ(*flag, flag == c.raised) << "flag " << (flag - requests[0]);
    EXPECT_EQ(shell.requests.loadMenu, c.loading || c.raised == &shell.requests.loadMenu);
    EXPECT_EQ(shell.requests.pending, c.pending);
    EXPECT_EQ(shell.quitRequested, c.quit);
    EXPECT_EQ(fake.messages.size(), c.quit ? 1u : 0u);  // the close request
}

using namespace platform;
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, HostKeys,
    ::testing::Values(
        //      name                      key    shift  ctrl   menu   loading raised                pending quit
        KeyCase{"F6",                     vkF6,  false, false, false, false, &shell.requests.screenshot,   true,  false},
        KeyCase{"ShiftF6",                vkF6,  true,  false, false, false, &shell.requests.screenshot,   true,  false},
        KeyCase{"F7",                     vkF7,  false, false, false, false, &shell.requests.optionsMenu,  true,  false},
        KeyCase{"ShiftF7",                vkF7,  true,  false, false, false, &shell.requests.gameDatabase, true,  false},
        KeyCase{"F8",                     vkF8,  false, false, false, false, &shell.requests.loadMenu,     true,  false},
        KeyCase{"ShiftF8",                vkF8,  true,  false, false, false, &shell.requests.saveMenu,     true,  false},
        KeyCase{"F9",                     vkF9,  false, false, false, false, &shell.requests.monitor,      true,  false},
        KeyCase{"ShiftF9",                vkF9,  true,  false, false, false, &shell.quickRegistersShown, true,  false},
        KeyCase{"F11",                    vkF11, false, false, false, false, &shell.requests.softReset,    true,  false},
        KeyCase{"ShiftF11",               vkF11, true,  false, false, false, &shell.requests.hardReset,    true,  false},
        KeyCase{"CtrlF11",                vkF11, false, true,  false, false, &shell.requests.specialReset, true,  false},
        KeyCase{"ShiftCtrlF11",           vkF11, true,  true,  false, false, nullptr,              true,  false},
        KeyCase{"F12",                    vkF12, false, false, false, false, nullptr,              false, true},
        KeyCase{"F10",                    vkF10, false, false, false, false, &shell.requests.warp,         true,  false},
        KeyCase{"Pause",                  vkPause, false, false, false, false, &shell.requests.pause,      true,  false},
        KeyCase{"EnterWithoutAlt",        vkReturn, false, false, false, false, nullptr,                   false, false},
        KeyCase{"PauseWhileAMenuIsOpen",  vkPause, false, false, true,  false, nullptr,              false, false},
        KeyCase{"F7WhileAMenuIsOpen",     vkF7,  false, false, true,  false, nullptr,              false, false},
        KeyCase{"F12WhileAMenuIsOpen",    vkF12, false, false, true,  false, nullptr,              false, false},
        KeyCase{"F9WhileLoadMenuRuns",    vkF9,  false, false, false, true,  nullptr,              false, false},
        KeyCase{"F12WhileLoadMenuRuns",   vkF12, false, false, false, true,  nullptr,              false, false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(WindowProc, AltEnterSwitchesTheScreenUntilAltIsReleasedOrTheWindowLeft) {
    ASSERT_EQ(openWindow({}), WindowOpened::opened);
    send(msgKeyDown, vkMenu);
    send(msgKeyDown, vkReturn);
    EXPECT_EQ(shell.requests.fullScreen, 1);
    EXPECT_EQ(shell.requests.pending, 1);
    shell.requests.fullScreen = 0;
    send(msgActivate, 0);  // Alt+Tab: the release goes to another window
    send(msgKeyDown, vkReturn);
    EXPECT_EQ(shell.requests.fullScreen, 0);
    send(msgKeyDown, vkMenu);
    send(msgKeyUp, vkMenu);
    send(msgKeyDown, vkReturn);
    EXPECT_EQ(shell.requests.fullScreen, 0);
}

TEST_F(WindowProc, DroppedFileIsTakenForTheLoopToStartButNotWhileAMenuIsOpen) {
    fake.droppedFiles = {{7, "/games/a.d64"}, {8, "/games/b.prg"}};
    EXPECT_EQ(send(msgDropFile, 7), 0);
    EXPECT_EQ(shell.fileToStart, "/games/a.d64");
    EXPECT_EQ(shell.requests.start, 1);
    EXPECT_EQ(shell.requests.pending, 1);
    shell.requests.start = 0;
    shell.menuOpen = 1;
    send(msgDropFile, 8);
    EXPECT_EQ(shell.requests.start, 0);
    EXPECT_EQ(shell.fileToStart, "/games/a.d64");
    EXPECT_TRUE(fake.droppedFiles.empty());  // let go all the same
    send(msgDropFile, 9);                    // an unknown drop changes nothing
    EXPECT_EQ(shell.requests.start, 0);
}

TEST_F(WindowProc, ShiftF9TogglesTheQuickRegisters) {
    send(msgKeyDown, vkShift);
    send(msgKeyDown, vkF9);
    send(msgKeyDown, vkF9);
    EXPECT_EQ(shell.quickRegistersShown, 0);
    send(msgKeyDown, vkF9);
    EXPECT_EQ(shell.quickRegistersShown, 1);
}

TEST_F(WindowProc, ShiftAndCtrlAreTrackedEvenInMenus) {
    shell.menuOpen = 1;
    send(msgKeyDown, vkShift);
    send(msgKeyDown, vkControl);
    EXPECT_EQ(shell.shiftHeld, 1);
    EXPECT_EQ(shell.ctrlHeld, 1);
    send(msgKeyUp, vkShift);
    EXPECT_EQ(shell.shiftHeld, 0);
    EXPECT_EQ(shell.ctrlHeld, 1);
    send(msgKeyUp, vkControl);
    EXPECT_EQ(shell.ctrlHeld, 0);
}

TEST_F(WindowProc, WhileTheLoadMenuRunsShiftDownCountsAsRelease) {
    send(msgKeyDown, vkShift);
    shell.requests.loadMenu = 1;
    send(msgKeyDown, vkShift);
    EXPECT_EQ(shell.shiftHeld, 0);
}

TEST_F(WindowProc, ActivationFollowsTheMessage) {
    ASSERT_EQ(openWindow({}), WindowOpened::opened);
    for (auto [wParam, active] : {std::pair{1u, 1}, {0u, 0}, {2u, 1}, {3u, 0}}) {
        EXPECT_EQ(send(msgActivate, wParam), 0);
        EXPECT_EQ(shell.windowActive, active) << wParam;
    }
}

TEST_F(WindowProc, DestroyRestoresPriorityAndPostsQuit) {
    shell.savedPriorityClass = priorityNormal;
    fake.priorityClass = priorityRealtime;
    shell.windowActive = 1;
    EXPECT_EQ(send(msgDestroy, 0), 0);
    EXPECT_EQ(fake.priorityClass, priorityNormal);
    EXPECT_EQ(shell.windowActive, 0);
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].type, msgQuit);
    EXPECT_EQ(fake.messages[0].wParam, 0u);
}

TEST_F(WindowProc, DestroyBeforeThePriorityWasReadLeavesItAlone) {
    shell.savedPriorityClass = -1;
    fake.priorityClass = priorityHigh;
    send(msgDestroy, 0);
    EXPECT_EQ(fake.priorityClass, priorityHigh);
}

TEST_F(WindowProc, ActivationAfterTheWindowIsGoneIsIgnored) {
    send(msgActivate, 1);
    EXPECT_EQ(shell.windowActive, 0);
}

TEST_F(WindowProc, CloseRequestDestroysTheWindow) {
    ASSERT_EQ(openWindow({}), WindowOpened::opened);
    setWindowProc(windowProc);
    send(msgClose, 0);
    EXPECT_FALSE(fake.windowCreated);
    ASSERT_FALSE(fake.messages.empty());
    EXPECT_EQ(fake.messages.back().type, msgQuit);
}

}  // namespace

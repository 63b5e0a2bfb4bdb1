#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/program.h"
#include "host/screens.h"
#include "memory/memory.h"
#include "menus/key_codes.h"
#include "menus/menu_screen.h"
#include "support/fake_platform.h"
#include "support/menu_script.h"

namespace {

class MenuInput : public ::testing::Test {
protected:
    void SetUp() override {
        resetFakePlatform();
        resetKeyRepeat();
        allocateRamBlock();
        shell.windowActive = 1;
        shell.quitRequested = 0;
    }
};

// One call per pass of a screen.
TEST_F(MenuInput, HeldKeyActsOnceThenAfterThirtyFramesThenEveryFour) {
    fake.keys[key::down] = 0x80;
    std::vector<int> actedAt;
    for (int pass = 0; pass < 50; ++pass)
        if (repeatedKeyDown(key::down)) actedAt.push_back(pass);
    EXPECT_EQ(actedAt, (std::vector<int>{0, 30, 34, 38, 42, 46}));
}

TEST_F(MenuInput, ShortPressActsOnce) {
    fake.keys[key::down] = 0x80;
    int acts = 0;
    for (int pass = 0; pass < 5; ++pass) {
        acts += repeatedKeyDown(key::down);
        fake.keys[key::down] = 0;
    }
    EXPECT_EQ(acts, 1);
}

TEST_F(MenuInput, ParseHex4ReadsFourDigits) {
    EXPECT_EQ(parseHex4("00FF"), 255);
    EXPECT_EQ(parseHex4("1001"), 4097);
    EXPECT_EQ(parseHex4("FFFF"), 0xFFFF);
}

// Plays a list of keys into an editor, one pass each: a key is held for the pass and
// released before the next.
LineEditor::Outcome type(LineEditor editor, const std::vector<uint8_t>& keys, char* result) {
    LineEditor::Outcome outcome = LineEditor::editing;
    for (uint8_t code : keys) {
        fake.keys.fill(0);
        fake.keys[code] = 0x80;
        if (passReady()) outcome = editor.pass(result);
        fake.keys.fill(0);
        if (outcome != LineEditor::editing) break;
    }
    return outcome;
}

TEST_F(MenuInput, TextEditorStopsAtItsLengthButTakesBackspaceAndEnter) {
    char result[32] = "unchanged";
    EXPECT_EQ(type(LineEditor::text(0, 0, 2),
                   {key::letter('A'), key::letter('B'), key::letter('C'), key::backspace, key::letter('D'),
                    key::letter('E'), key::enter},
                   result),
              LineEditor::confirmed);
    EXPECT_STREQ(result, "AD");
}

TEST_F(MenuInput, EscapeAbandonsTheEdit) {
    char result[32] = "unchanged";
    EXPECT_EQ(type(LineEditor::hex(0, 0, 4), {key::letter('A'), key::escape}, result), LineEditor::abandoned);
    EXPECT_STREQ(result, "unchanged");
}

TEST_F(MenuInput, HexEditorIgnoresLettersBeyondF) {
    char result[32] = {};
    EXPECT_EQ(type(LineEditor::hex(0, 0, 4), {key::letter('G'), key::letter('A'), key::digits[1], key::enter},
                   result),
              LineEditor::confirmed);
    EXPECT_STREQ(result, "A1");
}

// A screen that does nothing but count its passes, and the clock each began at.
uint16_t testRequest = 0;
std::vector<uint64_t> passAt;
const Screen countingScreen{[] { openMenu(); },
                            [] {
                                passAt.push_back(fake.counter);
                                fake.counter += 30000;  // the pass's own work: 3 ms
                                return passAt.size() < 5;
                            },
                            nullptr, &testRequest};

TEST_F(MenuInput, ClosingAMenuKeepsAQuitRequest) {
    passAt.clear();
    openScreen(countingScreen);
    EXPECT_EQ(shell.menuOpen, 1);
    fake.messages.push_back({platform::msgKeyDown, platform::vkF7});
    fake.messages.push_back({platform::msgQuit, 3});
    testRequest = 1;
    shell.quitRequested = 0;
    closeScreen();
    EXPECT_EQ(testRequest, 0);
    EXPECT_EQ(shell.menuOpen, 0);
    EXPECT_TRUE(fake.messages.empty());
    shell.quitRequested = 0;
}

// Waiting for a key, a screen sleeps out each 50 Hz period instead of polling as fast as it
// can; the clock moves only by the sleeps here.
TEST_F(MenuInput, PassesSleepUntilAPeriodAfterTheLastOne) {
    shell.ticksPerFrame = fake.frequency / 50;
    passAt.clear();
    runScreen(countingScreen);
    ASSERT_EQ(passAt.size(), 5u);
    for (size_t i = 1; i < passAt.size(); ++i) EXPECT_EQ(passAt[i] - passAt[i - 1], shell.ticksPerFrame);
    ASSERT_GE(fake.sleeps.size(), 4u);
    EXPECT_EQ(fake.sleeps.back(), 17000u);  // the 20 ms less the 3 ms of work
}

}  // namespace

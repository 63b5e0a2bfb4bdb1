#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/program.h"
#include "memory/memory.h"
#include "menus/key_codes.h"
#include "menus/menu_screen.h"
#include "support/fake_platform.h"

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

TEST_F(MenuInput, HeldKeyActsOnceThenAfterThirtyFramesThenEveryFour) {
    fake.keys[key::down] = 0x80;
    fake.onVerticalBlank = [] {
        if (fake.verticalBlankWaits >= 50) fake.keys[key::down] = 0;
    };
    std::vector<int> actedAt;
    for (int pass = 0; pass < 100 && fake.keys[key::down]; ++pass)
        if (repeatedKeyDown(key::down)) actedAt.push_back(fake.verticalBlankWaits);
    EXPECT_EQ(actedAt, (std::vector<int>{0, 30, 34, 38, 42, 46}));
}

TEST_F(MenuInput, ShortPressActsOnce) {
    fake.keys[key::down] = 0x80;
    fake.onVerticalBlank = [] { fake.keys[key::down] = 0; };
    int acts = 0;
    for (int pass = 0; pass < 5; ++pass) acts += repeatedKeyDown(key::down);
    EXPECT_EQ(acts, 1);
}

TEST_F(MenuInput, ParseHex4ReadsFourDigits) {
    EXPECT_EQ(parseHex4("00FF"), 255);
    EXPECT_EQ(parseHex4("1001"), 4097);
    EXPECT_EQ(parseHex4("FFFF"), 0xFFFF);
}

// Plays a list of keys into an editor, one key per keyboard read burst: a key is
// held until the editor has seen it and then released.
struct KeyScript {
    std::vector<uint8_t> keys;
    size_t next = 0;
    int heldReads = 0;
};
KeyScript script;

void playScript() {
    fake.keys.fill(0);
    if (script.next >= script.keys.size()) return;
    fake.keys[script.keys[script.next]] = 0x80;
    if (++script.heldReads > 40) {  // enough reads for one pass to see it
        script.heldReads = 0;
        ++script.next;
    }
}

TEST_F(MenuInput, TextEditorStopsAtItsLengthButTakesBackspaceAndEnter) {
    script = KeyScript{{key::letter('A'), key::letter('B'), key::letter('C'), key::backspace,
                        key::letter('D'), key::letter('E'), key::enter}};
    fake.onKeyboardRead = playScript;
    char result[32] = "unchanged";
    EXPECT_EQ(inputText(0, 0, 2, result), 2);
    EXPECT_STREQ(result, "AD");
}

TEST_F(MenuInput, EscapeAbandonsTheEdit) {
    script = KeyScript{{key::letter('A'), key::escape}};
    fake.onKeyboardRead = playScript;
    char result[32] = "unchanged";
    EXPECT_EQ(inputHex(0, 0, 4, result), 0);
    EXPECT_STREQ(result, "unchanged");
}

TEST_F(MenuInput, HexEditorIgnoresLettersBeyondF) {
    script = KeyScript{{key::letter('G'), key::letter('A'), key::digits[1], key::enter}};
    fake.onKeyboardRead = playScript;
    char result[32] = {};
    EXPECT_EQ(inputHex(0, 0, 4, result), 2);
    EXPECT_STREQ(result, "A1");
}

TEST_F(MenuInput, ClosingAMenuKeepsAQuitRequest) {
    openMenu();
    EXPECT_EQ(shell.menuOpen, 1);
    fake.messages.push_back({platform::msgKeyDown, platform::vkF7});
    fake.messages.push_back({platform::msgQuit, 3});
    uint16_t request = 1;
    shell.quitRequested = 0;
    closeMenu(request);
    EXPECT_EQ(request, 0);
    EXPECT_EQ(shell.menuOpen, 0);
    EXPECT_TRUE(fake.messages.empty());
}

// Waiting for a key, a menu sleeps out each 50 Hz period instead of polling as fast as it
// can; the clock moves only by the sleeps here.
TEST_F(MenuInput, PassesSleepUntilAPeriodAfterTheLastOne) {
    shell.ticksPerFrame = fake.frequency / 50;
    std::vector<uint64_t> passAt;
    openMenu();
    for (int pass = 0; pass < 5; ++pass) {
        ASSERT_EQ(menuPass(), MenuPass::draw);
        passAt.push_back(fake.counter);
        fake.counter += 30000;  // the pass's own work: 3 ms
    }
    uint16_t request = 1;
    closeMenu(request);
    for (size_t i = 1; i < passAt.size(); ++i) EXPECT_EQ(passAt[i] - passAt[i - 1], shell.ticksPerFrame);
    ASSERT_GE(fake.sleeps.size(), 4u);
    EXPECT_EQ(fake.sleeps.back(), 17000u);  // the 20 ms less the 3 ms of work
}

}  // namespace

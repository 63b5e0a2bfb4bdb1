// The browser's keys give the desktop's scan codes: every machine key and the default
// joystick keys can be pressed, and the host keys send their messages.
#include "host/web/key_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/platform.h"
#include "ted/keyboard.h"

namespace {

std::set<int> scanCodes() {
    size_t count = 0;
    const webhost::BrowserKey* keys = webhost::browserKeys(count);
    std::set<int> codes;
    for (size_t i = 0; i < count; ++i) codes.insert(keys[i].scanCode);
    return codes;
}

TEST(BrowserKeys, EveryMachineKeyCanBePressed) {
    const std::set<int> codes = scanCodes();
    for (int code = 0; code < 256; ++code) {
        if (keyMap[code] == 0xFF) continue;
        EXPECT_TRUE(codes.count(code)) << "scan code " << code;
    }
}

// The cursor keys and right Ctrl, the joystick's keys when the settings name none.
TEST(BrowserKeys, TheDefaultJoystickKeysCanBePressed) {
    for (int code : {200, 208, 203, 205, 157}) EXPECT_TRUE(scanCodes().count(code)) << "scan code " << code;
}

TEST(BrowserKeys, EachNameIsListedOnceAndKeysShareACodeOnlyAsOtherNames) {
    size_t count = 0;
    const webhost::BrowserKey* keys = webhost::browserKeys(count);
    std::set<std::string> names;
    for (size_t i = 0; i < count; ++i) EXPECT_TRUE(names.insert(keys[i].code).second) << keys[i].code;
    EXPECT_EQ(count - scanCodes().size(), 2u);  // OSLeft and OSRight, the older names of the Meta keys
}

struct HostKeyCase {
    const char* code;
    uint8_t scanCode;
    uint32_t virtualKey;
};

class HostKeys : public ::testing::TestWithParam<HostKeyCase> {};

TEST_P(HostKeys, SendTheirMessages) {
    const webhost::BrowserKey* key = webhost::keyByCode(GetParam().code);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->scanCode, GetParam().scanCode);
    EXPECT_EQ(key->virtualKey, GetParam().virtualKey);
}

INSTANTIATE_TEST_SUITE_P(Keys, HostKeys,
                         ::testing::Values(HostKeyCase{"F6", 0x40, platform::vkF6},
                                           HostKeyCase{"F11", 0x57, platform::vkF11},
                                           HostKeyCase{"F12", 0x58, platform::vkF12},
                                           HostKeyCase{"ShiftRight", 0x36, platform::vkShift},
                                           HostKeyCase{"ControlRight", 0x9D, platform::vkControl},
                                           HostKeyCase{"Tab", 0x0F, 0}, HostKeyCase{"Backquote", 0x29, 0}));

TEST(BrowserKeys, UnknownCodesAreNotUsed) {
    EXPECT_EQ(webhost::keyByCode("Fn"), nullptr);
    EXPECT_EQ(webhost::keyByCode(""), nullptr);
    EXPECT_EQ(webhost::keyByCode(nullptr), nullptr);
}

}  // namespace

// The machine's keyboard matrix as an emulated program reads it through $FD30 and
// $FF08, with the host keys held in the platform double.
#include "ted/keyboard.h"

#include <algorithm>

#include "bus/memory_map.h"
#include "host/backend/gamepad.h"
#include "host/configuration.h"
#include "machine/settings.h"
#include "machine_fixture.h"
#include "shell/keyboard_input.h"

namespace {

constexpr uint8_t up = 0xC8, down = 0xD0, left = 0xCB, right = 0xCD, rightCtrl = 0x9D, capsLock = 0x3A;

class Keyboard : public PoweredMachine {
protected:
    void SetUp() override {
        PoweredMachine::SetUp();
        keyboard.joystickMode = 0;
        emulatorConfig.joy1UpCode = emulatorConfig.joy2UpCode = up;
        emulatorConfig.joy1DownCode = emulatorConfig.joy2DownCode = down;
        emulatorConfig.joy1LeftCode = emulatorConfig.joy2LeftCode = left;
        emulatorConfig.joy1RightCode = emulatorConfig.joy2RightCode = right;
        emulatorConfig.joy1FireCode = emulatorConfig.joy2FireCode = rightCtrl;
        applySettings(emulatorConfig);
        scan(0x00);  // with Caps Lock up, this clears its edge latch
        keyboard.shiftLock = 0;
    }
    // The shell pushes the host's input in before each scan here.
    uint8_t scan(uint8_t latch, uint8_t value = 0xFF) {
        pushInput();
        memory.ram[0xFD30] = latch;
        scanKeyboard(value);
        return memory.ram[0xFF08];
    }
    static uint8_t rowLatch(int row) { return static_cast<uint8_t>(~(1 << row)); }
};

TEST_F(Keyboard, NoKeyDownReadsAllOnes) {
    for (int latch : {0x00, 0xFD, 0x7F, 0xFF}) EXPECT_EQ(scan(static_cast<uint8_t>(latch)), 0xFF);
}

TEST_F(Keyboard, HeldAWithRowOneSelectedReadsFBThroughTheRegister) {
    fake.keys[0x1E] = 0x80;
    pushInput();
    writeMemory(0xFD30, 0xFD);
    writeMemory(0xFF08, 0xFF);
    EXPECT_EQ(readMemory(0xFF08), 0xFB);
}

struct KeyCase {
    uint8_t code;
    int row, column;
};
void PrintTo(const KeyCase& k, std::ostream* os) { *os << "code " << int(k.code); }
class MatrixKey : public Keyboard, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(MatrixKey, ClearsItsColumnInItsOwnRowOnly) {
    fake.keys[GetParam().code] = 0x80;
    for (int row = 0; row < 8; ++row) {
        uint8_t expected = row == GetParam().row ? static_cast<uint8_t>(~(1 << GetParam().column)) : 0xFF;
        EXPECT_EQ(scan(rowLatch(row)), expected) << "row " << row;
    }
}
INSTANTIATE_TEST_SUITE_P(HostKeys, MatrixKey,
                         ::testing::Values(KeyCase{0x0E, 0, 0}, KeyCase{0x1C, 0, 1}, KeyCase{0x9C, 0, 1},
                                           KeyCase{0x3E, 0, 3}, KeyCase{0x0C, 0, 7}, KeyCase{0x2A, 1, 7},
                                           KeyCase{0x36, 1, 7}, KeyCase{0x2D, 2, 7}, KeyCase{0x31, 4, 7},
                                           KeyCase{0x50, 5, 0}, KeyCase{down, 5, 0}, KeyCase{up, 5, 3},
                                           KeyCase{0x4A, 5, 6}, KeyCase{0x2B, 6, 1}, KeyCase{0x29, 6, 4},
                                           KeyCase{0xB5, 6, 7}, KeyCase{0xC7, 7, 1}, KeyCase{0x1D, 7, 2},
                                           KeyCase{0x52, 7, 4}, KeyCase{0x38, 7, 5}, KeyCase{0x0F, 7, 7}));

TEST_F(Keyboard, SeventyFiveHostKeysReachSixtyThreePositions) {
    int mapped = 0;
    bool used[64] = {};
    for (uint8_t position : keyMap)
        if (position != 0xFF) {
            ++mapped;
            used[position] = true;
        }
    EXPECT_EQ(mapped, 75);
    EXPECT_EQ(std::count(std::begin(used), std::end(used), true), 63);
    EXPECT_FALSE(used[2 * 8 + 0]);  // the pound key
}

TEST_F(Keyboard, KeysWithoutAMapEntryPressNothing) {
    for (uint8_t code : {0x3F, 0x01, 0x9D, 0xB8, 0xD2, 0x57}) fake.keys[code] = 0x80;
    EXPECT_EQ(scan(0x00), 0xFF);
}

TEST_F(Keyboard, CapsLockTogglesShiftLockOncePerPress) {
    fake.keys[capsLock] = 0x80;
    EXPECT_EQ(scan(rowLatch(1)), 0x7F);
    EXPECT_EQ(scan(rowLatch(1)), 0x7F);  // held: no second toggle
    fake.keys[capsLock] = 0;
    EXPECT_EQ(scan(rowLatch(1)), 0x7F);
    EXPECT_EQ(scan(rowLatch(2)), 0xFF);
    fake.keys[capsLock] = 0x80;
    EXPECT_EQ(scan(rowLatch(1)), 0xFF);
}

struct JoyCase {
    int mode;
    uint8_t code, value, expected;
};
void PrintTo(const JoyCase& j, std::ostream* os) {
    *os << "mode " << j.mode << " code " << int(j.code) << " value " << int(j.value);
}
class Joystick : public Keyboard, public ::testing::WithParamInterface<JoyCase> {};

TEST_P(Joystick, HeldKeyClearsItsBitWhenThePortIsSelected) {
    keyboard.joystickMode = GetParam().mode;
    fake.keys[GetParam().code] = 0x80;
    EXPECT_EQ(scan(0xFF, GetParam().value), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Ports, Joystick,
                         ::testing::Values(JoyCase{1, up, 0xFA, 0xFE}, JoyCase{1, up, 0xFE, 0xFE},
                                           JoyCase{1, up, 0xFB, 0xFE}, JoyCase{1, down, 0xFA, 0xFD},
                                           JoyCase{1, left, 0xFA, 0xFB}, JoyCase{1, right, 0xFA, 0xF7},
                                           JoyCase{1, rightCtrl, 0xFA, 0xBF}, JoyCase{1, up, 0xFD, 0xFF},
                                           JoyCase{2, rightCtrl, 0xFD, 0x7F}, JoyCase{2, up, 0xFD, 0xFE},
                                           JoyCase{2, up, 0xFA, 0xFF}, JoyCase{3, up, 0x00, 0xFF}));

TEST_F(Keyboard, JoystickKeysLeaveTheMatrixOnlyWhileTheJoystickIsEmulated) {
    fake.keys[up] = 0x80;
    keyboard.joystickMode = 1;
    EXPECT_EQ(scan(rowLatch(5)), 0xFF);
    keyboard.joystickMode = 0;
    EXPECT_EQ(scan(rowLatch(5)), 0xF7);
}

TEST_F(Keyboard, JoystickAndSelectedRowsCombine) {
    keyboard.joystickMode = 2;
    fake.keys[0x1E] = 0x80;  // A: row 1, column 2
    fake.keys[right] = 0x80;
    EXPECT_EQ(scan(rowLatch(1), 0xFD), 0xFB & 0xF7);
}

TEST_F(Keyboard, JoystickCodesOutsideTheScanCodeRangeMoveNothing) {
    keyboard.joystickMode = 1;
    emulatorConfig.joy1UpCode = 300;
    emulatorConfig.joy1FireCode = -1;
    applySettings(emulatorConfig);
    keyboard.joystickMode = 1;
    fake.keys[up] = 0x80;
    EXPECT_EQ(scan(rowLatch(5), 0xFA), 0xF7);  // Up is a plain key again
}

TEST_F(Keyboard, LostInputReacquiresAndKeepsThePreviousKeys) {
    fake.keys[0x1E] = 0x80;
    EXPECT_EQ(scan(rowLatch(1)), 0xFB);
    fake.keys[0x1E] = 0;
    fake.inputLostReads = 1;
    EXPECT_EQ(scan(rowLatch(1)), 0xFB);
    EXPECT_TRUE(fake.keyboardAcquired);
    EXPECT_EQ(scan(rowLatch(1)), 0xFF);
}

// A tap the host queued is read again only once the machine has scanned the last keys,
// so no change passes unseen between two pushes.
TEST_F(Keyboard, KeysAreReadAgainOnlyAfterAScan) {
    fake.keys[0x1E] = 0x80;
    EXPECT_EQ(scan(rowLatch(1)), 0xFB);  // pushed, then scanned
    fake.keys[0x1E] = 0;
    pushInput();
    EXPECT_EQ(keyboard.keyState[0x1E], 0);
    fake.keys[0x1E] = 0x80;
    const int reads = fake.keyboardReads;
    pushInput();  // no scan since the last push: the keys are not read
    EXPECT_EQ(fake.keyboardReads, reads);
    EXPECT_EQ(keyboard.keyState[0x1E], 0);
    scanKeyboard(0xFF);
    pushInput();
    EXPECT_EQ(keyboard.keyState[0x1E], 0x80);
}

TEST_F(Keyboard, FailedReadKeepsThePreviousKeys) {
    fake.failures["readKeys"] = platform::failed;
    EXPECT_EQ(scan(rowLatch(1)), 0xFF);
    fake.failures.clear();
    fake.keys[0x1E] = 0x80;
    EXPECT_EQ(scan(rowLatch(1)), 0xFB);
    fake.keys[0x1E] = 0;
    fake.failures["readKeys"] = platform::failed;
    EXPECT_EQ(scan(rowLatch(1)), 0xFB);
    EXPECT_EQ(scan(0x00), 0xFB);  // no other key appears in any row
    fake.failures.clear();
    EXPECT_EQ(scan(rowLatch(1)), 0xFF);
}

// A game controller: its events become the platform's gamepad bits, which the scan reads
// beside the keys, on the port the Joystick setting selects (port 1 without one).
struct PadCase {
    const char* name;
    PadButton button;  // pressed, unless other
    PadAxis axis;      // moved to `position`, unless other
    int16_t position;
    int mode;
    uint8_t value, expected;
};
void PrintTo(const PadCase& c, std::ostream* os) { *os << c.name; }

class Gamepad : public Keyboard, public ::testing::WithParamInterface<PadCase> {
protected:
    void TearDown() override {
        gamepadReleased();
        Keyboard::TearDown();
    }
};

TEST_P(Gamepad, EventsPullTheSelectedPortsBitsLow) {
    const PadCase& c = GetParam();
    gamepadReleased();
    gamepadButton(c.button, true);
    gamepadAxis(c.axis, c.position);
    fake.gamepad = gamepadBits();
    keyboard.joystickMode = c.mode;
    EXPECT_EQ(scan(0xFF, c.value), c.expected);
}

constexpr PadButton noButton = PadButton::other;
constexpr PadAxis noAxis = PadAxis::other;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Events, Gamepad, ::testing::Values(
    PadCase{"DpadUpWithoutJoystickIsPort1",  PadButton::dpadUp,    noAxis,         0,      0, 0xFA, 0xFE},
    PadCase{"DpadDownPort1",                 PadButton::dpadDown,  noAxis,         0,      1, 0xFB, 0xFD},
    PadCase{"DpadLeftPort2",                 PadButton::dpadLeft,  noAxis,         0,      2, 0xFD, 0xFB},
    PadCase{"DpadRightPort1NotSelected",     PadButton::dpadRight, noAxis,         0,      1, 0xFD, 0xFF},
    PadCase{"SouthIsFireOnPort1",            PadButton::south,     noAxis,         0,      1, 0xFA, 0xBF},
    PadCase{"EastIsFireOnPort2",             PadButton::east,      noAxis,         0,      2, 0xFD, 0x7F},
    PadCase{"StickLeft",                     noButton,             PadAxis::leftX, -20000, 2, 0xFD, 0xFB},
    PadCase{"StickRight",                    noButton,             PadAxis::leftX, 20000,  1, 0xFA, 0xF7},
    PadCase{"StickUp",                       noButton,             PadAxis::leftY, -20000, 1, 0xFA, 0xFE},
    PadCase{"StickDown",                     noButton,             PadAxis::leftY, 20000,  0, 0xFE, 0xFD},
    PadCase{"StickInTheDeadZone",            noButton,             PadAxis::leftX, -7000,  1, 0xFA, 0xFF},
    PadCase{"OtherButtonsDoNothing",         noButton,             noAxis,         20000,  1, 0xFA, 0xFF},
    PadCase{"NoJoystickModeScansNothing",    PadButton::south,     noAxis,         0,      3, 0x00, 0xFF}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Keyboard, GamepadAndJoystickKeysCombineAndARemovedGamepadLetsGo) {
    keyboard.joystickMode = 1;
    fake.keys[up] = 0x80;
    gamepadButton(PadButton::south, true);
    gamepadAxis(PadAxis::leftX, 32767);
    fake.gamepad = gamepadBits();
    EXPECT_EQ(scan(0xFF, 0xFA), 0xFE & 0xF7 & 0xBF);
    gamepadReleased();
    fake.gamepad = gamepadBits();
    EXPECT_EQ(scan(0xFF, 0xFA), 0xFE);
}

TEST_F(Keyboard, WithoutAJoystickTheGamepadLeavesTheCursorKeysTyping) {
    fake.keys[up] = 0x80;
    fake.gamepad = platform::gamepadFire;
    EXPECT_EQ(scan(rowLatch(5), 0xFA), 0xF7 & 0xBF);
}

}  // namespace

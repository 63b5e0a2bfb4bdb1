// Device set-up over the platform double: the log of each step, the fatal text of
// each failing step (a sound step only warns), and the sound buffers' contents.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "host/configuration.h"
#include "host/log.h"
#include "host/program.h"
#include "memory/memory.h"
#include "support/fake_platform.h"
#include "support/machine_helpers.h"

namespace {

const std::string displayLines =
    "Info: Window class registered.\n"
    "Info: Main window successfully opened.\n"
    "Info: DirectDraw DirectDrawCreate executed.\n"
    "Info: DirectDraw QueryInterface executed.\n"
    "Info: DirectDraw SetCooperativeLevel executed.\n";
const std::string keyboardLines =
    "Info: DirectInput DirectInputCreate executed.\n"
    "Info: DirectInput CreateDevice executed.\n"
    "Info: DirectInput SetDataFormat executed.\n"
    "Info: DirectInput SetCooperativeLevel executed.\n"
    "Info: DirectInput Acquire executed.\n";

std::string paletteLines(const char* modeLines) {
    return std::string(modeLines) +
           "Info: DirectDraw CreateSurface executed.\n"
           "Info: Calculated palette generated.\n"
           "Info: DirectDraw CreatePalette executed.\n"
           "Info: DirectDraw SetPalette executed.\n";
}

std::string soundLines() {
    std::string text =
        "Info: DirectSound DirectSoundCreate executed.\n"
        "Info: DirectSound SetCooperativeLevel executed.\n";
    for (char c : {'1', '2', '3'}) {
        text += std::string("Info: DirectSound CreateSoundBuffer ") + c + " executed.\n";
        text += std::string("Info: DirectSound Lock ") + c + " executed.\n";
        text += std::string("Info: DirectSound Unlock ") + c + " executed.\n";
    }
    return text + "Info: Sound system started.\n";
}

class Devices : public ::testing::Test {
protected:
    void SetUp() override {
        resetFakePlatform();
        dir = std::make_unique<ScratchDirectory>();
        emulatorConfig = EmulatorConfig{};
        ASSERT_TRUE(allocateRamBlock());
        ASSERT_TRUE(openLog());
    }
    void TearDown() override {
        closeLog();
        releaseHostDevices();
        dir.reset();
    }
    std::string log() {
        closeLog();
        return readFile(dir->file("Varnok.log"));
    }
    std::unique_ptr<ScratchDirectory> dir;
};

TEST_F(Devices, FullSetUpLogsEveryStepInOrder) {
    emulatorConfig.screenMode = 4;
    EXPECT_EQ(initHostDevices(1), 0);
    EXPECT_EQ(log(), displayLines + paletteLines("Info: DirectDraw SetDisplayMode executed.\n") +
                         "Info: 640x480 screen cleared.\n" + keyboardLines + soundLines());
    EXPECT_TRUE(fake.messageBoxes.empty());
    for (int c = 1; c <= 3; ++c) {
        EXPECT_TRUE(fake.channels[c].playing);
        EXPECT_EQ(fake.channels[c].volume, -10000);
        EXPECT_EQ(fake.channels[c].frequency, 44100u);
    }
    EXPECT_EQ(fakeSurfacePixel(639, 479), 0);  // cleared from the fake's fill pattern
}

TEST_F(Devices, ModeFiveSwitchesTwiceAndEndsAt640x400) {
    emulatorConfig.screenMode = 5;
    emulatorConfig.soundEmulation = 0;
    EXPECT_EQ(initHostDevices(1), 0);
    EXPECT_EQ(log(), displayLines +
                         paletteLines("Info: DirectDraw SetDisplayMode executed.\n"
                                      "Info: DirectDraw SetDisplayMode executed.\n") +
                         keyboardLines + "Info: Sound disabled.\n");
    EXPECT_EQ(fake.displayWidth, 640);
    EXPECT_EQ(fake.displayHeight, 400);
    EXPECT_FALSE(fake.soundCreated);
}

TEST_F(Devices, ModeXIsAllowedOnRequestAndUnknownModesKeepTheDesktop) {
    emulatorConfig.modeX = 1;
    emulatorConfig.screenMode = 9;
    EXPECT_EQ(initHostDevices(1), 0);
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "displayCooperation modex"), 1);
    for (const std::string& call : fake.calls) EXPECT_EQ(call.rfind("displayMode", 0), std::string::npos);
}

struct FailureCase {
    const char* call;
    const char* text;
};
void PrintTo(const FailureCase& f, std::ostream* os) { *os << f.call; }
class FailingStep : public Devices, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailingStep, ShowsItsTextReleasesEverythingAndReturnsTheResult) {
    fake.failures[GetParam().call] = platform::failed;
    EXPECT_EQ(initHostDevices(1), platform::failed);
    ASSERT_EQ(fake.messageBoxes.size(), 1u);
    EXPECT_EQ(fake.messageBoxes[0], GetParam().text);
    EXPECT_EQ(memory.ram, nullptr);
    EXPECT_FALSE(fake.displayCreated);
    EXPECT_FALSE(fake.keyboardCreated);
    EXPECT_FALSE(fake.soundCreated);
}
INSTANTIATE_TEST_SUITE_P(
    Steps, FailingStep,
    ::testing::Values(FailureCase{"displayObject", "Varnok Error: DirectDrawCreate FAILED"},
                      FailureCase{"displayInterface", "Varnok requires DirectX 3.0 or better!"},
                      FailureCase{"displayCooperation", "Varnok Error: SetCooperativeLevel FAILED"},
                      FailureCase{"displayMode", "Varnok Error: SetDisplayMode 320x200x8 FAILED"},
                      FailureCase{"displaySurface", "Varnok Error: CreateSurface FAILED"},
                      FailureCase{"displayPalette", "Varnok Error: CreatePalette FAILED"},
                      FailureCase{"surfacePalette", "Varnok Error: SetPalette FAILED"},
                      FailureCase{"inputObject", "Varnok Error: DirectInputCreate FAILED"},
                      FailureCase{"keyboardDevice", "Varnok Error: DirectInput->CreateDevice FAILED"},
                      FailureCase{"keyboardFormat", "Varnok Error: DirectInput->SetDataFormat FAILED"},
                      FailureCase{"keyboardCooperation",
                                  "Varnok Error: DirectInput->SetCooperativeLevel FAILED"},
                      FailureCase{"keyboardAcquired", "Varnok Error: DirectInput->Acquire FAILED"}));

class FailingSoundStep : public Devices, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailingSoundStep, LeavesTheMachineRunningSilentAndSaysWhy) {
    fake.failures[GetParam().call] = platform::failed;
    EXPECT_EQ(initHostDevices(1), 0);
    EXPECT_TRUE(fake.messageBoxes.empty());
    EXPECT_FALSE(fake.soundCreated);
    EXPECT_TRUE(fake.keyboardCreated);
    EXPECT_NE(memory.ram, nullptr);
    const std::string text = log();
    EXPECT_NE(text.find(std::string("Warning: ") + GetParam().text + "; running without sound.\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Sound system started"), std::string::npos);
}
INSTANTIATE_TEST_SUITE_P(
    Steps, FailingSoundStep,
    ::testing::Values(FailureCase{"soundObject", "DirectSoundCreate FAILED"},
                      FailureCase{"soundCooperation", "DirectSound->SetCooperativeLevel FAILED"},
                      FailureCase{"soundBuffer", "DirectSound->CreateSoundBuffer FAILED"},
                      FailureCase{"soundLock", "DirectSound->Lock FAILED"},
                      FailureCase{"soundUnlock", "DirectSound->UnLock FAILED"}));

TEST_F(Devices, WindowThatCannotBeCreatedFailsWithoutABox) {
    fake.failures["openWindow"] = platform::failed;
    EXPECT_NE(initHostDevices(1), 0);
    EXPECT_TRUE(fake.messageBoxes.empty());
}

TEST_F(Devices, ChannelSettingFailuresOnlyWarn) {
    fake.failures["voiceRate"] = platform::failed;
    EXPECT_EQ(initHostDevices(1), 0);
    std::string text = log();
    for (char c : {'1', '2', '3'})
        EXPECT_NE(text.find(std::string("Warning: Cannot set frequency for sound channel ") + c + ".\n"),
                  std::string::npos);
    EXPECT_TRUE(fake.channels[2].playing);
    EXPECT_TRUE(fake.messageBoxes.empty());
}

TEST_F(Devices, SquareBuffersStartLowAndNoiseFollowsSeed27) {
    EXPECT_EQ(initHostDevices(1), 0);
    for (int c = 1; c <= 2; ++c)
        for (int i = 0; i < 1024; ++i) ASSERT_EQ(fake.channels[c].samples[i], (i & 16) ? 32767 : -32768) << i;
    uint32_t state = 27;
    const auto& noise = fake.channels[3].samples;
    for (int i = 0; i < 1024; ++i) {
        state = state * 214013u + 2531011u;
        ASSERT_EQ(noise[i], int((state >> 16) & 32767) - 32768) << i;
        ASSERT_LT(noise[i], 0);
    }
    std::vector<int16_t> first = noise;
    releaseHostDevices();
    ASSERT_TRUE(allocateRamBlock());
    EXPECT_EQ(initHostDevices(1), 0);
    EXPECT_EQ(fake.channels[3].samples, first);
}

TEST_F(Devices, ReleaseGoesSoundKeyboardDisplayAndIsIdempotent) {
    EXPECT_EQ(initHostDevices(1), 0);
    fake.calls.clear();
    releaseHostDevices();
    releaseHostDevices();
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"closeSound", "closeKeyboard", "closeDisplay"}));
    EXPECT_EQ(memory.ram, nullptr);
}

}  // namespace

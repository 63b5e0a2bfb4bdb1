#pragma once
// The platform test double: a headless, deterministic host whose clock, keys,
// messages, surface and sound channels the tests set and inspect directly.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

struct FakeSoundChannel {
    bool exists = false;
    bool playing = false;
    uint32_t frequency = 44100;
    int32_t pan = 0;
    int32_t volume = 0;
    std::vector<int16_t> samples = std::vector<int16_t>(1024, 0);
};

struct FakePlatform {
    // Clock: every counter read advances it by counterStep ticks.
    uint64_t frequency = 10'000'000;
    uint64_t counter = 0;
    uint64_t counterStep = 0;
    // Each sleep in microseconds; a sleep moves the clock on by exactly its length.
    std::vector<uint32_t> sleeps;
    platform::LocalTime time{12, 34, 56};
    int32_t priorityClass = platform::priorityNormal;
    bool priorityChangeFails = false;

    // Operating-system strings; empty means "not available".
    std::string osName = "Test OS", osVersionText = "1.0", osBuildText = "42";

    // Message boxes shown, in order, and whether each had an owner.
    std::vector<std::string> messageBoxes;
    std::vector<bool> messageBoxOwned;

    // Window and message queue.
    bool windowCreated = false;
    std::deque<platform::Message> messages;
    int waitMessageCalls = 0;
    std::function<void()> onWaitMessage;           // called when waitMessage finds the queue empty
    std::map<uint32_t, std::string> droppedFiles;  // by drop, until taken

    // A set-up step (named as platform::SetUpStep, e.g. "displayMode") or a call (e.g.
    // "readKeys") named here fails with the given result.
    std::map<std::string, platform::Result> failures;
    // Journal of device calls and steps with their arguments, e.g. "displayMode 640x400".
    std::vector<std::string> calls;

    // Display.
    bool displayCreated = false;
    int displayWidth = 0, displayHeight = 0;
    std::vector<uint8_t> surface;    // what the display shows before any picture
    const uint8_t* shown = nullptr;  // the last picture shown, shownPitch bytes a line
    int shownPitch = 0;
    std::array<platform::PaletteEntry, 256> palette{};
    int lostPresents = 0;  // this many presents report surfaceLost
    int presentCount = 0;  // pictures shown
    int framesNotPresented = 0;
    bool fullScreen = true;
    int windowScale = 0;        // as placed before the window opened
    int chosenWindowScale = 0;  // as if the user had resized the window
    int verticalBlankWaits = 0;
    std::function<void()> onPresent;        // after every picture shown
    std::function<void()> onVerticalBlank;  // at every vertical-blank wait

    // Keyboard.
    bool keyboardCreated = false, keyboardAcquired = false;
    std::array<uint8_t, 256> keys{};
    int inputLostReads = 0;  // this many reads report inputLost first
    int keyboardReads = 0;
    std::function<void()> onKeyboardRead;  // before every state read
    uint8_t gamepad = 0;                   // platform::GamepadBits

    // Sound: voices 1..3.
    bool soundCreated = false;
    std::array<FakeSoundChannel, 4> channels{};

    std::function<void()> onDestroyWindow;
};

extern FakePlatform fake;

// Puts the double back to its initial state; the tests call it in SetUp.
void resetFakePlatform();

// Opens the fake's display in a mode of this size, and the shell's pictures with it.
void openFakeDisplay(int width, int height);

// Reads a pixel of the last picture shown.
uint8_t fakeSurfacePixel(int x, int y);

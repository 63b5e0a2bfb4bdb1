#include "support/fake_platform.h"

#include <cstring>

#include "shell/presentation.h"
#include "shell/shell.h"

FakePlatform fake;

// The window procedure goes with the window the double stood for.
void resetFakePlatform() {
    fake = FakePlatform{};
    setWindowProc(nullptr);
}

void openFakeDisplay(int width, int height) {
    fake.windowCreated = true;
    platform::DisplaySetUp setUp;
    setUp.modeCount = 1;
    setUp.modes[0] = {width, height};
    platform::openDisplay(setUp);
    setPictureSize(width, height);
}

// Before any picture is shown the display holds the fake's fill pattern.
uint8_t fakeSurfacePixel(int x, int y) {
    if (!fake.shown) return fake.surface.at(static_cast<size_t>(y) * fake.displayWidth + x);
    return fake.shown[static_cast<size_t>(y) * fake.shownPitch + x];
}

namespace {

using platform::Result;
using platform::SetUpReport;
using platform::SetUpStep;

Result injected(const std::string& name) {
    auto it = fake.failures.find(name);
    return it == fake.failures.end() ? platform::ok : it->second;
}

Result journal(const std::string& name, const std::string& args = {}) {
    fake.calls.push_back(args.empty() ? name : name + " " + args);
    return injected(name);
}

// The set-up steps by name, as the tests inject their failures.
constexpr const char* stepNames[platform::setUpDone] = {
    "displayObject",       "displayInterface", "displayCooperation", "displayMode",      "displaySurface",
    "displayPalette",      "surfacePalette",   "inputObject",        "keyboardDevice",   "keyboardFormat",
    "keyboardCooperation", "keyboardAcquired", "soundObject",        "soundCooperation", "soundBuffer",
    "soundLock",           "soundUnlock",
};

// Runs the step: false (with the report filled in) when the test made it fail.
bool step(SetUpReport& report, SetUpStep which, const std::string& args = {}, int index = 0) {
    const Result r = journal(stepNames[which], args);
    if (r == platform::ok) return true;
    report.result = r;
    report.failedAt = which;
    report.index = index;
    return false;
}

}  // namespace

namespace platform {

uint64_t performanceFrequency() { return fake.frequency; }

uint64_t performanceCounter() {
    fake.counter += fake.counterStep;
    return fake.counter;
}

void sleepMicroseconds(uint32_t microseconds) {
    fake.sleeps.push_back(microseconds);
    fake.counter += microseconds * fake.frequency / 1'000'000;
}

int32_t getPriorityClass() { return fake.priorityClass; }

bool setPriorityClass(int32_t priorityClass) {
    fake.calls.push_back("setPriorityClass " + std::to_string(priorityClass));
    if (fake.priorityChangeFails) return false;
    fake.priorityClass = priorityClass;
    return true;
}

LocalTime localTime() { return fake.time; }

void messageBox(const char* text, const char* caption, bool owned) {
    (void)caption;
    fake.messageBoxes.emplace_back(text);
    fake.messageBoxOwned.push_back(owned);
}

SystemDescription describeSystem() { return {fake.osName, fake.osVersionText, fake.osBuildText}; }

WindowOpened openWindow(const WindowPlacement& placement) {
    if (journal("windowSystem") != ok) return WindowOpened::noDisplay;
    fake.fullScreen = !placement.windowed;
    fake.windowScale = placement.scale;
    if (journal("openWindow", placement.shown ? "shown" : "hidden") != ok) return WindowOpened::noWindow;
    fake.windowCreated = true;
    return WindowOpened::opened;
}

bool windowExists() { return fake.windowCreated; }

void destroyWindow() {
    if (!fake.windowCreated) return;
    fake.calls.emplace_back("destroyWindow");
    fake.windowCreated = false;
    closeDisplay();
    if (fake.onDestroyWindow) fake.onDestroyWindow();
}

bool takeMessage(Message& message) {
    if (fake.messages.empty()) return false;
    message = fake.messages.front();
    fake.messages.pop_front();
    return true;
}

void waitMessage() {
    ++fake.waitMessageCalls;
    if (fake.messages.empty() && fake.onWaitMessage) fake.onWaitMessage();
    // A test that leaves the queue empty gets a quit message rather than a hang.
    if (fake.messages.empty()) fake.messages.push_back(Message{msgQuit, 0});
}

void postMessage(const Message& message) {
    if (message.type == msgClose) fake.calls.emplace_back("postMessage close");
    fake.messages.push_back(message);
}

bool takeDroppedFile(uint32_t drop, char* path, int size) {
    const auto found = fake.droppedFiles.find(drop);
    if (found == fake.droppedFiles.end()) return false;
    const std::string name = found->second;
    fake.droppedFiles.erase(found);
    if (static_cast<int>(name.size()) >= size) return false;
    std::memcpy(path, name.c_str(), name.size() + 1);
    return true;
}

SetUpReport openDisplay(const DisplaySetUp& setUp) {
    SetUpReport report;
    if (!step(report, displayObject)) return report;
    fake.displayCreated = true;
    if (!step(report, displayInterface) ||
        !step(report, displayCooperation, setUp.allowModeX ? "modex" : "exclusive"))
        return report;
    for (int i = 0; i < setUp.modeCount; ++i) {
        const auto& mode = setUp.modes[i];
        if (!step(report, displayMode, std::to_string(mode.width) + "x" + std::to_string(mode.height), i))
            return report;
        fake.displayWidth = mode.width;
        fake.displayHeight = mode.height;
    }
    if (!step(report, displaySurface)) return report;
    fake.shown = nullptr;  // a new display shows nothing yet
    fake.surface.assign(static_cast<size_t>(fake.displayWidth) * fake.displayHeight, 0xEE);
    if (!step(report, displayPalette)) return report;
    std::memcpy(fake.palette.data(), setUp.palette, sizeof setUp.palette);
    step(report, surfacePalette);
    return report;
}

Result present(const uint8_t* pixels, int pitch) {
    if (fake.lostPresents > 0) {
        --fake.lostPresents;
        return surfaceLost;
    }
    if (Result r = injected("present"); r != ok) return r;
    if (fake.surface.empty()) return failed;
    // The picture stays the caller's until the next present: the display shows it as it is.
    fake.shown = pixels;
    fake.shownPitch = pitch;
    ++fake.presentCount;
    if (fake.onPresent) fake.onPresent();
    return ok;
}

void frameNotPresented() { ++fake.framesNotPresented; }

Result waitForVerticalBlank() {
    ++fake.verticalBlankWaits;
    if (fake.onVerticalBlank) fake.onVerticalBlank();
    return injected("waitForVerticalBlank");
}

void closeDisplay() {
    if (!fake.displayCreated) return;
    fake.calls.emplace_back("closeDisplay");
    fake.displayCreated = false;
}

bool fullScreen() { return fake.fullScreen; }

int chosenWindowScale() { return fake.chosenWindowScale; }

Result setFullScreen(bool on) {
    const Result r = journal("setFullScreen", on ? "on" : "off");
    if (r == ok) fake.fullScreen = on;
    return r;
}

SetUpReport openKeyboard() {
    SetUpReport report;
    if (!step(report, inputObject) || !step(report, keyboardDevice)) return report;
    fake.keyboardCreated = true;
    if (!step(report, keyboardFormat) || !step(report, keyboardCooperation) ||
        !step(report, keyboardAcquired))
        return report;
    fake.keyboardAcquired = true;
    return report;
}

Result readKeys(uint8_t state[256]) {
    ++fake.keyboardReads;
    if (fake.onKeyboardRead) fake.onKeyboardRead();
    if (fake.inputLostReads > 0) {
        --fake.inputLostReads;
        fake.keyboardAcquired = injected("keyboardAcquired") == ok;  // taken again
        return inputLost;
    }
    if (Result r = injected("readKeys"); r != ok) return r;
    std::memcpy(state, fake.keys.data(), 256);
    return ok;
}

uint8_t gamepadState() { return fake.gamepad; }

void closeKeyboard() {
    if (!fake.keyboardCreated) return;
    fake.calls.emplace_back("closeKeyboard");
    fake.keyboardCreated = fake.keyboardAcquired = false;
}

SoundReport openSound(const SoundSetUp& setUp) {
    SoundReport report;
    if (!step(report, soundObject)) return report;
    fake.soundCreated = true;
    if (!step(report, soundCooperation)) return report;
    for (int voice = 1; voice <= 3; ++voice) {
        const std::string number = std::to_string(voice);
        if (!step(report, soundBuffer, number, voice)) return report;
        FakeSoundChannel& channel = fake.channels.at(voice);
        channel = FakeSoundChannel{true};
        if (!step(report, soundLock, number, voice)) return report;
        channel.samples.assign(setUp.loops[voice - 1], setUp.loops[voice - 1] + voiceSamples);
        if (!step(report, soundUnlock, number, voice)) return report;
        const struct {
            const char* name;
            uint8_t warning;
        } settings[] = {{"voiceRate", rateNotSet},
                        {"voicePan", panNotSet},
                        {"voiceVolume", volumeNotSet},
                        {"voicePlay", notPlaying}};
        for (const auto& setting : settings)
            if (injected(setting.name) != ok) report.warnings[voice] |= setting.warning;
        channel.frequency = voiceRate;
        channel.volume = silentVolume;
        channel.playing = !(report.warnings[voice] & notPlaying);
    }
    return report;
}

bool voicePlays(int voice) { return voice >= 1 && voice <= 3 && fake.channels[voice].exists; }

Result setVoiceRate(int voice, uint32_t samplesPerSecond) {
    if (!voicePlays(voice)) return failed;
    fake.channels[voice].frequency = samplesPerSecond;
    return ok;
}

Result setVoiceVolume(int voice, int32_t hundredthsOfDecibel) {
    if (!voicePlays(voice)) return failed;
    fake.channels[voice].volume = hundredthsOfDecibel;
    return ok;
}

void closeSound() {
    if (!fake.soundCreated) return;
    fake.calls.emplace_back("closeSound");
    for (auto& c : fake.channels) c = FakeSoundChannel{};
    fake.soundCreated = false;
}

}  // namespace platform

#include "support/fake_platform.h"

#include <cstdio>
#include <cstring>

FakePlatform fake;

void resetFakePlatform() { fake = FakePlatform{}; }

uint8_t fakeSurfacePixel(int x, int y) {
    int pitch = fake.surfacePitch ? fake.surfacePitch : fake.displayWidth;
    return fake.surface.at(static_cast<size_t>(y) * pitch + x);
}

namespace {

platform::Result injected(const char* name) {
    auto it = fake.failures.find(name);
    return it == fake.failures.end() ? platform::ok : it->second;
}

platform::Result journal(const char* name, const std::string& args = {}) {
    fake.calls.push_back(args.empty() ? std::string(name) : std::string(name) + " " + args);
    return injected(name);
}

bool copyText(const std::string& text, char* buffer, int size) {
    if (text.empty() || size <= 0) return false;
    std::snprintf(buffer, static_cast<size_t>(size), "%s", text.c_str());
    return true;
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
bool osProductName(char* buffer, int size) { return copyText(fake.osName, buffer, size); }
bool osVersion(char* buffer, int size) { return copyText(fake.osVersionText, buffer, size); }
bool osBuild(char* buffer, int size) { return copyText(fake.osBuildText, buffer, size); }

bool registerWindowClass() {
    if (journal("registerWindowClass") != ok) return false;
    fake.windowClassRegistered = true;
    return true;
}
void setWindowPlacement(bool windowed, int scale) {
    fake.fullScreen = !windowed;
    fake.windowScale = scale;
}

bool createMainWindow(int showCommand) {
    if (journal("createMainWindow", std::to_string(showCommand)) != ok) return false;
    fake.windowCreated = true;
    return true;
}
bool windowExists() { return fake.windowCreated; }
void destroyMainWindow() {
    if (!fake.windowCreated) return;
    fake.calls.emplace_back("destroyMainWindow");
    fake.windowCreated = false;
    if (fake.onDestroyWindow) fake.onDestroyWindow();
    if (fake.windowProc) fake.windowProc(Message{msgDestroy, 0});
}
bool peekMessage(Message& message) {
    if (fake.messages.empty()) return false;
    message = fake.messages.front();
    fake.messages.pop_front();
    return true;
}
bool messageWaiting() { return !fake.messages.empty(); }
void waitMessage() {
    ++fake.waitMessageCalls;
    if (fake.messages.empty() && fake.onWaitMessage) fake.onWaitMessage();
    // A test that leaves the queue empty gets a quit message rather than a hang.
    if (fake.messages.empty()) fake.messages.push_back(Message{msgQuit, 0});
}
bool getMessage(Message& message) {
    waitMessage();
    peekMessage(message);
    return message.type != msgQuit;
}
void dispatchMessage(const Message& message) {
    if (fake.windowProc) fake.windowProc(message);
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
void postQuitMessage(int32_t exitCode) {
    fake.messages.push_back(Message{msgQuit, static_cast<uint32_t>(exitCode)});
}
void postCloseRequest() {
    fake.calls.emplace_back("postCloseRequest");
    fake.messages.push_back(Message{msgClose, 0});
}
void setWindowProc(WindowProc proc) { fake.windowProc = proc; }

Result directDrawCreate() {
    Result r = journal("directDrawCreate");
    if (r == ok) fake.displayCreated = true;
    return r;
}
Result queryDirectDraw2() { return journal("queryDirectDraw2"); }
Result setDisplayCooperativeLevel(bool allowModeX) {
    return journal("setDisplayCooperativeLevel", allowModeX ? "modex" : "exclusive");
}
Result setDisplayMode(int width, int height) {
    Result r = journal("setDisplayMode", std::to_string(width) + "x" + std::to_string(height));
    if (r == ok) {
        fake.displayWidth = width;
        fake.displayHeight = height;
        int pitch = fake.surfacePitch ? fake.surfacePitch : width;
        fake.surface.assign(static_cast<size_t>(pitch) * height, 0xEE);
    }
    return r;
}
Result createPrimarySurface() {
    Result r = journal("createPrimarySurface");
    if (r == ok) fake.surfaceCreated = true;
    return r;
}
Result createPalette(const PaletteEntry entries[256]) {
    Result r = journal("createPalette");
    if (r == ok) {
        std::memcpy(fake.palette.data(), entries, sizeof(PaletteEntry) * 256);
        fake.paletteCreated = true;
    }
    return r;
}
Result setSurfacePalette() { return journal("setSurfacePalette"); }
Result lockSurface(uint8_t*& pixels, int& pitch) {
    if (fake.stillDrawingLocks > 0) {
        --fake.stillDrawingLocks;
        return wasStillDrawing;
    }
    if (fake.lostLocks > 0) {
        --fake.lostLocks;
        return surfaceLost;
    }
    if (Result r = injected("lockSurface"); r != ok) return r;
    if (fake.surface.empty()) return failed;
    pixels = fake.surface.data();
    pitch = fake.surfacePitch ? fake.surfacePitch : fake.displayWidth;
    return ok;
}
Result unlockSurface() {
    ++fake.presentCount;
    if (fake.onPresent) fake.onPresent();
    return ok;
}
void frameNotPresented() { ++fake.framesNotPresented; }
Result restoreSurface() {
    ++fake.restoreCalls;
    return ok;
}
Result waitForVerticalBlank() {
    ++fake.verticalBlankWaits;
    if (fake.onVerticalBlank) fake.onVerticalBlank();
    return injected("waitForVerticalBlank");
}
void releaseDisplay() {
    if (!fake.displayCreated) return;
    fake.calls.emplace_back("releaseDisplay");
    fake.displayCreated = fake.surfaceCreated = fake.paletteCreated = false;
}

bool fullScreen() { return fake.fullScreen; }
int chosenWindowScale() { return fake.chosenWindowScale; }
Result setFullScreen(bool on) {
    const Result r = journal("setFullScreen", on ? "on" : "off");
    if (r == ok) fake.fullScreen = on;
    return r;
}

Result directInputCreate() { return journal("directInputCreate"); }
Result createKeyboardDevice() {
    Result r = journal("createKeyboardDevice");
    if (r == ok) fake.keyboardCreated = true;
    return r;
}
Result setKeyboardDataFormat() { return journal("setKeyboardDataFormat"); }
Result setKeyboardCooperativeLevel() { return journal("setKeyboardCooperativeLevel"); }
Result acquireKeyboard() {
    Result r = injected("acquireKeyboard");
    if (r == ok) fake.keyboardAcquired = true;
    return r;
}
Result getKeyboardState(uint8_t state[256]) {
    ++fake.keyboardReads;
    if (fake.onKeyboardRead) fake.onKeyboardRead();
    if (fake.inputLostReads > 0) {
        --fake.inputLostReads;
        fake.keyboardAcquired = false;
        return inputLost;
    }
    if (Result r = injected("getKeyboardState"); r != ok) return r;
    std::memcpy(state, fake.keys.data(), 256);
    return ok;
}
uint8_t gamepadState() { return fake.gamepad; }
void releaseKeyboard() {
    if (!fake.keyboardCreated) return;
    fake.calls.emplace_back("releaseKeyboard");
    fake.keyboardCreated = fake.keyboardAcquired = false;
}

Result directSoundCreate() {
    Result r = journal("directSoundCreate");
    if (r == ok) fake.soundCreated = true;
    return r;
}
Result setSoundCooperativeLevel() { return journal("setSoundCooperativeLevel"); }
Result createSoundBuffer(int channel) {
    Result r = journal("createSoundBuffer", std::to_string(channel));
    if (r == ok) fake.channels.at(channel) = FakeSoundChannel{true};
    return r;
}
Result lockSoundBuffer(int channel, int16_t*& part1, uint32_t& bytes1, int16_t*& part2, uint32_t& bytes2) {
    if (Result r = journal("lockSoundBuffer", std::to_string(channel)); r != ok) return r;
    part1 = fake.channels.at(channel).samples.data();
    bytes1 = 2048;
    part2 = nullptr;
    bytes2 = 0;
    return ok;
}
Result unlockSoundBuffer(int channel) { return journal("unlockSoundBuffer", std::to_string(channel)); }
Result setSoundFrequency(int channel, uint32_t samplesPerSecond) {
    if (Result r = injected("setSoundFrequency"); r != ok) return r;
    fake.channels.at(channel).frequency = samplesPerSecond;
    return ok;
}
Result setSoundPan(int channel, int32_t pan) {
    if (Result r = injected("setSoundPan"); r != ok) return r;
    fake.channels.at(channel).pan = pan;
    return ok;
}
Result setSoundVolume(int channel, int32_t hundredthsOfDecibel) {
    if (Result r = injected("setSoundVolume"); r != ok) return r;
    fake.channels.at(channel).volume = hundredthsOfDecibel;
    return ok;
}
Result getSoundVolume(int channel, int32_t& hundredthsOfDecibel) {
    hundredthsOfDecibel = fake.channels.at(channel).volume;
    return ok;
}
Result playSoundLooping(int channel) {
    if (Result r = injected("playSoundLooping"); r != ok) return r;
    fake.channels.at(channel).playing = true;
    return ok;
}
bool soundChannelExists(int channel) { return channel >= 1 && channel <= 3 && fake.channels[channel].exists; }
void releaseSound() {
    if (!fake.soundCreated) return;
    fake.calls.emplace_back("releaseSound");
    for (auto& c : fake.channels) c = FakeSoundChannel{};
    fake.soundCreated = false;
}

}  // namespace platform

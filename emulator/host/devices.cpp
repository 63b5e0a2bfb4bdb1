// The window, display, keyboard and sound devices: created once at start in a
// fixed order with one log line per step, released in the reverse order. Every device
// but sound is needed to run.
#include <cstdio>

#include "host/configuration.h"
#include "host/frame_end.h"
#include "host/log.h"
#include "host/program.h"
#include "memory/memory.h"
#include "platform/platform.h"
#include "ted/palette.h"

namespace {

using platform::Result;

struct DisplayMode {
    int width, height;
};
struct ScreenModeSwitches {
    int count;
    DisplayMode modes[2];
    const char* failureText;
};
// The display-mode switches of each ScreenMode; mode 5 passes through 640 x 480.
constexpr ScreenModeSwitches screenModes[7] = {
    {1, {{320, 200}}, "Varnok Error: SetDisplayMode 320x200x8 FAILED"},
    {1, {{400, 300}}, "Varnok Error: SetDisplayMode 400x300x8 FAILED"},
    {1, {{512, 384}}, "Varnok Error: SetDisplayMode 512x384x8 FAILED"},
    {1, {{320, 240}}, "Varnok Error: SetDisplayMode 320x240x8 FAILED"},
    {1, {{640, 480}}, "Varnok Error: SetDisplayMode 640x480x8 FAILED"},
    {2, {{640, 480}, {640, 400}}, "Varnok Error: SetDisplayMode 640x480x8 FAILED"},
    {1, {{800, 600}}, "Varnok Error: SetDisplayMode 800x600x8 FAILED"},
};

int screenWidth, screenHeight;

Result setCooperativeLevel() { return platform::setDisplayCooperativeLevel(emulatorConfig.modeX != 0); }
Result setScreenMode();
Result createPalette();

enum class Device : uint8_t { display, keyboard, sound };

// The device set-up, call by call in its order, with the start-up log's line for each call
// that succeeded and the text that reports its failure. A failure ends start-up, except
// for sound, which the machine can do without. The screen mode reports its own lines.
struct Step {
    Device device;
    Result (*call)();
    const char* failureText;  // null: the call reports itself
    const char* logText;
};
// clang-format off
constexpr Step setUpSteps[] = {
    {Device::display,  platform::directDrawCreate, "Varnok Error: DirectDrawCreate FAILED", "Info: DirectDraw DirectDrawCreate executed.\n"},
    {Device::display,  platform::queryDirectDraw2, "Varnok requires DirectX 3.0 or better!", "Info: DirectDraw QueryInterface executed.\n"},
    {Device::display,  setCooperativeLevel, "Varnok Error: SetCooperativeLevel FAILED", "Info: DirectDraw SetCooperativeLevel executed.\n"},
    {Device::display,  setScreenMode, nullptr, nullptr},
    {Device::display,  platform::createPrimarySurface, "Varnok Error: CreateSurface FAILED", "Info: DirectDraw CreateSurface executed.\n"},
    {Device::display,  createPalette, "Varnok Error: CreatePalette FAILED", "Info: DirectDraw CreatePalette executed.\n"},
    {Device::display,  platform::setSurfacePalette, "Varnok Error: SetPalette FAILED", "Info: DirectDraw SetPalette executed.\n"},
    {Device::keyboard, platform::directInputCreate, "Varnok Error: DirectInputCreate FAILED", "Info: DirectInput DirectInputCreate executed.\n"},
    {Device::keyboard, platform::createKeyboardDevice, "Varnok Error: DirectInput->CreateDevice FAILED", "Info: DirectInput CreateDevice executed.\n"},
    {Device::keyboard, platform::setKeyboardDataFormat, "Varnok Error: DirectInput->SetDataFormat FAILED", "Info: DirectInput SetDataFormat executed.\n"},
    {Device::keyboard, platform::setKeyboardCooperativeLevel, "Varnok Error: DirectInput->SetCooperativeLevel FAILED", "Info: DirectInput SetCooperativeLevel executed.\n"},
    {Device::keyboard, platform::acquireKeyboard, "Varnok Error: DirectInput->Acquire FAILED", "Info: DirectInput Acquire executed.\n"},
    {Device::sound,    platform::directSoundCreate, "DirectSoundCreate FAILED", "Info: DirectSound DirectSoundCreate executed.\n"},
    {Device::sound,    platform::setSoundCooperativeLevel, "DirectSound->SetCooperativeLevel FAILED", "Info: DirectSound SetCooperativeLevel executed.\n"},
};
// clang-format on

Result fail(Result result, const char* text) {
    return static_cast<Result>(fatalError(true, result, "%s", text));
}

// The device's steps in order; the first failure is reported and returned, with the
// failing step for the caller that reports it itself.
Result runSteps(Device device, const Step** failing = nullptr) {
    for (const Step& step : setUpSteps) {
        if (step.device != device) continue;
        const Result r = step.call();
        if (r == platform::ok) {
            if (step.logText) logLine("%s", step.logText);
            continue;
        }
        if (failing) {
            *failing = &step;
            return r;
        }
        return step.failureText ? fail(r, step.failureText) : r;
    }
    return platform::ok;
}

Result setScreenMode() {
    int32_t mode = emulatorConfig.screenMode;
    if (mode < 0 || mode > 6) return platform::ok;  // the desktop mode stays
    const ScreenModeSwitches& switches = screenModes[mode];
    for (int i = 0; i < switches.count; ++i) {
        const DisplayMode& m = switches.modes[i];
        Result r = platform::setDisplayMode(m.width, m.height);
        if (r != platform::ok) return fail(r, switches.failureText);
        screenWidth = m.width;
        screenHeight = m.height;
        logLine("Info: DirectDraw SetDisplayMode executed.\n");
    }
    return platform::ok;
}

// Modes whose picture does not fill the screen start from a black screen.
void clearScreen() {
    int32_t mode = emulatorConfig.screenMode;
    if (mode != 2 && mode != 4 && mode != 6) return;
    uint8_t* pixels = nullptr;
    int pitch = 0;
    Result r;
    do r = platform::lockSurface(pixels, pitch);
    while (r == platform::wasStillDrawing);
    if (r == platform::ok) {
        for (int y = 0; y < screenHeight; ++y)
            for (int x = 0; x < screenWidth; ++x) pixels[static_cast<size_t>(y) * pitch + x] = 0;
        platform::unlockSurface();
    }
    logLine("Info: %dx%d screen cleared.\n", screenWidth, screenHeight);
}

// The TED's palette, as the settings choose it, in the platform's entry form.
Result createPalette() {
    buildPalette(emulatorConfig.palette);
    platform::PaletteEntry entries[256];
    for (int i = 0; i < 256; ++i) {
        const PaletteColour& c = paletteEntries[i];
        entries[i] = {c.red, c.green, c.blue, c.flags};
    }
    return platform::createPalette(entries);
}

Result setUpDisplay() {
    if (Result r = runSteps(Device::display); r != platform::ok) return r;
    clearScreen();
    return platform::ok;
}

// A 32-sample square period starting low: the sound code sets a tone of f Hz as rate 32 f.
void fillSquare(int16_t* samples, uint32_t count, uint32_t first) {
    for (uint32_t i = 0; i < count; ++i) samples[i] = ((first + i) & 16) ? 32767 : -32768;
}

uint32_t noiseState;
void fillNoise(int16_t* samples, uint32_t count, uint32_t) {
    for (uint32_t i = 0; i < count; ++i) {
        noiseState = noiseState * 214013u + 2531011u;
        int32_t r = static_cast<int32_t>((noiseState >> 16) & 32767);
        samples[i] = static_cast<int16_t>(r % 65535 - 32768);
    }
}

constexpr uint32_t bufferSamples = 1024;

void fillRegions(int channel, int16_t* part1, uint32_t bytes1, int16_t* part2, uint32_t bytes2) {
    auto fill = channel == 3 ? fillNoise : fillSquare;
    if (channel == 3) noiseState = 27;
    uint32_t count1 = part1 ? bytes1 / 2 : 0, count2 = part2 ? bytes2 / 2 : 0;
    if (count1 > bufferSamples) count1 = bufferSamples;
    if (count2 > bufferSamples - count1) count2 = bufferSamples - count1;
    fill(part1, count1, 0);
    fill(part2, count2, count1);
}

void warnUnless(Result result, const char* what, int channel) {
    if (result != platform::ok) logLine("Warning: Cannot %s sound channel %d.\n", what, channel);
}

// The text of the step that failed, or none when the channel plays.
const char* setUpChannel(int channel) {
    if (platform::createSoundBuffer(channel) != platform::ok) return "DirectSound->CreateSoundBuffer FAILED";
    logLine("Info: DirectSound CreateSoundBuffer %d executed.\n", channel);
    int16_t *part1 = nullptr, *part2 = nullptr;
    uint32_t bytes1 = 0, bytes2 = 0;
    if (platform::lockSoundBuffer(channel, part1, bytes1, part2, bytes2) != platform::ok)
        return "DirectSound->Lock FAILED";
    logLine("Info: DirectSound Lock %d executed.\n", channel);
    fillRegions(channel, part1, bytes1, part2, bytes2);
    if (platform::unlockSoundBuffer(channel) != platform::ok) return "DirectSound->UnLock FAILED";
    logLine("Info: DirectSound Unlock %d executed.\n", channel);
    warnUnless(platform::setSoundFrequency(channel, 44100), "set frequency for", channel);
    warnUnless(platform::setSoundPan(channel, 0), "set pan for", channel);
    warnUnless(platform::setSoundVolume(channel, -10000), "set volume for", channel);
    warnUnless(platform::playSoundLooping(channel), "play", channel);
    return nullptr;
}

// The text of the step that failed, or none when all three channels play.
const char* startSound() {
    const Step* failing = nullptr;
    if (runSteps(Device::sound, &failing) != platform::ok) return failing->failureText;
    for (int channel = 1; channel <= 3; ++channel)
        if (const char* failure = setUpChannel(channel)) return failure;
    return nullptr;
}

// Sound is the one device the machine can do without: a host with no sound device (or
// one taken by another program) runs silent and says so once.
void setUpSound() {
    if (emulatorConfig.soundEmulation != 1) {
        logLine("Info: Sound disabled.\n");
        return;
    }
    const char* failure = startSound();
    if (!failure) {
        logLine("Info: Sound system started.\n");
        return;
    }
    platform::releaseSound();
    logLine("Warning: %s; running without sound.\n", failure);
    std::fputs("varnok: no sound device could be opened; running without sound\n", stderr);
    showNotice("NO SOUND DEVICE: RUNNING SILENT");
}

}  // namespace

int32_t initHostDevices(int showCommand) {
    // The backend has said on standard error why there is no display or no window.
    if (!platform::registerWindowClass()) {
        logLine("Error: No display available.\n");
        return platform::failed;
    }
    logLine("Info: Window class registered.\n");
    platform::setWindowProc(windowProc);
    platform::setWindowPlacement(emulatorConfig.windowed != 0, emulatorConfig.windowScale);
    if (!platform::createMainWindow(showCommand)) {
        logLine("Error: Cannot open the main window.\n");
        return platform::failed;
    }
    logLine("Info: Main window successfully opened.\n");
    if (Result r = setUpDisplay(); r != platform::ok) return r;
    if (Result r = runSteps(Device::keyboard); r != platform::ok) return r;
    setUpSound();
    return platform::ok;
}

void releaseHostDevices() {
    platform::releaseSound();
    platform::releaseKeyboard();
    platform::releaseDisplay();
    releaseRamBlock();
}

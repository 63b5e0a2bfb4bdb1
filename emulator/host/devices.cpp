// The window, display, keyboard and sound devices: opened once at start in a fixed
// order with one log line per set-up step, closed in the reverse order. Every device
// but sound is needed to run.
#include <cstdio>

#include "host/configuration.h"
#include "host/frame_end.h"
#include "host/log.h"
#include "host/program.h"
#include "memory/memory.h"
#include "platform/platform.h"
#include "shell/presentation.h"
#include "ted/palette.h"

namespace {

using platform::Result;
using platform::SetUpReport;
using platform::SetUpStep;

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

// What the start-up log says of each set-up step: its line once done (the voice's
// number in place of %d), and the text that reports its failure. A failure ends
// start-up, except for sound, which the machine can do without.
struct StepText {
    SetUpStep step;
    const char* doneText;
    const char* failureText;  // a screen mode's switch names its own
};
// clang-format off
constexpr StepText stepTexts[] = {
    {platform::displayObject,       "Info: DirectDraw DirectDrawCreate executed.\n", "Varnok Error: DirectDrawCreate FAILED"},
    {platform::displayInterface,    "Info: DirectDraw QueryInterface executed.\n", "Varnok requires DirectX 3.0 or better!"},
    {platform::displayCooperation,  "Info: DirectDraw SetCooperativeLevel executed.\n", "Varnok Error: SetCooperativeLevel FAILED"},
    {platform::displayMode,         "Info: DirectDraw SetDisplayMode executed.\n", "Varnok Error: SetDisplayMode FAILED"},
    {platform::displaySurface,      "Info: DirectDraw CreateSurface executed.\n", "Varnok Error: CreateSurface FAILED"},
    {platform::displayPalette,      "Info: DirectDraw CreatePalette executed.\n", "Varnok Error: CreatePalette FAILED"},
    {platform::surfacePalette,      "Info: DirectDraw SetPalette executed.\n", "Varnok Error: SetPalette FAILED"},
    {platform::inputObject,         "Info: DirectInput DirectInputCreate executed.\n", "Varnok Error: DirectInputCreate FAILED"},
    {platform::keyboardDevice,      "Info: DirectInput CreateDevice executed.\n", "Varnok Error: DirectInput->CreateDevice FAILED"},
    {platform::keyboardFormat,      "Info: DirectInput SetDataFormat executed.\n", "Varnok Error: DirectInput->SetDataFormat FAILED"},
    {platform::keyboardCooperation, "Info: DirectInput SetCooperativeLevel executed.\n", "Varnok Error: DirectInput->SetCooperativeLevel FAILED"},
    {platform::keyboardAcquired,    "Info: DirectInput Acquire executed.\n", "Varnok Error: DirectInput->Acquire FAILED"},
    {platform::soundObject,         "Info: DirectSound DirectSoundCreate executed.\n", "DirectSoundCreate FAILED"},
    {platform::soundCooperation,    "Info: DirectSound SetCooperativeLevel executed.\n", "DirectSound->SetCooperativeLevel FAILED"},
    {platform::soundBuffer,         "Info: DirectSound CreateSoundBuffer %d executed.\n", "DirectSound->CreateSoundBuffer FAILED"},
    {platform::soundLock,           "Info: DirectSound Lock %d executed.\n", "DirectSound->Lock FAILED"},
    {platform::soundUnlock,         "Info: DirectSound Unlock %d executed.\n", "DirectSound->UnLock FAILED"},
};
// clang-format on
constexpr bool inStepOrder() {
    for (int i = 0; i < platform::setUpDone; ++i)
        if (stepTexts[i].step != i) return false;
    return sizeof stepTexts / sizeof stepTexts[0] == platform::setUpDone;
}
static_assert(inStepOrder(), "one text for each set-up step, in the steps' order");

// Logs the lines of the steps first..last that the report says were done; `number`
// fills in a voice's.
void logDone(SetUpStep first, SetUpStep last, const SetUpReport& report, int number = 0) {
    for (int step = first; step <= last && step < report.failedAt; ++step)
        logLine(stepTexts[step].doneText, number);
}

Result fail(Result result, const char* text) {
    return static_cast<Result>(fatalError(true, result, "%s", text));
}

int screenWidth, screenHeight;

// The display as the settings describe it: the ModeX permission, the screen mode's
// switches and the TED's palette in the chosen colours.
platform::DisplaySetUp displaySetUp(const ScreenModeSwitches* switches) {
    platform::DisplaySetUp setUp;
    setUp.allowModeX = emulatorConfig.modeX != 0;
    if (switches) {
        setUp.modeCount = switches->count;
        for (int i = 0; i < switches->count; ++i)
            setUp.modes[i] = {switches->modes[i].width, switches->modes[i].height};
    }
    buildPalette(emulatorConfig.palette);
    for (int i = 0; i < 256; ++i) {
        const PaletteColour& c = paletteEntries[i];
        setUp.palette[i] = {c.red, c.green, c.blue, c.flags};
    }
    return setUp;
}

// Modes whose picture does not fill the screen start from a black screen.
void clearScreen() {
    const int32_t mode = emulatorConfig.screenMode;
    if (mode != 2 && mode != 4 && mode != 6) return;
    presentBlank();
    logLine("Info: %dx%d screen cleared.\n", screenWidth, screenHeight);
}

Result setUpDisplay() {
    const int32_t mode = emulatorConfig.screenMode;
    // Any other mode leaves the desktop in its own.
    const ScreenModeSwitches* switches = mode >= 0 && mode <= 6 ? &screenModes[mode] : nullptr;
    const SetUpReport report = platform::openDisplay(displaySetUp(switches));
    logDone(platform::displayObject, platform::displayCooperation, report);
    const int modesSet =
        report.failedAt > platform::displayMode ? (switches ? switches->count : 0) : report.index;
    for (int i = 0; i < modesSet; ++i) logDone(platform::displayMode, platform::displayMode, report);
    logDone(platform::displaySurface, platform::displaySurface, report);
    if (report.failedAt >= platform::displayPalette)
        logLine(emulatorConfig.palette == 0 ? "Info: Calculated palette generated.\n"
                                            : "Info: Digitized palette generated.\n");
    logDone(platform::displayPalette, platform::surfacePalette, report);
    if (report.failedAt == platform::displayMode && switches)
        return fail(report.result, switches->failureText);
    if (report.failedAt != platform::setUpDone)
        return fail(report.result, stepTexts[report.failedAt].failureText);
    if (switches) {
        const DisplayMode& last = switches->modes[switches->count - 1];
        screenWidth = last.width;
        screenHeight = last.height;
        setPictureSize(screenWidth, screenHeight);
    }
    clearScreen();
    return platform::ok;
}

Result setUpKeyboard() {
    const SetUpReport report = platform::openKeyboard();
    logDone(platform::inputObject, platform::keyboardAcquired, report);
    if (report.failedAt != platform::setUpDone)
        return fail(report.result, stepTexts[report.failedAt].failureText);
    return platform::ok;
}

// A 32-sample square period starting low: the sound code sets a tone of f Hz as rate 32 f.
void fillSquare(int16_t* samples) {
    for (int i = 0; i < platform::voiceSamples; ++i) samples[i] = (i & 16) ? 32767 : -32768;
}

void fillNoise(int16_t* samples) {
    uint32_t state = 27;
    for (int i = 0; i < platform::voiceSamples; ++i) {
        state = state * 214013u + 2531011u;
        int32_t r = static_cast<int32_t>((state >> 16) & 32767);
        samples[i] = static_cast<int16_t>(r % 65535 - 32768);
    }
}

void warnAbout(uint8_t warnings, int voice) {
    constexpr struct {
        uint8_t bit;
        const char* what;
    } texts[] = {{platform::rateNotSet, "set frequency for"},
                 {platform::panNotSet, "set pan for"},
                 {platform::volumeNotSet, "set volume for"},
                 {platform::notPlaying, "play"}};
    for (const auto& text : texts)
        if (warnings & text.bit) logLine("Warning: Cannot %s sound channel %d.\n", text.what, voice);
}

// The text of the step that failed, or none when all three voices play.
const char* startSound() {
    static int16_t square[platform::voiceSamples], noise[platform::voiceSamples];
    fillSquare(square);
    fillNoise(noise);
    const platform::SoundReport report = platform::openSound({{square, square, noise}});
    logDone(platform::soundObject, platform::soundCooperation, report);
    for (int voice = 1; voice <= 3 && report.failedAt >= platform::soundBuffer; ++voice) {
        const bool failing = report.failedAt != platform::setUpDone && voice == report.index;
        logDone(platform::soundBuffer, platform::soundUnlock, failing ? SetUpReport(report) : SetUpReport{},
                voice);
        if (failing) break;
        warnAbout(report.warnings[voice], voice);
    }
    return report.failedAt == platform::setUpDone ? nullptr : stepTexts[report.failedAt].failureText;
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
    platform::closeSound();
    logLine("Warning: %s; running without sound.\n", failure);
    std::fputs("varnok: no sound device could be opened; running without sound\n", stderr);
    showNotice("NO SOUND DEVICE: RUNNING SILENT");
}

}  // namespace

int32_t initHostDevices(int showCommand) {
    setWindowProc(windowProc);
    // The backend has said on standard error why there is no display or no window.
    const platform::WindowOpened opened =
        platform::openWindow({emulatorConfig.windowed != 0, emulatorConfig.windowScale, showCommand != 0});
    if (opened == platform::WindowOpened::noDisplay) {
        logLine("Error: No display available.\n");
        return platform::failed;
    }
    logLine("Info: Window class registered.\n");
    if (opened == platform::WindowOpened::noWindow) {
        logLine("Error: Cannot open the main window.\n");
        return platform::failed;
    }
    logLine("Info: Main window successfully opened.\n");
    if (Result r = setUpDisplay(); r != platform::ok) return r;
    if (Result r = setUpKeyboard(); r != platform::ok) return r;
    setUpSound();
    return platform::ok;
}

void releaseHostDevices() {
    platform::closeSound();
    platform::closeKeyboard();
    platform::closeDisplay();
    releaseRamBlock();
}

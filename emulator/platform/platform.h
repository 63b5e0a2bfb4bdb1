#pragma once
// The one seam between the emulator and the host: a clock, a window with its
// messages, a display that shows 8-bit pictures through a palette, the keys and a
// gamepad as plain state, and three looping sound voices. Files go through fileio.
// The SDL2 backend (host/sdl/) implements it for the program, the browser backend
// (host/web/) for the page, over what they share (host/backend/);
// tests/support/fake_platform.cpp implements it for the tests. Nothing under cpu/,
// ted/, storage/, menus/ or monitor/ sees SDL or Qt.

#include <cstdint>
#include <string>

namespace platform {

// What a call of the platform reports.
enum Result : int32_t {
    ok = 0,
    surfaceLost = 2,  // the picture was not shown; the display is restored for the next one
    inputLost = 3,    // the keys were lost with the focus and are taken again: read once more
    failed = -1,
};

// ---- clock and system ----
uint64_t performanceFrequency();  // counter ticks per second
uint64_t performanceCounter();    // monotonic tick count
// Gives up the processor for about this long: never less, and rarely more than a
// fraction of a millisecond more.
void sleepMicroseconds(uint32_t microseconds);

struct LocalTime {
    int hour, minute, second;
};
LocalTime localTime();

enum PriorityClass : int32_t { priorityNormal = 0, priorityHigh = 1, priorityRealtime = 2 };
int32_t getPriorityClass();
bool setPriorityClass(int32_t priorityClass);  // nearest the OS allows; false on failure

// The operating system, for the start-up log; each part empty where unknown.
struct SystemDescription {
    std::string product, version, build;
};
SystemDescription describeSystem();

// Shows a modal box with one OK button and waits until it is closed.
// `owned` is true when the box belongs to the emulator's window.
void messageBox(const char* text, const char* caption, bool owned);

// ---- window ----
// The main window's title, also the caption of the fatal error's box.
constexpr const char windowTitle[] = "Varnok " VARNOK_VERSION " - The C16/Plus4 Emulator";

// How the main window opens: full screen, or a window of a whole-number scale of the
// display mode (0: the largest that fits the screen); shown and focused, or hidden.
struct WindowPlacement {
    bool windowed = false;
    int scale = 0;
    bool shown = true;
};
enum class WindowOpened : uint8_t {
    opened,
    noDisplay,  // there is no display to open it on (said on standard error)
    noWindow,   // the display refused the window (said on standard error)
};
WindowOpened openWindow(const WindowPlacement& placement);
bool windowExists();
// The window goes, with the display. The shell hears of it as msgDestroy, which it
// delivers itself.
void destroyWindow();
// Full screen, or a window of the placement's scale that fits the screen.
bool fullScreen();
Result setFullScreen(bool on);
// The scale the user gave the window by resizing it (as it was when it went full screen
// or closed); 0 while they have not.
int chosenWindowScale();

// ---- input events ----
// Key codes carried by key messages (the Windows virtual-key values).
enum VirtualKey : uint32_t {
    vkReturn = 0x0D,
    vkShift = 0x10,
    vkControl = 0x11,
    vkMenu = 0x12,  // either Alt key
    vkPause = 0x13,
    vkF1 = 0x70,
    vkF6 = 0x75,
    vkF7 = 0x76,
    vkF8 = 0x77,
    vkF9 = 0x78,
    vkF10 = 0x79,
    vkF11 = 0x7A,
    vkF12 = 0x7B,
};

enum MessageType : int32_t {
    msgNone = 0,
    msgQuit,      // wParam: exit code
    msgActivate,  // wParam: 1 or 2 active, 0 inactive
    msgKeyDown,   // wParam: virtual key
    msgKeyUp,     // wParam: virtual key
    msgClose,     // the window was asked to close
    msgDestroy,   // the window is being destroyed
    msgSetCursor,
    msgDropFile,  // wParam: the drop, for takeDroppedFile
};

struct Message {
    MessageType type = msgNone;
    uint32_t wParam = 0;
};

// Takes the next message if one waits; false if none.
bool takeMessage(Message& message);
// Blocks until a message waits (or, on a host that cannot block, returns at once).
void waitMessage();
// Puts a message at the end of the queue (the quit and close requests).
void postMessage(const Message& message);
// The path of a file dropped on the window: copied once into path with its terminating
// zero; false when the drop is unknown or taken already, or the path does not fit.
bool takeDroppedFile(uint32_t drop, char* path, int size);

// ---- device set-up ----
// The steps of opening the display, the keyboard and the sound, in their order. An open
// that fails names the step; the start-up log has a line for each step done.
enum SetUpStep : uint8_t {
    displayObject,
    displayInterface,
    displayCooperation,
    displayMode,
    displaySurface,
    displayPalette,
    surfacePalette,
    inputObject,
    keyboardDevice,
    keyboardFormat,
    keyboardCooperation,
    keyboardAcquired,
    soundObject,
    soundCooperation,
    soundBuffer,
    soundLock,
    soundUnlock,
    setUpDone,
};
struct SetUpReport {
    Result result = ok;
    SetUpStep failedAt = setUpDone;  // setUpDone: every step was done
    int index = 0;                   // the mode switch or the voice it failed at
};

// ---- display ----
struct PaletteEntry {
    uint8_t red, green, blue, flags;
};
struct DisplaySetUp {
    bool allowModeX = false;
    int modeCount = 0;  // 0: the desktop keeps its own mode
    struct {
        int width, height;
    } modes[2]{};  // switched to in order; the last is the display's (8 bits a pixel)
    PaletteEntry palette[256]{};
};
SetUpReport openDisplay(const DisplaySetUp& setUp);
// Shows a picture of the mode's size, one byte a pixel, lines `pitch` bytes apart.
Result present(const uint8_t* pixels, int pitch);
// A finished frame that is not shown (the machine runs faster than the display): a host
// that counts frames (a scripted run) counts it all the same.
void frameNotPresented();
Result waitForVerticalBlank();  // waits for the beginning of the next vertical blank
void closeDisplay();            // idempotent

// ---- keyboard and gamepad ----
SetUpReport openKeyboard();
// 256 bytes, one per scan code (the PC keyboard's set 1, extended keys with bit 7),
// non-zero when down.
Result readKeys(uint8_t state[256]);
void closeKeyboard();  // idempotent

// The first game controller present, as joystick bits: directions from the d-pad and the
// left stick, fire from the south and east buttons. 0 without a controller.
enum GamepadBits : uint8_t {
    gamepadUp = 1,
    gamepadDown = 2,
    gamepadLeft = 4,
    gamepadRight = 8,
    gamepadFire = 16
};
uint8_t gamepadState();

// ---- sound: three voices ----
constexpr int voiceSamples = 1024;  // 16-bit mono samples of one voice's loop
constexpr uint32_t voiceRate = 44100;
// The rate a voice's loop is played at, up to maxVoiceRate: the mixer steps through the
// loop by a fractional increment (every TED tone up to register 1019).
constexpr uint32_t maxVoiceRate = 1'000'000;
constexpr int32_t silentVolume = -10000;  // hundredths of a decibel

// What a voice could not be given as it started; it plays all the same if it can.
enum VoiceWarning : uint8_t { rateNotSet = 1, panNotSet = 2, volumeNotSet = 4, notPlaying = 8 };
struct SoundSetUp {
    const int16_t* loops[3]{};  // voiceSamples each, for voices 1..3
};
struct SoundReport : SetUpReport {
    uint8_t warnings[4]{};  // VoiceWarning bits, by voice 1..3
};
// Opens the device and starts the voices looping at voiceRate, centred and silent.
SoundReport openSound(const SoundSetUp& setUp);
bool voicePlays(int voice);
Result setVoiceRate(int voice, uint32_t samplesPerSecond);
Result setVoiceVolume(int voice, int32_t hundredthsOfDecibel);  // silentVolume .. 0
void closeSound();                                              // idempotent

}  // namespace platform

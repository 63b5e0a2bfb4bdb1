#pragma once
// The one seam between the emulator and the host. Everything the machine needs
// from the outside world is declared here with the semantics of the Windows and
// DirectX calls it stands for. The SDL2 backend (host/sdl/) implements it for
// the program, the browser backend (host/web/) for the page, over what they share
// (host/backend/); tests/support/fake_platform.cpp implements it for the tests.
// Nothing under cpu/, ted/, storage/, menus/ or monitor/ sees SDL or Qt.

#include <cstdint>

namespace platform {

// Result codes, shaped like the HRESULTs the host calls return.
enum Result : int32_t {
    ok = 0,
    wasStillDrawing = 1,  // the surface is busy; retry the lock at once
    surfaceLost = 2,      // the surface must be restored before use
    inputLost = 3,        // the keyboard must be acquired again
    failed = -1,
};

// ---- clock, priority, local time, message box ----
uint64_t performanceFrequency();  // counter ticks per second
uint64_t performanceCounter();    // monotonic tick count
// Gives up the processor for about this long (Sleep at microsecond grain): never less,
// and rarely more than a fraction of a millisecond more.
void sleepMicroseconds(uint32_t microseconds);

enum PriorityClass : int32_t { priorityNormal = 0, priorityHigh = 1, priorityRealtime = 2 };
int32_t getPriorityClass();
bool setPriorityClass(int32_t priorityClass);  // nearest the OS allows; false on failure

struct LocalTime {
    int hour, minute, second;
};
LocalTime localTime();

// Shows a modal box with one OK button and waits until it is closed.
// `owned` is true when the box belongs to the emulator's window.
void messageBox(const char* text, const char* caption, bool owned);

// Operating-system description for the start-up log; false where unknown.
bool osProductName(char* buffer, int size);
bool osVersion(char* buffer, int size);
bool osBuild(char* buffer, int size);

// ---- window and messages ----
// Virtual-key codes carried by key messages (the Windows values).
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
    msgDropFile,  // wParam: the drop, for takeDroppedFile (WM_DROPFILES)
};

struct Message {
    MessageType type = msgNone;
    uint32_t wParam = 0;
};

// The main window's title, also the caption of the fatal error's box.
constexpr const char windowTitle[] = "Varnok " VARNOK_VERSION " - The C16/Plus4 Emulator";

bool registerWindowClass();
// How the main window opens, told before it is created: full screen, or a window of a
// whole-number scale of the display mode (0: the largest that fits the screen).
void setWindowPlacement(bool windowed, int scale);
bool createMainWindow(int showCommand);  // as placed, topmost, focused
bool windowExists();
void destroyMainWindow();  // delivers msgDestroy through dispatchMessage

// Takes the next message if one waits (PeekMessage with remove); false if none.
bool peekMessage(Message& message);
// True when a message waits, without removing it.
bool messageWaiting();
// Blocks until a message arrives, without removing it (WaitMessage).
void waitMessage();
// Blocks until a message arrives and removes it; false for the quit message (GetMessage).
bool getMessage(Message& message);
// Hands a message to the window procedure (TranslateMessage + DispatchMessage).
void dispatchMessage(const Message& message);
// The path of a file dropped on the window (DragQueryFile, then DragFinish): copied once
// into path with its terminating zero; false when the drop is unknown or taken already,
// or the path does not fit.
bool takeDroppedFile(uint32_t drop, char* path, int size);
void postQuitMessage(int32_t exitCode);
void postCloseRequest();

// The window procedure lives in the host shell; the platform calls it from dispatchMessage.
using WindowProc = int32_t (*)(const Message& message);
void setWindowProc(WindowProc proc);

// ---- display (DirectDraw) ----
Result directDrawCreate();
Result queryDirectDraw2();
Result setDisplayCooperativeLevel(bool allowModeX);
Result setDisplayMode(int width, int height);  // 8 bits per pixel
Result createPrimarySurface();
struct PaletteEntry {
    uint8_t red, green, blue, flags;
};
Result createPalette(const PaletteEntry entries[256]);
Result setSurfacePalette();
// Locks the whole primary surface: pixels points at its top-left byte, pitch is the line stride.
Result lockSurface(uint8_t*& pixels, int& pitch);
Result unlockSurface();  // shows what was written
// A finished frame that is not shown (the machine runs faster than the display): a host
// that counts frames (a scripted run) counts it all the same.
void frameNotPresented();
Result restoreSurface();
Result waitForVerticalBlank();  // waits for the beginning of the next vertical blank
void releaseDisplay();          // surface, palette, then the DirectDraw object; idempotent
// Full screen, or a window of the placement's scale that fits the screen.
bool fullScreen();
Result setFullScreen(bool on);
// The scale the user gave the window by resizing it (as it was when it went full screen
// or closed); 0 while they have not.
int chosenWindowScale();

// ---- keyboard (DirectInput) ----
Result directInputCreate();
Result createKeyboardDevice();
Result setKeyboardDataFormat();
Result setKeyboardCooperativeLevel();
Result acquireKeyboard();
// Fills 256 bytes, one per DirectInput scan code, non-zero when down; inputLost after focus loss.
Result getKeyboardState(uint8_t state[256]);
void releaseKeyboard();  // unacquire, release device, release DirectInput; idempotent

// ---- gamepad ----
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

// ---- sound (DirectSound), channels 1..3 ----
Result directSoundCreate();
Result setSoundCooperativeLevel();
// A static 2,048-byte buffer of 16-bit mono samples at 44,100 Hz with frequency, pan and volume.
Result createSoundBuffer(int channel);
Result lockSoundBuffer(int channel, int16_t*& part1, uint32_t& bytes1, int16_t*& part2, uint32_t& bytes2);
Result unlockSoundBuffer(int channel);
// The rate the buffer is played at, up to maxSoundFrequency: beyond DirectSound's 100,000, since
// the mixer steps through the loop by a fractional increment (every TED tone up to register 1019).
constexpr uint32_t maxSoundFrequency = 1'000'000;
Result setSoundFrequency(int channel, uint32_t samplesPerSecond);
Result setSoundPan(int channel, int32_t pan);
Result setSoundVolume(int channel, int32_t hundredthsOfDecibel);  // -10000 is silent
Result getSoundVolume(int channel, int32_t& hundredthsOfDecibel);
Result playSoundLooping(int channel);
bool soundChannelExists(int channel);
void releaseSound();  // the three channels, then DirectSound; idempotent

}  // namespace platform

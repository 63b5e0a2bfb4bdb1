// Keyboard primitives, line editors and the frame every built-in menu shares.
#include <cstring>

#include "host/platform.h"
#include "menus/key_codes.h"
#include "menus/menu_screen.h"
#include "shell/pacing.h"
#include "shell/presentation.h"
#include "shell/shell.h"
#include "shell/sound_output.h"
#include "ted/keyboard.h"

namespace {

int repeatState = 0;    // 0 idle, 1 first delay, 2 repeating
uint8_t repeatKey = 0;  // the key the state belongs to

constexpr uint8_t fieldColour = 0x71, fieldBackground = 0x14;
constexpr uint32_t keyPollMicroseconds = 1000;

uint64_t lastPass = 0;

// One pass per 50 Hz period at most: the screen changes no faster, and the menu sleeps
// between passes instead of polling the keyboard as fast as it can.
void paceMenuPass() {
    sleepUntilCounter(lastPass + shell.ticksPerFrame);
    lastPass = platform::performanceCounter();
}

void waitWhileDown(uint8_t keyCode, int verticalBlanks) {
    for (int i = 0; i < verticalBlanks && isKeyDown(keyCode) == 1; ++i) waitVerticalBlank();
}

// Takes one waiting message; false when it was the quit message (the program then ends).
bool serviceOneMessage() { return pumpMessage() != Pumped::quit; }

// A line editor over the characters it accepts, each typed by its own key.
int editLine(int col, int row, int length, char* result, const char* accepted, bool withMessages) {
    char text[64] = {};
    if (length > 63) length = 63;
    int used = 0, outcome = -1;
    while (outcome < 0) {
        if (withMessages) {
            if (!serviceOneMessage()) break;
            if (!shell.windowActive) {
                platform::waitMessage();
                continue;
            }
        }
        paceMenuPass();
        for (int i = 0; i < length; ++i)
            drawMenuChar(col + i, row, i < used ? text[i] : ' ', fieldColour, fieldBackground);
        if (used < length) drawMenuChar(col + used, row, ' ', fieldColour, fieldColour);
        presentMenu();
        for (const char* c = accepted; *c; ++c) {
            if (used < length && isKeyDown(key::forCharacter(*c)) == 1) {
                text[used++] = *c;
                waitKeyRelease(key::forCharacter(*c));
            }
        }
        if (isKeyDown(key::backspace) == 1) {
            if (used > 0) text[--used] = 0;
            waitKeyRelease(key::backspace);
        }
        if (isKeyDown(key::escape) == 1) outcome = 0;
        if (isKeyDown(key::enter) == 1) {
            std::memcpy(result, text, static_cast<size_t>(used) + 1);
            outcome = 2;
        }
    }
    waitKeyRelease(key::enter);
    waitKeyRelease(key::escape);
    return outcome < 0 ? 0 : outcome;
}

constexpr char textCharacters[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ ";

}  // namespace

void presentMenu() {
    // A lost surface is restored by the first attempt; the second shows the frame.
    if (!presentFrame()) presentFrame();
}

int isKeyDown(uint8_t keyCode) {
    platform::Result r = platform::getKeyboardState(keyboard.keyState);
    if (r == platform::inputLost) {
        if (platform::acquireKeyboard() != platform::ok) return 0xFF;
        r = platform::getKeyboardState(keyboard.keyState);
    }
    if (r != platform::ok) return 0xFF;
    return keyboard.keyState[keyCode] ? 1 : 0;
}

void waitKeyRelease(uint8_t keyCode) {
    // Asking for messages lets a host whose events arrive only when it is asked (a
    // browser page) deliver the release; the sleep keeps the wait from spinning.
    while (isKeyDown(keyCode) == 1) {
        platform::messageWaiting();
        platform::sleepMicroseconds(keyPollMicroseconds);
    }
}

void waitVerticalBlank() {
    // A display that never reports a vertical blank must not stop the machine.
    for (int attempt = 0; attempt < 64; ++attempt)
        if (platform::waitForVerticalBlank() == platform::ok) return;
}

void keyRepeat(uint8_t keyCode) {
    repeatKey = keyCode;
    switch (repeatState) {
        case 0:
            repeatState = 1;
            break;
        case 1:
            waitWhileDown(keyCode, 30);
            repeatState = isKeyDown(keyCode) == 1 ? 2 : 0;
            break;
        default:
            waitWhileDown(keyCode, 4);
            if (isKeyDown(keyCode) != 1) repeatState = 0;
            break;
    }
}

bool repeatedKeyDown(uint8_t keyCode) {
    if (isKeyDown(keyCode) != 1) {
        // Seen released between passes: the next press acts at once again.
        if (keyCode == repeatKey) repeatState = 0;
        return false;
    }
    keyRepeat(keyCode);
    return isKeyDown(keyCode) == 1;
}

int inputText(int col, int row, int length, char* result) {
    return editLine(col, row, length, result, textCharacters, false);
}

int inputHex(int col, int row, int length, char* result) {
    return editLine(col, row, length, result, key::hexCharacters, true);
}

uint16_t parseHex4(const char* text) {
    static const char digits[] = "0123456789ABCDEF";
    uint16_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const char* at = text[i] ? std::strchr(digits, text[i]) : nullptr;
        value = static_cast<uint16_t>(value << 4 | (at ? at - digits : 0));
    }
    return value;
}

void openMenu() {
    shell.menuOpen = 1;
    muteSound();
}

MenuPass menuPass() {
    // Once a quit has been asked for, by a message taken here or in an editor, no screen goes on.
    if (shell.quitRequested || !serviceOneMessage()) return MenuPass::quit;
    if (!shell.windowActive) {
        platform::waitMessage();
        return MenuPass::wait;
    }
    paceMenuPass();
    return MenuPass::draw;
}

void closeMenu(uint16_t& requestFlag) {
    requestFlag = 0;
    restoreSound();
    // Drop what queued up while the menu ran, but never a request to quit.
    platform::Message message, last;
    bool any = false;
    while (takeMessage(message)) {
        last = message;
        any = true;
    }
    if (any && last.type != platform::msgQuit) platform::dispatchMessage(last);
    shell.menuOpen = 0;
}

void resetKeyRepeat() { repeatState = 0; }

// Keyboard primitives, the line editors and the frame every built-in screen shares. A
// screen never waits inside a pass: a key it has acted on is awaited over the next
// passes, and a held key repeats by counting passes.
#include <algorithm>
#include <cstring>

#include "menus/key_codes.h"
#include "menus/menu_screen.h"
#include "platform/platform.h"
#include "shell/presentation.h"
#include "shell/shell.h"
#include "shell/sound_output.h"
#include "ted/keyboard.h"

namespace {

constexpr int firstRepeatPasses = 30, repeatPasses = 4;
constexpr uint8_t fieldColour = 0x71, fieldBackground = 0x14;

int repeatState = 0;    // 0 idle, 1 first delay, 2 repeating
uint8_t repeatKey = 0;  // the key the state belongs to
int heldPasses = 0;     // passes the key has been held in the state

// Keys acted on and not yet seen up: they read as up meanwhile, so one press acts once.
constexpr int awaitedCapacity = 8;
uint8_t awaited[awaitedCapacity];
int awaitedCount = 0;
int restLeft = 0;
bool messagesWait = false;

int readKey(uint8_t keyCode) {
    platform::Result r = platform::readKeys(keyboard.keyState);
    if (r == platform::inputLost) r = platform::readKeys(keyboard.keyState);  // taken again
    if (r != platform::ok) return 0xFF;
    return keyboard.keyState[keyCode] ? 1 : 0;
}

bool isAwaited(uint8_t keyCode) {
    return std::find(awaited, awaited + awaitedCount, keyCode) != awaited + awaitedCount;
}

constexpr char textCharacters[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ ";

}  // namespace

void presentMenu() {
    // A lost surface is restored by the first attempt; the second shows the frame.
    if (!presentFrame()) presentFrame();
}

int isKeyDown(uint8_t keyCode) { return isAwaited(keyCode) ? 0 : readKey(keyCode); }

void awaitRelease(uint8_t keyCode) {
    if (!isAwaited(keyCode) && awaitedCount < awaitedCapacity) awaited[awaitedCount++] = keyCode;
}

bool awaitingRelease() {
    awaitedCount = static_cast<int>(std::remove_if(awaited, awaited + awaitedCount,
                                                   [](uint8_t keyCode) { return readKey(keyCode) != 1; }) -
                                    awaited);
    return awaitedCount > 0;
}

void restPasses(int passes) { restLeft = std::max(restLeft, passes); }

bool passReady() {
    if (awaitingRelease()) return false;
    if (restLeft == 0) return true;
    --restLeft;
    return false;
}

bool repeatedKeyDown(uint8_t keyCode) {
    if (isKeyDown(keyCode) != 1) {
        // Seen released between passes: the next press acts at once again.
        if (keyCode == repeatKey) repeatState = 0;
        return false;
    }
    repeatKey = keyCode;
    switch (repeatState) {
        case 0:
            repeatState = 1;
            heldPasses = 0;
            return true;
        case 1:
            if (++heldPasses < firstRepeatPasses) return false;
            repeatState = 2;
            heldPasses = 0;
            return true;
        default:
            if (++heldPasses < repeatPasses) return false;
            heldPasses = 0;
            return true;
    }
}

void resetKeyRepeat() {
    repeatState = 0;
    awaitedCount = restLeft = 0;
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

LineEditor::LineEditor(int col, int row, int length, const char* accepted, bool withMessages)
    : col(col), row(row), length(std::min(length, 63)), accepted(accepted), withMessages(withMessages) {}

LineEditor LineEditor::text(int col, int row, int length) {
    return LineEditor(col, row, length, textCharacters, false);
}

LineEditor LineEditor::hex(int col, int row, int length) {
    return LineEditor(col, row, length, key::hexCharacters, true);
}

LineEditor::Outcome LineEditor::pass(char* result) {
    for (int i = 0; i < length; ++i)
        drawMenuChar(col + i, row, i < used ? typed[i] : ' ', fieldColour, fieldBackground);
    if (used < length) drawMenuChar(col + used, row, ' ', fieldColour, fieldColour);
    presentMenu();
    for (const char* c = accepted; *c; ++c) {
        if (used < length && isKeyDown(key::forCharacter(*c)) == 1) {
            typed[used++] = *c;
            awaitRelease(key::forCharacter(*c));
        }
    }
    if (isKeyDown(key::backspace) == 1) {
        if (used > 0) typed[--used] = 0;
        awaitRelease(key::backspace);
    }
    Outcome outcome = editing;
    if (isKeyDown(key::escape) == 1) outcome = abandoned;
    if (isKeyDown(key::enter) == 1) {
        std::memcpy(result, typed, static_cast<size_t>(used) + 1);
        outcome = confirmed;
    }
    if (outcome != editing) {
        awaitRelease(key::enter);
        awaitRelease(key::escape);
    }
    return outcome;
}

void openMenu() {
    shell.menuOpen = 1;
    muteSound();
}

void holdMessages(bool held) { messagesWait = held; }
bool messagesHeld() { return messagesWait; }

#pragma once
#include <array>
#include <cstdint>

// The built-in 40 x 25 text screens, drawn with the machine's own character set.
extern const std::array<uint8_t, 256> screenCodeTable;  // screen code -> ASCII

void clearMenuScreen();
void drawMenuChar(int col, int row, char character, uint8_t foreground, uint8_t background);
void drawMenuText(int col, int row, const char* text, uint8_t foreground, uint8_t background);
void drawScreenCode(int col, int row, uint8_t screenCode, uint8_t zeroColour, uint8_t oneColour);
void presentMenu();

// A built-in screen (a menu or the monitor): opened, then run one pass at a time by the
// main loop, which takes a window message and paces the passes at 50 Hz around each. A
// pass draws, presents and looks at the keys; nothing in it waits.
struct Screen {
    void (*open)();
    // One pass; false once the screen is done. It closes when the keys it waits for are up.
    bool (*pass)();
    void (*close)();    // what it undoes as it closes, even at a quit; may be null
    uint16_t* request;  // the host request that opened it, cleared when it closes
};

int isKeyDown(uint8_t keyCode);  // 1 down, 0 up, 0xFF when the keyboard is lost
// After acting on a key: the screen's passes wait until it is up again, so that one press
// acts once.
void awaitRelease(uint8_t keyCode);
// The next passes of the screen only present: the monitor's scrolling is slower than its passes.
void restPasses(int passes);
// Before a pass: true when it may look at the keys (no key it waits for is down, no rest).
bool passReady();
// True while a key the screen waits for is still down.
bool awaitingRelease();

// isKeyDown, with the key repeat: true when the key is down and acts in this pass: at
// once, then after 30 passes held, then every 4. How list menus read their navigation keys.
bool repeatedKeyDown(uint8_t keyCode);
void resetKeyRepeat();

uint16_t parseHex4(const char* text);

// A one-line editor over the characters it accepts, each typed by its own key; a pass
// draws the field and takes the keys. Enter confirms (the text in result), Escape abandons.
class LineEditor {
public:
    enum Outcome { editing, confirmed, abandoned };
    // The text editor takes digits, capitals and Space and leaves the window's messages
    // waiting meanwhile; the hex editor takes 0-9 and A-F and serves them like every pass.
    static LineEditor text(int col, int row, int length);
    static LineEditor hex(int col, int row, int length);
    Outcome pass(char* result);
    bool takesMessages() const { return withMessages; }

private:
    LineEditor(int col, int row, int length, const char* accepted, bool withMessages);
    int col, row, length;
    const char* accepted;
    bool withMessages;
    char typed[64] = {};
    int used = 0;
};

// The frame every menu shares: open sets shell.menuOpen and mutes the sound; closing
// (host/screens.cpp) clears the request, restores the sound, drops the waiting messages
// and clears shell.menuOpen. While a text editor has the keys the screen takes no messages.
void openMenu();
void holdMessages(bool held);
bool messagesHeld();

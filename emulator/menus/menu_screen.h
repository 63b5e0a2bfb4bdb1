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

int isKeyDown(uint8_t keyCode);  // 1 down, 0 up, 0xFF when the keyboard is lost
void waitKeyRelease(uint8_t keyCode);
void waitVerticalBlank();
void keyRepeat(uint8_t keyCode);
int inputText(int col, int row, int length, char* result);
int inputHex(int col, int row, int length, char* result);
uint16_t parseHex4(const char* text);

// isKeyDown, then keyRepeat, then true when the key is still down: how list
// menus read their navigation keys (once, then after 30 frames, then every 4).
bool repeatedKeyDown(uint8_t keyCode);
void resetKeyRepeat();

// The frame every menu shares: open sets shell.menuOpen and mutes the sound; each pass
// takes one window message (quit ends the menu at once) and waits while the
// window is inactive; close clears the menu's request flag, restores the sound,
// drops waiting messages and clears shell.menuOpen.
enum class MenuPass { draw, wait, quit };
void openMenu();
MenuPass menuPass();
void closeMenu(uint16_t& requestFlag);

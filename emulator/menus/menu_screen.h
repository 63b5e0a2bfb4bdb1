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

// Placeholder until this unit is built; replace the whole file.
#include "menus/menu_screen.h"
void presentMenu() {}
int isKeyDown(uint8_t) { return 0; }
void waitKeyRelease(uint8_t) {}
void waitVerticalBlank() {}
void keyRepeat(uint8_t) {}
int inputText(int, int, int, char*) { return 0; }
int inputHex(int, int, int, char*) { return 0; }
uint16_t parseHex4(const char*) { return 0; }

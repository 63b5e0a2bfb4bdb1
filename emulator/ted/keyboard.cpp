// Placeholder until this unit is built; replace the whole file.
#include "ted/keyboard.h"
uint8_t keyState[256]; uint16_t shiftLock; int32_t joystickMode;
void pollKeyboard() {}
uint8_t rowScan(int) { return 0xFF; }
void scanKeyboard(uint8_t) {}

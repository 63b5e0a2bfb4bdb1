// Placeholder until this unit is built; replace the whole file.
#include "ted/ted.h"
int32_t timer1Counter, timer2Counter, timer3Counter; uint16_t timer1Reload, timer2Reload, timer3Reload;
uint8_t timer1Running, timer2Running, timer3Running; uint16_t rasterCompare; uint8_t singleClock; uint16_t irqLine;
void timerStep() {}
void powerOnTimers() {}

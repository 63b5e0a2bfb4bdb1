#pragma once
#include <cstdint>

// The TED's register file ($FF00-$FF3F), its three timers and its interrupt line.
extern int32_t timer1Counter, timer2Counter, timer3Counter;
extern uint16_t timer1Reload, timer2Reload, timer3Reload;
extern uint8_t timer1Running, timer2Running, timer3Running;
extern uint16_t rasterCompare;  // 9 bits
extern uint8_t singleClock;
extern uint16_t irqLine;

uint8_t tedRead(uint16_t address);               // $FF00-$FF1F
void tedWrite(uint16_t address, uint8_t value);  // $FF00-$FF3D
void timerStep();                                // after every CPU step, by reg.lastCycle
// Sets the request bit (and the summary bit and irqLine when enabled in $FF0A).
void requestInterrupt(uint8_t sourceBit);
// Start-up state: counters and reloads $FFFF and running, compare, single clock and line 0.
void powerOnTimers();

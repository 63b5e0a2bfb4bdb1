// Placeholder until this unit is built; replace the whole file.
#include "ted/memory_map.h"
uint8_t* ram; uint8_t romLow[4][romImageBytes]; uint8_t romHigh[4][romImageBytes]; uint8_t romEnabled; uint16_t romBankLow, romBankHigh;
bool allocateRamBlock() { static uint8_t block[ramBlockBytes]; ram = block; return true; }
void releaseRamBlock() {}
void setRamSize(int32_t) {}
uint8_t readMemory(uint16_t a) { return ram[a]; }
void writeMemory(uint16_t a, uint8_t v) { ram[a] = v; }
void fillPowerOnPattern(uint32_t, uint32_t) {}

#pragma once
#include <cstdint>

// A read of the write-only bank latch ($FDD0-$FDDF): the byte the data bus still carries
// (defined in ted/open_bus.cpp).
uint8_t openBusRead(uint16_t address);

#pragma once
// The computer's memory: RAM of the configured size, the four ROM banks and the banking
// state, as the processor's map (bus/) and the TED's fetches both see them.
#include <cstddef>
#include <cstdint>

#include "common/reset.h"
#include "state/machine.h"

// Allocates the RAM block (zeroing the slack); false when the allocation fails.
bool allocateRamBlock();
// Frees the block by the address the allocator returned; memory.ram becomes null.
void releaseRamBlock();
// The "Ram" setting: 0 = 16 KB, 1 = 32 KB, anything else 64 KB.
void setRamSize(int32_t ramSetting);

// 00 00 FF FF FF FF 00 00 repeated from address $0000, over first..last inclusive.
void fillPowerOnPattern(uint32_t first, uint32_t last);

// Every reset but the soft one turns the ROMs on; the hard and special resets clear the
// top page above the TED ($FFFF keeps its value), and the hard one refills RAM below
// the I/O area with the power-on pattern. (Start-up fills RAM when it allocates it.)
void resetMemory(Reset kind);

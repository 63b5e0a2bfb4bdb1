#pragma once
#include "common/reset.h"

// Resets the memory map, the TED and the processor, in that order (defined in
// machine/power.cpp). Start-up, the host's reset keys and the tests all come through here.
void resetMachine(Reset kind);

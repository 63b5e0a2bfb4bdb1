#pragma once
#include "common/reset.h"

// Resets the memory map, the TED and the processor, in that order (defined in
// machine/power.cpp). Start-up, the host's reset keys and the tests all come through here.
void resetMachine(Reset kind);

// The machine as a value-initialised Machine: every chip, the drive and the step at their
// defaults, no medium, no true drive, no ROM. The RAM block it owns is kept, cleared, with
// its size setting, so a test that starts here needs no allocation of its own.
void freshMachine();

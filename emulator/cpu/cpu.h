#pragma once
#include "cpu/registers.h"

// Executes the one instruction at PC and stores its cycle count in reg.lastCycle.
void executeInstruction();

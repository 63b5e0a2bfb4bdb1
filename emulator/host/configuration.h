#pragma once
#include <string>
#include <vector>

#include "common/configuration.h"

// defined in host/configuration.cpp
extern std::string commandLine;  // the whole command-line tail

// What the settings store could not give, one line each without the "Warning: " (filled
// by readConfiguration): a store that is there but cannot be read, a line of it that holds
// no value, a value out of range (which took the default instead).
extern std::vector<std::string> settingFallbacks;

// Reads emulatorConfig from the settings store; $VARNOK_WINDOWED (0 or 1) overrides Windowed.
void readConfiguration();
// Stores the window's scale the user chose for the next start: the one value the
// emulator writes. False (and a log line) when the store cannot be written.
bool storeWindowScale(int32_t scale);

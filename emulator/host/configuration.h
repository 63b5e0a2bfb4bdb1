#pragma once
#include <string>
#include <vector>

#include "common/configuration.h"

// defined in host/configuration.cpp
extern std::string commandLine;  // the whole command-line tail

// Settings whose stored value was out of range and took the default instead, one line
// each without the "Warning: " (filled by readConfiguration).
extern std::vector<std::string> settingFallbacks;

// Reads emulatorConfig from the settings store; $VARNOK_WINDOWED (0 or 1) overrides Windowed.
void readConfiguration();
// Stores the window's scale the user chose for the next start: the one value the
// emulator writes. False (and a log line) when the store cannot be written.
bool storeWindowScale(int32_t scale);

#pragma once
#include <string>

#include "common/configuration.h"

// defined in host/configuration.cpp
extern std::string commandLine;  // the whole command-line tail

// Reads emulatorConfig from the settings store.
void readConfiguration();

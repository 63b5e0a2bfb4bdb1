// Placeholder until this unit is built; replace the whole file.
#include "host/configuration.h"
EmulatorConfig emulatorConfig; std::string commandLine;
void readConfiguration() {}

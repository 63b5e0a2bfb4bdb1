#include "common/configuration.h"

EmulatorConfig emulatorConfig;

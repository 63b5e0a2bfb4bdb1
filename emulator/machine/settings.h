#pragma once
#include "common/configuration.h"

// Hands the settings the machine runs with into it (defined in machine/settings.cpp): the
// joystick's port and keys, and the screen mode, whose part of the frame is the part drawn.
// Start-up and the tests come through here; a menu that changes one changes the machine too.
void applySettings(const EmulatorConfig& config);

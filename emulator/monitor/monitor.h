#pragma once
#include "menus/menu_screen.h"

// The machine-code monitor: opened by F9, at the breakpoint, or at start with the
// Debugger setting, and run by the main loop one pass at a time until Escape leaves it.
extern const Screen monitorScreen;

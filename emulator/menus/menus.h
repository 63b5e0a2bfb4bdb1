#pragma once
#include "menus/menu_screen.h"

// The built-in menus, each opened by its host request and run by the main loop.
extern const Screen loadMenu;
extern const Screen saveMenu;
extern const Screen optionsMenu;
extern const Screen gameDatabaseMenu;

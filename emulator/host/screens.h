#pragma once
// The built-in screens (menus and the monitor) as the main loop runs them: one open at a
// time, one pass per turn (defined in host/screens.cpp).
#include "menus/menu_screen.h"
#include "shell/pacing.h"

void openScreen(const Screen& screen);
bool screenOpen();
// A turn of the open screen: takes a window message (a quit closes it at once), waits while
// the window is inactive, and runs a pass at most once per 50 Hz period. The screen closes
// once its last pass is done and the keys it waits for are up.
Wait screenTurn();
// Closes the open screen: its request is cleared, the sound comes back, the messages that
// queued up are dropped (the last one is still handled, unless it is the quit) and the
// host keys act again.
void closeScreen();

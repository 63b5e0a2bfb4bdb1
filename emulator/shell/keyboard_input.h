#pragma once
// defined in shell/keyboard_input.cpp

// Pushes the host's keys and game controller into the machine's keyboard: done by the main
// loop at each frame end. The keys are read again only once a scan has read the last.
void pushInput();

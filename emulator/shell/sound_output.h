#pragma once

// defined in shell/sound_output.cpp, with the TED's output (ted/sound_output.h)
// The menus' frame: remember the three channel volumes and silence them; then put them back.
void muteSound();
void restoreSound();

#pragma once

// defined in shell/sound_output.cpp
// The TED's voices (ted.sound.voices) onto the host's three channels, clearing their
// changed mark; while the sound is muted they wait and come back with restoreSound.
void playVoices();
// The menus' frame and the pause: silence the three channels; then give them the voices again.
void muteSound();
void restoreSound();

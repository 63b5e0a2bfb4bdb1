#pragma once
// Run controls a front end offers beside the machine's keys: warp (the machine runs
// free, as fast as the host allows) and pause (no machine steps; messages are still
// taken, shell.paused). Any host may call them.

// Warp sets the speed sync to none and puts the previous sync back when switched off.
// A new start reads the sync setting again, so warp is off after it.
void setWarp(bool on);
bool warpOn();
// Pausing silences the three voices; going on restores them. A new start is not paused.
void setPaused(bool on);

// The desktop's keys. F10: warp on, with the speed display shown while it lasts, or off
// with the display switched as it was. Pause: pauses with PAUSED on the status line, or
// goes on.
void toggleWarp();
void togglePause();

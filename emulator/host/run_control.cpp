// Warp and pause for front ends: the speed sync of the run and the shell's pause flag.
#include "host/run_control.h"

#include "common/configuration.h"
#include "host/frame_end.h"
#include "shell/shell.h"
#include "shell/sound_output.h"

namespace {

bool warp;
int32_t syncBeforeWarp;
uint8_t speedShownBeforeWarp;

}  // namespace

void setWarp(bool on) {
    if (on == warpOn()) return;
    if (on) {
        syncBeforeWarp = emulatorConfig.sync;
        emulatorConfig.sync = 0;
    } else {
        emulatorConfig.sync = syncBeforeWarp;
    }
    warp = on;
}

// Only while the sync is still none: a new start or the options menu may have changed it.
bool warpOn() { return warp && emulatorConfig.sync == 0; }

void setPaused(bool on) {
    if (on == (shell.paused != 0)) return;
    shell.paused = on;
    on ? muteSound() : restoreSound();
}

void toggleWarp() {
    const bool on = !warpOn();
    if (on) speedShownBeforeWarp = shell.speedDisplayShown;
    setWarp(on);
    shell.speedDisplayShown = on ? 1 : speedShownBeforeWarp;
}

void togglePause() {
    setPaused(!shell.paused);
    if (shell.paused) presentPaused();
}

// Speed synchronisation at each frame boundary: free-running, on the vertical blank,
// or at 50 frames per second on the performance counter.
#include "host/configuration.h"
#include "host/shell.h"
#include "menus/menu_screen.h"
#include "ted/memory_map.h"
#include "ted/raster.h"

namespace {

void syncToVerticalBlank() {
    // The cursor is drawn before the wait, so the blank is spent only on the copy.
    if (memory.ram[0xFF06] & 0x10) cursorPass();
    waitVerticalBlank();
}

// Measured from the previous stamp, which is taken after the wait: a late frame is
// never made up.
void waitFramePeriod() {
    while (static_cast<int64_t>(platform::performanceCounter() - shell.frameStamp) <
           static_cast<int64_t>(shell.ticksPerFrame)) {
    }
}

}  // namespace

void frameSync() {
    if (emulatorConfig.sync == 1) syncToVerticalBlank();
    if (emulatorConfig.sync == 2) waitFramePeriod();
    shell.frameStamp = platform::performanceCounter();
}

// The log's header and the configuration block: the effective settings of this run.
#include <cstdint>

#include "host/configuration.h"
#include "host/log.h"
#include "host/program.h"

namespace {

// Modes 4 and 5 are labelled the other way round from the modes they set; users'
// logs have always read so.
// clang-format off
constexpr const char* screenModeLabels[] = {
    "320x200\n",
    "400x300\n",
    "512x384\n",
    "320x240\n",
    "640x400\n",
    "640x480 Full\n",
    "800x600 SL\n",
};
// clang-format on

// clang-format off
constexpr const char* driveLabels[] = {
    "None\n",
    "PC Directory\n",
    "D64 File\n",
};
// clang-format on

constexpr const char* romLabels[] = {"ROM0L", "ROM0H", "ROM1L", "ROM1H", "ROM2L", "ROM2H", "ROM3L", "ROM3H"};

// An unknown value gets no label and no line break.
template <size_t n>
const char* label(const char* const (&labels)[n], int32_t value) {
    return value >= 0 && static_cast<size_t>(value) < n ? labels[value] : "";
}

const char* enabled(int32_t flag) { return flag == 1 ? "Enabled\n" : "Disabled\n"; }

}  // namespace

void writeLogHeader() {
    const EmulatorConfig& c = emulatorConfig;
    logLine("Varnok log file created.\n");
    logLine("Version: %s\n\n", VARNOK_VERSION);
    writeOsInfo();
    logLine("Screenmode: %s", label(screenModeLabels, c.screenMode));
    logLine("Sound emulation: %s", enabled(c.soundEmulation));
    logLine("Ram: %d\n", c.ram);
    logLine("ModeX: %s", enabled(c.modeX));
    logLine("Debugger: %s", enabled(c.debugger));
    logLine("Process priority: %d\n", c.priority);
    logLine("Synchronization: %d\n", c.sync);
    logLine("Joystick: %d\n", c.joystick);
    logLine("50Hz performance frequency: %d\n",
            static_cast<int32_t>(static_cast<uint32_t>(shell.ticksPerFrame)));
    logLine("Palette: %d\n", c.palette);
    logLine("Drive8: %s", label(driveLabels, c.driveType8));
    logLine("\n");
    for (int i = 0; i < 8; ++i) logLine("%s: %s\n", romLabels[i], c.romFileName[i].c_str());
    logLine("\n");
    logLine("Command line: %s\n", commandLine.c_str());
    logLine("\n");
}

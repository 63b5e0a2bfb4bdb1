#pragma once
#include <cstdint>
#include <string>

// The settings as read once at start (host/configuration.cpp reads them); the options
// menu changes some for the run. Every unit may read them.
struct EmulatorConfig {  // NOLINT(bugprone-reserved-identifier): a false report on the implicit copy
    int32_t screenMode = 0, priority = 0, soundEmulation = 1, debugger = 0, sync = 2, modeX = 0;
    int32_t ram = 2, palRom = 0, joystick = 0, log = 0;
    int32_t joy1UpCode = 0, joy1DownCode = 0, joy1LeftCode = 0, joy1RightCode = 0, joy1FireCode = 0;
    int32_t joy2UpCode = 0, joy2DownCode = 0, joy2LeftCode = 0, joy2RightCode = 0, joy2FireCode = 0;
    int32_t driveType8 = 0, driveNumber = 0, palette = 0, clock = 0;
    int32_t trueDrive8 = 0;                 // 0 port level, 1 a true 1551, 2 a true 1541
    int32_t windowed = 0, windowScale = 0;  // full screen, or a window of this scale (0: the largest)
    std::string romFileName[8];             // Rom0L, Rom0H, Rom1L, Rom1H, Rom2L, Rom2H, Rom3L, Rom3H
    std::string drive8PCDir, drive8D64;
    std::string drive1551Rom, drive1541Rom;  // the true drives' DOS ROM images
};

extern EmulatorConfig emulatorConfig;  // defined in common/configuration.cpp

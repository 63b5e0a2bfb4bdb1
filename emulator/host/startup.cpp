// The entry point: settings, log, RAM, ROM images, tables and power-on state, then
// the devices, the priority and the main loop.
#include <cstdio>
#include <cstring>

#include "drive/drive.h"
#include "host/configuration.h"
#include "host/log.h"
#include "host/main_loop.h"
#include "host/shell.h"
#include "machine/power.h"
#include "shell/shell.h"
#include "ted/keyboard.h"
#include "ted/memory_map.h"
#include "ted/raster.h"
#include "ted/sound.h"
#include "ted/ted.h"

namespace {

constexpr uint64_t framesPerSecond = 50;
constexpr int settleMessages = 32;  // messages the window gets before the monitor opens

bool fatal(const char* text) {
    fatalError(false, 0, "%s", text);
    return false;
}

uint8_t* romImage(int index) { return index % 2 ? memory.romHigh[index / 2] : memory.romLow[index / 2]; }

// Reads up to one image and closes the file; the rest of the image stays zero.
size_t readRomImage(std::FILE* file, int index) {
    size_t bytes = std::fread(romImage(index), 1, romImageBytes, file);
    std::fclose(file);
    return bytes;
}

bool loadRequiredRom(int index, const char* label) {
    const char* name = emulatorConfig.romFileName[index].c_str();
    char text[64];
    std::FILE* file = std::fopen(name, "rb");
    if (!file) {
        logLine("Error: File not found: %s.\n", name);
        std::snprintf(text, sizeof text, "Varnok Error: %s file not found.", label);
        return fatal(text);
    }
    logLine("Info: %s successfully opened.\n", name);
    if (readRomImage(file, index) == 0) {
        logLine("Error: Error while loading %s.\n", name);
        std::snprintf(text, sizeof text, "Varnok Error: Error while loading %s file.", label);
        return fatal(text);
    }
    logLine("Info: %s successfully loaded.\n", name);
    return true;
}

void loadOptionalRom(int index) {
    const char* name = emulatorConfig.romFileName[index].c_str();
    if (!*name) return;
    std::FILE* file = std::fopen(name, "rb");
    if (!file) {
        logLine("Warning: %s not found.\n", name);
        return;
    }
    if (readRomImage(file, index) > 0) logLine("Info: %s successfully loaded.\n", name);
}

bool allocateRam() {
    if (!allocateRamBlock()) {
        logLine("Error: Cannot allocate 64K RAM.\n");
        return fatal("Varnok Error: Cannot allocate 64K system memory");
    }
    logLine("Info: 64K RAM has been allocated.\n");
    fillPowerOnPattern(0x0000, 0xFFFF);
    setRamSize(emulatorConfig.ram);
    logLine("Info: 64K RAM has been initialized.\n");
    return true;
}

bool loadRoms() {
    if (!loadRequiredRom(0, "ROM0L") || !loadRequiredRom(1, "ROM0H")) return false;
    for (int index = 2; index < 8; ++index) loadOptionalRom(index);
    return true;
}

// The emulator's timing is PAL; an NTSC KERNAL would run its raster code at the wrong lines.
bool checkPalKernal() {
    if (!emulatorConfig.palRom) {
        logLine("Info: ROM check disabled.\n");
        return true;
    }
    if (memory.romHigh[0][0x3F80] & 0x80) return true;
    logLine("Error: Varnok requires PAL KERNAL ROM.\n");
    return fatal("Varnok Error: Varnok requires PAL KERNAL ROM");
}

void loadDriveImage() {
    if (emulatorConfig.driveType8 != 2) return;
    if (loadD64Image(emulatorConfig.drive8D64.c_str()))
        logLine("Info: D64 file has been loaded.\n");
    else
        logLine("Warning: D64 file not found: %s\n", emulatorConfig.drive8D64.c_str());
}

void buildTables() {
    buildTedTables();
    buildVoiceFrequencyTable();
    buildTrackOffsets();
    logLine("Info: Internal tables generated.\n");
}

void powerOn() {
    resetMachine(Reset::powerOn);
    logLine("Info: CPU initialized.\n");
}

// Steps up to the devices; any failure here has been reported through fatalError.
bool buildMachine() {
    shell.ticksPerFrame = platform::performanceFrequency() / framesPerSecond;
    shell.frameStamp = platform::performanceCounter();
    readConfiguration();
    keyboard.joystickMode = emulatorConfig.joystick;
    if (emulatorConfig.log) {
        if (!openLog()) return fatal("Varnok Error: Cannot create Varnok.log file.");
        writeLogHeader();
    }
    if (!allocateRam() || !loadRoms() || !checkPalKernal()) return false;
    loadDriveImage();
    buildTables();
    powerOn();
    return true;
}

void setPriority() {
    shell.savedPriorityClass = platform::getPriorityClass();
    logLine("Info: GetPriorityClass executed.\n");
    int32_t priority = emulatorConfig.priority;
    if (priority >= platform::priorityNormal && priority <= platform::priorityRealtime)
        platform::setPriorityClass(priority);
    logLine("Info: SetPriorityClass executed.\n");
}

// A previous run in this process may have left its RAM block, ROM images and bank choice.
void clearPreviousRun() {
    resetShellState();
    closeLog();
    if (memory.ram) releaseRamBlock();
    std::memset(memory.romLow, 0, sizeof memory.romLow);
    std::memset(memory.romHigh, 0, sizeof memory.romHigh);
    memory.romBankLow = memory.romBankHigh = 0;
}

}  // namespace

int startEmulator(const char* commandLineTail, int showCommand) {
    clearPreviousRun();
    commandLine = commandLineTail ? commandLineTail : "";
    platform::setWindowProc(windowProc);
    installDebugCart();

    if (!buildMachine()) return 0;
    if (initHostDevices(showCommand) != 0) {
        closeLog();
        return 0;
    }
    setPriority();

    if (emulatorConfig.debugger) {
        for (int i = 0; i < settleMessages; ++i) {
            const Pumped pumped = pumpMessage();
            if (pumped == Pumped::none) break;
            if (pumped == Pumped::quit) {
                closeLog();
                return shell.exitCode;
            }
        }
        shell.requests.monitor = shell.requests.pending = 1;
    }
    logLine("Info: Main loop reached. Emulation has beed started.\n");
    return runMainLoop();
}

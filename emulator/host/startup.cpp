// The entry point: settings, log, RAM, ROM images, tables, power-on state and the file
// named on the command line, then the devices, the priority and the main loop. Every
// failure up to the devices ends the program with exit status 1.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "drive/drive.h"
#include "fileio/files.h"
#include "host/autostart.h"
#include "host/configuration.h"
#include "host/frame_end.h"
#include "host/log.h"
#include "host/main_loop.h"
#include "host/program.h"
#include "machine/power.h"
#include "machine/settings.h"
#include "memory/memory.h"
#include "rom/open_rom.h"
#include "shell/pacing.h"
#include "shell/shell.h"
#include "ted/keyboard.h"
#include "ted/raster.h"
#include "ted/sound.h"
#include "ted/ted.h"
#include "truedrive/true_drive.h"

namespace {

constexpr uint64_t framesPerSecond = 50;
constexpr int settleMessages = 32;          // messages the window gets before the monitor opens
constexpr size_t largestRomFile = 1 << 20;  // only the first 16 KB are used
constexpr int fatalExit = 1;

bool fatal(const std::string& text) {
    fatalError(false, 0, "%s", text.c_str());
    return false;
}

constexpr const char* romLabels[8] = {"ROM0L", "ROM0H", "ROM1L", "ROM1H", "ROM2L", "ROM2H", "ROM3L", "ROM3H"};

uint8_t* romImage(int index) { return index % 2 ? memory.romHigh[index / 2] : memory.romLow[index / 2]; }

// The path a name was looked up at, for the user: relative names from the current directory.
std::string triedPath(const std::string& name) {
    if (name.empty()) return "(no file named in the settings)";
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(name, error);
    return error ? name : path.string();
}

// Reads a ROM file whole; up to one image of it is used and the rest of the image stays zero.
files::ReadStatus readRomFile(int index, size_t& bytesUsed, std::string& error) {
    const files::ReadResult read = files::readFile(emulatorConfig.romFileName[index], largestRomFile);
    error = read.error;
    bytesUsed = std::min(read.bytes.size(), romImageBytes);
    if (bytesUsed) std::memcpy(romImage(index), read.bytes.data(), bytesUsed);  // no data pointer when empty
    return read.status;
}

bool loadRequiredRom(int index) {
    const char* label = romLabels[index];
    const char* name = emulatorConfig.romFileName[index].c_str();
    size_t bytes = 0;
    std::string error;
    const files::ReadStatus status = readRomFile(index, bytes, error);
    if (status == files::ReadStatus::notFound) {
        logLine("Error: File not found: %s.\n", name);
        return fatal(std::string("Varnok Error: ") + label + " file not found.\n" + triedPath(name));
    }
    if (status == files::ReadStatus::ok) logLine("Info: %s successfully opened.\n", name);
    if (status != files::ReadStatus::ok || bytes == 0) {
        logLine("Error: Error while loading %s.\n", name);
        return fatal(std::string("Varnok Error: Error while loading ") + label + " file.\n" +
                     (error.empty() ? triedPath(name) + ": empty file" : error));
    }
    logLine("Info: %s successfully loaded.\n", name);
    return true;
}

// A named image that cannot be used leaves its bank empty; the machine starts all the
// same, and says so on standard error and on the status line, since the log is usually off.
void reportOptionalRom(int index, const char* problem, const std::string& detail) {
    const std::string name = std::filesystem::path(emulatorConfig.romFileName[index]).filename().string();
    std::fprintf(stderr, "varnok: %s file %s: %s; the machine starts without it\n", romLabels[index], problem,
                 detail.c_str());
    showNotice(std::string(romLabels[index]) + " " + problem + ": " + name);
}

void loadOptionalRom(int index) {
    const char* name = emulatorConfig.romFileName[index].c_str();
    if (!*name) return;
    size_t bytes = 0;
    std::string error;
    const files::ReadStatus status = readRomFile(index, bytes, error);
    if (status == files::ReadStatus::notFound) {
        logLine("Warning: %s not found.\n", name);
        reportOptionalRom(index, "not found", triedPath(name));
    } else if (status != files::ReadStatus::ok) {
        logLine("Warning: %s\n", error.c_str());
        reportOptionalRom(index, "unreadable", error);
    } else if (bytes == 0) {
        logLine("Warning: %s is empty.\n", name);
        reportOptionalRom(index, "empty", triedPath(name));
    } else {
        logLine("Info: %s successfully loaded.\n", name);
    }
}

// No ROM named at all: the open BASIC and KERNAL compiled into the program.
bool builtInRomWanted() {
    return emulatorConfig.romFileName[0].empty() && emulatorConfig.romFileName[1].empty();
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
    if (builtInRomWanted()) {
        std::memcpy(memory.romLow[0], openBasicImage, romImageBytes);
        std::memcpy(memory.romHigh[0], openKernalImage, romImageBytes);
        logLine("Info: built-in open ROM in use.\n");
    } else if (!loadRequiredRom(0) || !loadRequiredRom(1)) {
        return false;
    }
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

// Drive 8 as the settings describe it; a medium that cannot be mounted leaves it empty.
void startDrive() {
    const int32_t type = emulatorConfig.driveType8;
    powerOnDrive(type == 1 || type == 2);
    if (type == 1 && !mountHostDirectory(emulatorConfig.drive8PCDir))
        logLine("Warning: Drive 8 folder not found: %s\n", emulatorConfig.drive8PCDir.c_str());
    if (type != 2) return;
    const files::ReadResult image = files::readFile(emulatorConfig.drive8D64, d64LargestFileBytes);
    if (image && mountD64Image(emulatorConfig.drive8D64, image))
        logLine("Info: D64 file has been loaded.\n");
    else if (image || image.status == files::ReadStatus::notFound)
        logLine("Warning: D64 file not found: %s\n", emulatorConfig.drive8D64.c_str());
    else
        logLine("Warning: %s\n", image.error.c_str());
}

// Drive 8 as a drive of its own, when the settings ask for one and it can be had: a D64
// image on drive 8 and its DOS ROM. Otherwise drive 8 stays at the port level for this
// run, and the log says why.
void startTrueDrive() {
    const int32_t kind = emulatorConfig.trueDrive8;
    if (kind == 0) return;
    const char* name = kind == 1 ? "1551" : "1541";
    if (emulatorConfig.driveType8 != 2) {
        logLine("Warning: a true %s needs a D64 or G64 image on drive 8; drive 8 stays at the port level.\n",
                name);
        return;
    }
    const std::string& path = kind == 1 ? emulatorConfig.drive1551Rom : emulatorConfig.drive1541Rom;
    const files::ReadResult rom = files::readFile(path, dosRomBytes + 1);
    if (!rom || rom.bytes.size() != dosRomBytes) {
        logLine("Warning: the %s DOS ROM %s cannot be used (%s); drive 8 stays at the port level.\n", name,
                path.c_str(), rom ? "not 16384 bytes" : rom.error.c_str());
        return;
    }
    memory.serial.computerPort = memory.ram;  // the processor port's latches at $00 and $01
    attachTrueDrive(kind == 1 ? TrueDriveKind::drive1551 : TrueDriveKind::drive1541, rom.bytes,
                    memory.serial);
    logLine("Info: drive 8 is a true %s.\n", name);
}

// Settings that were out of range: in the log, and on standard error since the log is
// usually off.
void reportSettingFallbacks() {
    for (const std::string& line : settingFallbacks) {
        logLine("Warning: %s\n", line.c_str());
        std::fprintf(stderr, "varnok: %s\n", line.c_str());
    }
}

// The file named on the command line, read and checked before any window opens.
bool startCommandLineFile() {
    if (commandLine.empty()) return true;
    std::string error;
    if (autostartFile(commandLine, error)) return true;
    logLine("Error: %s\n", error.c_str());
    return fatal("Varnok Error: Cannot start the file named on the command line.\n" + error);
}

void buildTables() {
    startBeam();
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
    applySettings(emulatorConfig);
    if (emulatorConfig.log) {
        std::string error;
        if (!openLog(&error)) return fatal("Varnok Error: Cannot create Varnok.log file.\n" + error);
        writeLogHeader();
    }
    reportSettingFallbacks();
    if (!allocateRam() || !loadRoms() || !checkPalKernal()) return false;
    startDrive();
    startTrueDrive();
    buildTables();
    powerOn();
    return startCommandLineFile();
}

void setPriority() {
    shell.savedPriorityClass = platform::getPriorityClass();
    logLine("Info: GetPriorityClass executed.\n");
    int32_t priority = emulatorConfig.priority;
    if (priority >= platform::priorityNormal && priority <= platform::priorityRealtime)
        platform::setPriorityClass(priority);
    logLine("Info: SetPriorityClass executed.\n");
}

// A window the user resized opens at that scale next time.
void rememberWindowScale() {
    const int scale = platform::chosenWindowScale();
    if (scale > 0 && scale != emulatorConfig.windowScale) storeWindowScale(scale);
}

// A previous run in this process may have left its RAM block, ROM images and bank choice.
void clearPreviousRun() {
    resetShellState();
    clearNotices();
    cancelAutostart();
    closeLog();
    detachTrueDrive();
    if (memory.ram) releaseRamBlock();
    memory.serial = SerialBus{};
    std::memset(memory.romLow, 0, sizeof memory.romLow);
    std::memset(memory.romHigh, 0, sizeof memory.romHigh);
    memory.romBankLow = memory.romBankHigh = 0;
}

}  // namespace

bool beginEmulator(const char* commandLineTail, int showCommand, int& exitCode) {
    clearPreviousRun();
    commandLine = commandLineTail ? commandLineTail : "";
    std::error_code noFolder;
    shell.startFolder = std::filesystem::current_path(noFolder).string();
    setWindowProc(windowProc);
    memory.raisedEvents = 0;
    exitCode = fatalExit;

    if (!buildMachine()) return false;
    if (initHostDevices(showCommand) != 0) {
        closeLog();
        return false;
    }
    setPriority();

    if (emulatorConfig.debugger) {
        for (int i = 0; i < settleMessages; ++i) {
            const Pumped pumped = pumpMessage();
            if (pumped == Pumped::none) break;
            if (pumped == Pumped::quit) {
                closeLog();
                exitCode = shell.exitCode;
                return false;
            }
        }
        shell.requests.monitor = shell.requests.pending = 1;
    }
    logLine("Info: Main loop reached. Emulation has beed started.\n");
    beginMainLoop();
    return true;
}

int endEmulator() {
    const int32_t exitCode = endMainLoop();
    if (!flushTrueDriveDisk())
        logLine("Error: the true drive's writes cannot be saved to %s\n", drive.mediumPath.c_str());
    rememberWindowScale();
    return exitCode;
}

int startEmulator(const char* commandLineTail, int showCommand) {
    int exitCode = 0;
    if (!beginEmulator(commandLineTail, showCommand, exitCode)) return exitCode;
    while (!shell.quitRequested) performWait(loopTurn());
    return endEmulator();
}

// Starting a handed-over file: the file read and checked, then a reset request, a wait of
// some frames for the ROM, and the load and the typed keys, one command at a time.
#include "host/autostart.h"

#include <strings.h>

#include <cstring>
#include <vector>

#include "bus/interrupts.h"
#include "common/log.h"
#include "fileio/files.h"
#include "host/run_control.h"
#include "memory/memory.h"
#include "shell/shell.h"
#include "storage/disk_mount.h"
#include "storage/program_files.h"
#include "ted/ted.h"
#include "truedrive/true_drive.h"

namespace {

// Frames the machine runs after the reset before anything is typed: the ROM reaches
// its input loop well within them.
constexpr int framesForRomStart = 25;
// A true drive's DOS needs a moment after the power comes on before it listens (a LOAD a
// 1541 gets sooner never ends): a disk on one waits three seconds.
constexpr int framesForDriveStart = 150;
// A ROM that never shows the prompt still gets the disk's LOAD after ten seconds.
constexpr int promptFrameLimit = 500;
constexpr uint16_t keysWaiting = 0xEF;  // the KERNAL's count of keys in its buffer
constexpr int screenColumns = 40, screenRows = 25;
constexpr uint8_t screenBlank = 0x20;
constexpr uint8_t readyCodes[] = {0x12, 0x05, 0x01, 0x04, 0x19, 0x2E};  // "READY." as screen codes

enum class Step : uint8_t { loadProgram, typeLoad, typeRun };

struct Start {
    bool active = false;
    Step step = Step::loadProgram;
    std::vector<uint8_t> program;  // the checked program file
    int framesLeft = 0;            // before anything is typed
    int framesWaited = 0;          // for the prompt
};
Start start;
bool loadingWarp = false;  // the sync is off for a disk's start on a true drive

// A true drive takes its real time to load: a disk's start runs at full speed until RUN is
// typed, and the sync goes back then (unless it was changed meanwhile).
void warpWhileLoading(bool on) {
    if (on == loadingWarp) return;
    loadingWarp = on;
    setWarp(on);
}

bool endsWith(const std::string& name, const char* extension) {
    const size_t length = std::char_traits<char>::length(extension);
    return name.size() >= length && strcasecmp(name.c_str() + name.size() - length, extension) == 0;
}

// Why a file is refused: the read's own reason when it could not be read, else what its
// contents lack.
std::string refusal(const std::string& path, const files::ReadResult& file, LoadStatus status) {
    return !file && status == LoadStatus::unreadable ? file.error : path + ": " + loadStatusText(status);
}

uint8_t screenCode(uint16_t matrix, int row, int column) {
    const uint16_t address = static_cast<uint16_t>(matrix + 0x400 + row * screenColumns + column);
    return memory.ram[address & memory.foldMask] & 0x7F;  // a cursor drawn in reverse still counts
}

bool blankFrom(uint16_t matrix, int row, int column) {
    for (; column < screenColumns; ++column)
        if (screenCode(matrix, row, column) != screenBlank) return false;
    return true;
}

bool romAtPrompt() {
    if (memory.ram[keysWaiting] != 0) return false;
    const uint16_t matrix = static_cast<uint16_t>((memory.ram[tedMatrixBase] & 0xF8) << 8);
    int row = screenRows - 1;
    while (row >= 0 && blankFrom(matrix, row, 0)) --row;
    if (row < 0) return false;
    for (int column = 0; column < int(sizeof readyCodes); ++column)
        if (screenCode(matrix, row, column) != readyCodes[column]) return false;
    return blankFrom(matrix, row, int(sizeof readyCodes));
}

void finish() {
    start = Start{};
    warpWhileLoading(false);
    logLine("Info: Command line parameter has been executed.\n");
}

// Disks and programs begin with a reset, since the ROM's start empties the keyboard buffer.
void resetAndWait(Step step, std::vector<uint8_t> program = {}) {
    shell.requests.hardReset = shell.requests.pending = 1;
    const bool onTrueDrive = step == Step::typeLoad && trueDriveOn();
    start = Start{true, step, std::move(program), onTrueDrive ? framesForDriveStart : framesForRomStart, 0};
    warpWhileLoading(onTrueDrive);
}

bool startDisk(const std::string& path, std::string& error) {
    if (!mountDisk(path, error)) return false;
    resetAndWait(Step::typeLoad);
    return true;
}

bool startSnapshot(const std::string& path, std::string& error) {
    LoadStatus status;
    const files::ReadResult file = readSnapshotFile(path, status);
    if (file) status = loadSnapshotData(file.bytes);
    if (status != LoadStatus::loaded) {
        error = refusal(path, file, status);
        return false;
    }
    // The restored machine goes on from its own PC, not through a reset still pending.
    interrupts.resetPending = 0;
    finish();
    return true;
}

bool startProgram(const std::string& path, std::string& error) {
    LoadStatus status;
    files::ReadResult file = readProgramFile(path, status);
    if (file) status = checkProgram(file.bytes);
    if (status != LoadStatus::loaded) {
        error = refusal(path, file, status);
        return false;
    }
    resetAndWait(Step::loadProgram, std::move(file.bytes));
    return true;
}

// False when the step must wait for a later frame.
bool nextStep() {
    if (start.step == Step::loadProgram) {
        if (memory.ram[keysWaiting] != 0) return false;
        loadProgram(start.program);
        typeRun();
        finish();
        return true;
    }
    if (!romAtPrompt()) {
        // RUN waits for the end of the load however long it takes.
        if (start.step == Step::typeRun || ++start.framesWaited < promptFrameLimit) return false;
        if (memory.ram[keysWaiting] != 0) return false;
        logLine("Warning: The ROM shows no READY. prompt; LOAD is typed all the same.\n");
    }
    if (start.step == Step::typeLoad) {
        typeKeys("LOAD\"*\",8\r");
        start.step = Step::typeRun;
        return true;
    }
    typeRun();
    finish();
    return true;
}

}  // namespace

StartKind startKindOf(const char* path) {
    const std::string name = path ? path : "";
    if (endsWith(name, ".d64") || endsWith(name, ".g64")) return StartKind::disk;
    if (endsWith(name, ".fre")) return StartKind::snapshot;
    return StartKind::program;
}

bool autostartFile(const std::string& path, std::string& error) {
    if (!memory.ram) {
        error = path + ": the machine is not running";
        return false;
    }
    switch (startKindOf(path.c_str())) {
        case StartKind::disk:
            return startDisk(path, error);
        case StartKind::snapshot:
            return startSnapshot(path, error);
        case StartKind::program:
            break;
    }
    return startProgram(path, error);
}

bool autostartFile(const char* path) {
    std::string error;
    return path && autostartFile(std::string(path), error);
}

void autostartFrame() {
    // Only frames the machine itself ran count, and only after the reset was served.
    if (!start.active || !memory.ram || shell.requests.hardReset || shell.menuOpen || shell.paused) return;
    if (start.framesLeft > 0) {
        --start.framesLeft;
        return;
    }
    nextStep();
}

bool autostartPending() { return start.active; }

void cancelAutostart() {
    start = Start{};
    warpWhileLoading(false);
}

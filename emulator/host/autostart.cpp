// Starting a handed-over file: a reset request, a wait of some frames for the ROM, then
// the load and the typed keys, fed to the keyboard buffer one command at a time.
#include "host/autostart.h"

#include <strings.h>

#include <cstdio>
#include <string>

#include "common/configuration.h"
#include "drive/drive.h"
#include "shell/shell.h"
#include "storage/program_files.h"
#include "ted/memory_map.h"

namespace {

constexpr int32_t d64DriveType = 2;
// Frames the machine runs after the reset before anything is typed: the ROM reaches
// its input loop well within them.
constexpr int framesForRomStart = 25;
constexpr uint16_t keysWaiting = 0xEF;  // the KERNAL's count of keys in its buffer

struct Start {
    bool active = false;
    StartKind kind = StartKind::program;
    std::string path;
    int framesLeft = 0;
    int step = 0;
};
Start start;

bool readable(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::fclose(file);
    return true;
}

bool endsWith(const std::string& name, const char* extension) {
    const size_t length = std::char_traits<char>::length(extension);
    return name.size() >= length && strcasecmp(name.c_str() + name.size() - length, extension) == 0;
}

// One step per frame while the buffer is empty; false when the start is complete.
bool nextStep() {
    if (start.kind == StartKind::program) {
        loadProgramFile(start.path.c_str());
        typeRun();
        return false;
    }
    if (start.step == 0) {
        typeKeys("LOAD\"*\",8\r");
        return true;
    }
    typeKeys("RUN\r");
    return false;
}

}  // namespace

StartKind startKindOf(const char* path) {
    const std::string name = path ? path : "";
    if (endsWith(name, ".d64")) return StartKind::disk;
    if (endsWith(name, ".fre")) return StartKind::snapshot;
    return StartKind::program;
}

bool autostartFile(const char* path) {
    if (!path || !readable(path)) return false;
    const StartKind kind = startKindOf(path);
    if (kind == StartKind::snapshot) {
        start.active = false;
        loadSnapshot(path);
        return true;
    }
    if (kind == StartKind::disk) {
        if (!loadD64Image(path)) return false;
        emulatorConfig.driveType8 = d64DriveType;
        emulatorConfig.drive8D64 = path;
    }
    shell.requests.hardReset = shell.requests.pending = 1;
    start = Start{true, kind, path, framesForRomStart, 0};
    return true;
}

void autostartFrame() {
    // Only frames the machine itself ran count, and only after the reset was served.
    if (!start.active || !memory.ram || shell.requests.hardReset || shell.menuOpen || shell.paused) return;
    if (start.framesLeft > 0) {
        --start.framesLeft;
        return;
    }
    if (memory.ram[keysWaiting] != 0) return;
    start.active = nextStep();
    ++start.step;
}

bool autostartPending() { return start.active; }

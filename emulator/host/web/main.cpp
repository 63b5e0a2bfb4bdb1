// The page's entry point: the settings a first visit starts with, the folders the page
// fills, the functions the page calls, and the emulator started again after a restart
// or a quit. The built-in open ROM and demo are written as files (/rom) at start.
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "common/configuration.h"
#include "host/autostart.h"
#include "host/program.h"
#include "host/run_control.h"
#include "host/web/web_host.h"
#include "memory/memory.h"
#include "rom/open_rom.h"
#include "settings/key_store.h"

namespace {

constexpr const char* demoPath = "/rom/demo.prg";
// The open ROM and the demo, written where the settings name them; files the user drops
// are served by drive 8; chosen ROM images and screenshots have their own folders, and
// screenshots are written in the current one.
constexpr const char* folders[] = {"/rom", "/drive8", "/roms", "/screenshots"};
struct BuiltInFile {
    const char* path;
    const uint8_t* bytes;
    size_t size;
};
const BuiltInFile builtInFiles[] = {{"/rom/open-basic.bin", openBasicImage, openRomImageSize},
                                    {"/rom/open-kernal.bin", openKernalImage, openRomImageSize},
                                    {demoPath, demoProgram, demoProgramSize}};
constexpr const char* screenshotFolder = "/screenshots";

struct NumberValue {
    const char* name;
    uint32_t value;
};
// A first visit: 64K, the 400 x 300 screen with the border, the display's blanks, sound,
// and drive 8 serving the dropped files.
constexpr NumberValue firstNumbers[] = {{"PALROM", 1}, {"Ram", 2},        {"ScreenMode", 1},
                                        {"Sync", 1},   {"DriveType8", 1}, {"SoundEmulation", 1}};
struct TextValue {
    const char* name;
    const char* value;
};
constexpr TextValue firstTexts[] = {
    {"Rom0L", "/rom/open-basic.bin"}, {"Rom0H", "/rom/open-kernal.bin"}, {"Drive8PCDir", "/drive8"}};

void writeFirstSettings() {
    if (keystore::Key::openForReading()) return;
    auto key = keystore::Key::openForWriting();
    if (!key) return;  // a store refusing the text (full) leaves the settings at their initial values
    for (const NumberValue& v : firstNumbers) key->setNumber(v.name, v.value);
    for (const TextValue& v : firstTexts) key->setString(v.name, v.value);
}

// False when a file cannot be written whole; the start then reports what is missing.
bool writeBuiltInFile(const BuiltInFile& file) {
    std::FILE* out = std::fopen(file.path, "wb");
    if (!out) return false;
    const bool written = std::fwrite(file.bytes, 1, file.size, out) == file.size;
    return std::fclose(out) == 0 && written;
}

bool running = false;
bool restartRequested = false;

// clang-format off
EM_JS(void, tellRunning, (int on), {
    if (Module.onRunning) Module.onRunning(!!on);
});
// clang-format on

void setRunning(bool on) {
    running = on;
    tellRunning(on);
}

// A quit (F12) leaves the loop before the window's close is served; a program would end
// here, the page goes on: the window and its devices go now, and nothing the run left
// queued reaches the next one.
void endRun(int) {
    closeMainWindow();
    platform::Message message;
    while (platform::takeMessage(message)) {
    }
    setRunning(false);
    // A restart asked for while the run ended starts at the next turn.
    if (restartRequested) webhost::scheduleTurn();
}

// A new run starts at the configured speed, not paused; its turns follow until it quits.
void startRun(const char* program) {
    setWarp(false);
    setPaused(false);
    setRunning(true);
    int exitCode = 0;
    if (beginEmulator(program, 1, exitCode))
        webhost::beginTurns(endRun);
    else
        endRun(exitCode);
}

}  // namespace

// What the page calls. Each runs between two of the machine's turns.
extern "C" {

// Starts a file the page has written into the module's files; 0 when it cannot be used.
EMSCRIPTEN_KEEPALIVE int varnokOpenFile(const char* path) { return running && autostartFile(path) ? 1 : 0; }

EMSCRIPTEN_KEEPALIVE void varnokSetWarp(int on) { setWarp(on != 0); }
EMSCRIPTEN_KEEPALIVE int varnokWarp() { return warpOn() ? 1 : 0; }

EMSCRIPTEN_KEEPALIVE void varnokSetPaused(int on) {
    setPaused(on != 0);
    // The loop waits for a message while paused; this one only wakes it.
    webhost::pushMessage({platform::msgNone, 0});
}

// The machine's reset (F11) while it runs; a new start when it has stopped.
EMSCRIPTEN_KEEPALIVE void varnokReset() {
    if (running) {
        shell.requests.softReset = shell.requests.pending = 1;
    } else {
        restartRequested = true;
        webhost::scheduleTurn();
    }
}

// Ends the run (as the window's close does) and starts again with the stored settings.
EMSCRIPTEN_KEEPALIVE void varnokRestart() {
    restartRequested = true;
    if (running)
        platform::postMessage({platform::msgClose, 0});
    else
        webhost::scheduleTurn();
}

// Stores a text setting, read at the next start; 0 when the store cannot be written.
EMSCRIPTEN_KEEPALIVE int varnokSetSetting(const char* name, const char* value) {
    auto key = keystore::Key::openForWriting();
    return key && key->setString(name, value) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int varnokRunning() { return running ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE uint32_t varnokFrames() { return webhost::framesReceived(); }
// The machine's 64K, for the page's tests; null while it has stopped.
EMSCRIPTEN_KEEPALIVE uint8_t* varnokMemory() { return running ? memory.ram : nullptr; }

}  // extern "C"

bool webhost::runningFree() {
    return running && !shell.menuOpen && emulatorConfig.sync == 0 && !shell.paused;
}

void webhost::stoppedTurn() {
    if (running || !restartRequested) return;
    restartRequested = false;
    startRun("");
}

// Prepares the page's files and settings and starts the first run; the page's turns go on
// after main has returned.
int main() {
    for (const char* folder : folders) mkdir(folder, 0755);
    bool demo = true;
    for (const BuiltInFile& file : builtInFiles) demo = writeBuiltInFile(file) && demo;
    if (chdir(screenshotFolder) != 0) std::fprintf(stderr, "varnok: screenshots go to /\n");
    writeFirstSettings();
    startRun(demo ? demoPath : "");
    return 0;
}

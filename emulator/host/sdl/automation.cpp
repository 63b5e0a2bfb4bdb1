// Scripted runs: a file of key presses and waits, counted in presented frames,
// played into the key queue and the window messages as the window's own keys are.
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "fileio/files.h"
#include "host/backend/key_queue.h"
#include "host/sdl/backend.h"
#include "host/sdl/sdl_host.h"
#include "ted/keyboard.h"

namespace sdlhost {
namespace {

enum class Op { down, up, wait, drop };
struct Action {
    Op op;
    uint32_t value;  // scan code, ticks to wait, or the index of a dropped file's path
};

constexpr uint32_t tapTicks = 3;  // long enough for the KERNAL's scan to see a press and a release
constexpr uint8_t leftShift = 0x2A;
constexpr size_t scriptBytesLimit = 16 << 20;

std::vector<Action> actions;
std::vector<std::string> dropPaths;
size_t next = 0;
uint32_t waitLeft = 0;
bool active = false;
Uint64 lastTick = 0;

// What each matrix position types, without and with SHIFT: one line per row (the
// $FD30 bit), one character per column; 0 where the key types nothing printable.
// Letters type capitals unshifted, as the machine starts in upper-case mode.
// clang-format off
constexpr char unshifted[8][8] = {
    {0,   '\r', 0,   0,   0,   0,   0,   '@'},
    {'3', 'W',  'A', '4', 'Z', 'S', 'E', 0},
    {'5', 'R',  'D', '6', 'C', 'F', 'T', 'X'},
    {'7', 'Y',  'G', '8', 'B', 'H', 'U', 'V'},
    {'9', 'I',  'J', '0', 'M', 'K', 'O', 'N'},
    {0,   'P',  'L', 0,   '.', ':', '-', ','},
    {0,   '*',  ';', 0,   0,   '=', '+', '/'},
    {'1', 0,    0,   '2', ' ', 0,   'Q', 0},
};
constexpr char shifted[8][8] = {
    {0,    0, 0, 0,   0,   0,   0, 0},
    {'#',  0, 0, '$', 0,   0,   0, 0},
    {'%',  0, 0, '&', 0,   0,   0, 0},
    {'\'', 0, 0, '(', 0,   0,   0, 0},
    {')',  0, 0, 0,   0,   0,   0, 0},
    {0,    0, 0, 0,   '>', '[', 0, '<'},
    {0,    0, 0, 0,   0,   0,   0, '?'},
    {'!',  0, 0, '"', 0,   0,   0, 0},
};
// clang-format on

// The host key that presses a matrix position, found through the machine's key map.
int hostCodeFor(int position) {
    for (int code = 0; code < 256; ++code)
        if (keyMap[code] == position) return code;
    return -1;
}

bool findCharacter(char c, int& code, bool& shift) {
    char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column)
            for (bool withShift : {false, true})
                if ((withShift ? shifted : unshifted)[row][column] == wanted && wanted) {
                    code = hostCodeFor(column * 8 + row);
                    shift = withShift;
                    return code >= 0;
                }
    return false;
}

// A tap held for some frames, as a person types; or, with no hold, pressed and released
// at once, as a paste or a tool typing does.
void tap(uint8_t code, bool shift, uint32_t hold = tapTicks) {
    if (shift) actions.push_back({Op::down, leftShift});
    actions.push_back({Op::down, code});
    if (hold) actions.push_back({Op::wait, hold});
    actions.push_back({Op::up, code});
    if (shift) actions.push_back({Op::up, leftShift});
    if (hold) actions.push_back({Op::wait, hold});
}

std::string trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Adds one line's actions; returns the reason when the line is refused.
std::string parseLine(const std::string& line) {
    std::string text = trim(line);
    if (text.empty() || text[0] == '#') return {};
    size_t space = text.find_first_of(" \t");
    std::string command = text.substr(0, space);
    std::string argument = space == std::string::npos ? std::string() : trim(text.substr(space));
    if (command == "quit") {
        if (!argument.empty()) return "quit takes no argument";
        tap(keyByName("F12")->code, false);
        return {};
    }
    if (command == "wait") {
        char* end = nullptr;
        unsigned long ticks = std::strtoul(argument.c_str(), &end, 10);
        if (argument.empty() || *end || !std::isdigit(static_cast<unsigned char>(argument[0])) ||
            ticks > 1000000)
            return "wait needs a number of frames";
        actions.push_back({Op::wait, static_cast<uint32_t>(ticks)});
        return {};
    }
    if (command == "type" || command == "paste") {
        // The text is taken as written, up to the end of the line.
        std::string typed = text.substr(space == std::string::npos ? text.size() : space + 1);
        for (char c : typed) {
            int code = 0;
            bool shift = false;
            if (!findCharacter(c, code, shift)) return std::string("no key types '") + c + "'";
            tap(static_cast<uint8_t>(code), shift, command == "type" ? tapTicks : 0);
        }
        return {};
    }
    if (command == "drop") {
        // A file dropped on the window; the path is taken as written.
        if (argument.empty()) return "drop needs a file";
        actions.push_back({Op::drop, static_cast<uint32_t>(dropPaths.size())});
        dropPaths.push_back(argument);
        return {};
    }
    if (command != "keydown" && command != "keyup" && command != "tap")
        return "unknown command '" + command + "'";
    const HostKey* key = keyByName(argument);
    if (!key) return "unknown key '" + argument + "'";
    if (command == "tap")
        tap(key->code, false);
    else
        actions.push_back({command == "keydown" ? Op::down : Op::up, key->code});
    return {};
}

void press(uint8_t code, bool down) {
    backend::keyEvent(code, down);
    // Host keys also reach the window procedure, as a real key press would.
    if (const HostKey* key = keyByCode(code); key && key->virtualKey)
        pushMessage({down ? platform::msgKeyDown : platform::msgKeyUp, key->virtualKey});
}

void tick() {
    lastTick = SDL_GetPerformanceCounter();
    if (waitLeft > 0 && --waitLeft > 0) return;
    while (next < actions.size()) {
        const Action& action = actions[next++];
        if (action.op == Op::wait) {
            waitLeft = action.value;
            if (waitLeft > 0) return;
        } else if (action.op == Op::drop) {
            backend::pushDroppedFile(dropPaths[action.value].c_str());
        } else {
            press(static_cast<uint8_t>(action.value), action.op == Op::down);
        }
    }
}

}  // namespace

bool automationActive() { return active; }
void automationFrame() {
    if (active) tick();
}
// Polling loops that show nothing (waiting for a key's release) still see the script
// go on, slowly enough that a running machine's frames always come first.
void automationIdle() {
    if (active && SDL_GetPerformanceCounter() - lastTick > SDL_GetPerformanceFrequency() / 10) tick();
}

bool loadAutomation(std::string& error) {
    const char* path = std::getenv("VARNOK_AUTOMATION");
    if (!path || !*path) return true;
    const files::ReadResult script = files::readFile(path, scriptBytesLimit);
    if (!script) {
        error = "cannot read the automation script " + script.error;
        return false;
    }
    std::istringstream file{std::string(script.text())};
    std::string line;
    for (int number = 1; std::getline(file, line); ++number)
        if (std::string reason = parseLine(line); !reason.empty()) {
            error = std::string(path) + " line " + std::to_string(number) + ": " + reason;
            actions.clear();
            return false;
        }
    active = true;
    lastTick = SDL_GetPerformanceCounter();
    return true;
}

void shutdown() { SDL_Quit(); }

}  // namespace sdlhost

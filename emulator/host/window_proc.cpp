// The window procedure: it only sets flags, and the main loop does the work.
#include "host/program.h"

namespace {

using platform::Message;

// The state of Shift or Ctrl a host key asks for.
enum class Held : uint8_t { any, up, down };

enum class Action : uint8_t {
    raise,        // raise the request and the pending flag
    toggle,       // flip the flag and raise pending
    pendingOnly,  // raise pending with nothing to serve
    quit,         // end the loop and ask the window to close
};

struct HostKey {
    uint32_t key;
    Held shift, ctrl, alt;
    Action action;
    uint16_t* flag;
};

// Looked up top to bottom; the first row that matches the modifiers applies.
// clang-format off
const HostKey hostKeys[] = {
    {platform::vkF6,     Held::any,  Held::any,  Held::any,  Action::raise,       &shell.requests.screenshot},
    {platform::vkF7,     Held::up,   Held::any,  Held::any,  Action::raise,       &shell.requests.optionsMenu},
    {platform::vkF7,     Held::down, Held::any,  Held::any,  Action::raise,       &shell.requests.gameDatabase},
    {platform::vkF8,     Held::up,   Held::any,  Held::any,  Action::raise,       &shell.requests.loadMenu},
    {platform::vkF8,     Held::down, Held::any,  Held::any,  Action::raise,       &shell.requests.saveMenu},
    {platform::vkF9,     Held::up,   Held::any,  Held::any,  Action::raise,       &shell.requests.monitor},
    {platform::vkF9,     Held::down, Held::any,  Held::any,  Action::toggle,      &shell.quickRegistersShown},
    {platform::vkF10,    Held::any,  Held::any,  Held::any,  Action::raise,       &shell.requests.warp},
    {platform::vkF11,    Held::up,   Held::up,   Held::any,  Action::raise,       &shell.requests.softReset},
    {platform::vkF11,    Held::down, Held::up,   Held::any,  Action::raise,       &shell.requests.hardReset},
    {platform::vkF11,    Held::up,   Held::down, Held::any,  Action::raise,       &shell.requests.specialReset},
    {platform::vkF11,    Held::down, Held::down, Held::any,  Action::pendingOnly, nullptr},
    {platform::vkF12,    Held::any,  Held::any,  Held::any,  Action::quit,        nullptr},
    {platform::vkPause,  Held::any,  Held::any,  Held::any,  Action::raise,       &shell.requests.pause},
    {platform::vkReturn, Held::any,  Held::any,  Held::down, Action::raise,       &shell.requests.fullScreen},
};
// clang-format on

// Long enough for any path the host hands over.
constexpr int droppedPathBytes = 4096;

bool matches(Held wanted, uint16_t held) {
    return wanted == Held::any || (wanted == Held::down) == (held != 0);
}

void perform(const HostKey& row) {
    switch (row.action) {
        case Action::raise:
            *row.flag = 1;
            break;
        case Action::toggle:
            *row.flag ^= 1;
            break;
        case Action::pendingOnly:
            break;
        case Action::quit:
            shell.quitRequested = 1;
            platform::postMessage({platform::msgClose, 0});
            return;
    }
    shell.requests.pending = 1;
}

void keyDown(uint32_t key) {
    if (key == platform::vkShift) shell.shiftHeld = 1;
    if (key == platform::vkControl) shell.ctrlHeld = 1;
    if (key == platform::vkMenu) shell.altHeld = 1;
    if (shell.menuOpen) return;
    for (const auto& row : hostKeys) {
        if (row.key == key && matches(row.shift, shell.shiftHeld) && matches(row.ctrl, shell.ctrlHeld) &&
            matches(row.alt, shell.altHeld)) {
            perform(row);
            return;
        }
    }
}

void keyUp(uint32_t key) {
    if (key == platform::vkShift) shell.shiftHeld = 0;
    if (key == platform::vkControl) shell.ctrlHeld = 0;
    if (key == platform::vkMenu) shell.altHeld = 0;
}

// Taken like a file named on the command line; while a menu is open the drop is let go.
void dropFile(uint32_t drop) {
    char path[droppedPathBytes];
    if (!platform::takeDroppedFile(drop, path, sizeof path) || shell.menuOpen) return;
    requestStart(path);
}

void destroy() {
    if (shell.savedPriorityClass >= 0) platform::setPriorityClass(shell.savedPriorityClass);
    releaseHostDevices();
    // The devices are gone: no step may run before the loop retrieves the quit message.
    shell.windowActive = 0;
    platform::postMessage({platform::msgQuit, 0});
}

}  // namespace

// Messages it does not handle get the default processing, which for these is nothing but
// the destruction of a window asked to close.
int32_t windowProc(const Message& message) {
    switch (message.type) {
        case platform::msgDestroy:
            destroy();
            return 0;
        case platform::msgActivate:
            // An activation still queued behind the destruction must not restart the machine,
            // whose RAM has gone with the devices.
            shell.windowActive = (message.wParam == 1 || message.wParam == 2) && platform::windowExists();
            // Alt+Tab leaves with Alt down and its release goes elsewhere: Enter alone must not switch.
            if (!shell.windowActive) shell.altHeld = 0;
            return 0;
        case platform::msgSetCursor:
            return 1;  // the pointer stays hidden over the full screen
        case platform::msgKeyDown:
            // The load menu reads its own keys; the host keys must not reach it as requests.
            shell.requests.loadMenu ? keyUp(message.wParam) : keyDown(message.wParam);
            return 0;
        case platform::msgKeyUp:
            keyUp(message.wParam);
            return 0;
        case platform::msgClose:
            closeMainWindow();
            return 0;
        case platform::msgDropFile:
            dropFile(message.wParam);
            return 0;
        default:
            return 0;
    }
}

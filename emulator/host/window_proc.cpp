// The window procedure: it only sets flags, and the main loop does the work.
#include "host/shell.h"

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
    Held shift, ctrl;
    Action action;
    uint16_t* flag;
};

// Looked up top to bottom; the first row that matches the modifiers applies.
// clang-format off
const HostKey hostKeys[] = {
    {platform::vkF6,  Held::any,  Held::any,  Action::raise,       &screenshotRequest},
    {platform::vkF7,  Held::up,   Held::any,  Action::raise,       &optionsMenuRequest},
    {platform::vkF7,  Held::down, Held::any,  Action::raise,       &gameDatabaseRequest},
    {platform::vkF8,  Held::up,   Held::any,  Action::raise,       &loadMenuRequest},
    {platform::vkF8,  Held::down, Held::any,  Action::raise,       &saveMenuRequest},
    {platform::vkF9,  Held::up,   Held::any,  Action::raise,       &monitorRequest},
    {platform::vkF9,  Held::down, Held::any,  Action::toggle,      &quickRegistersShown},
    {platform::vkF11, Held::up,   Held::up,   Action::raise,       &softResetRequest},
    {platform::vkF11, Held::down, Held::up,   Action::raise,       &hardResetRequest},
    {platform::vkF11, Held::up,   Held::down, Action::raise,       &specialResetRequest},
    {platform::vkF11, Held::down, Held::down, Action::pendingOnly, nullptr},
    {platform::vkF12, Held::any,  Held::any,  Action::quit,        nullptr},
};
// clang-format on

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
            quitRequested = 1;
            platform::postCloseRequest();
            return;
    }
    hostRequestPending = 1;
}

void keyDown(uint32_t key) {
    if (key == platform::vkShift) shiftHeld = 1;
    if (key == platform::vkControl) ctrlHeld = 1;
    if (menuOpen) return;
    for (const auto& row : hostKeys) {
        if (row.key == key && matches(row.shift, shiftHeld) && matches(row.ctrl, ctrlHeld)) {
            perform(row);
            return;
        }
    }
}

void keyUp(uint32_t key) {
    if (key == platform::vkShift) shiftHeld = 0;
    if (key == platform::vkControl) ctrlHeld = 0;
}

void destroy() {
    if (savedPriorityClass >= 0) platform::setPriorityClass(savedPriorityClass);
    releaseHostDevices();
    // The devices are gone: no step may run before the loop retrieves the quit message.
    windowActive = 0;
    platform::postQuitMessage(0);
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
            windowActive = (message.wParam == 1 || message.wParam == 2) && platform::windowExists();
            return 0;
        case platform::msgSetCursor:
            return 1;  // the pointer stays hidden over the full screen
        case platform::msgKeyDown:
            // The load menu reads its own keys; the host keys must not reach it as requests.
            loadMenuRequest ? keyUp(message.wParam) : keyDown(message.wParam);
            return 0;
        case platform::msgKeyUp:
            keyUp(message.wParam);
            return 0;
        case platform::msgClose:
            platform::destroyMainWindow();
            return 0;
        default:
            return 0;
    }
}

// The PC keyboard: 256 bytes by scan code, from the window's key events through the
// key queue; lost (until taken again) whenever the window loses the focus.
#include "host/backend/input_devices.h"
#include "host/backend/key_queue.h"
#include "host/sdl/sdl_host.h"

namespace sdlhost {
namespace {

using platform::vkControl;
using platform::vkShift;

// SDL scancode, DirectInput code and name, virtual key of the key's messages.
constexpr HostKey hostKeys[] = {
    {SDL_SCANCODE_ESCAPE, 0x01, "ESCAPE", 0},
    {SDL_SCANCODE_1, 0x02, "1", 0},
    {SDL_SCANCODE_2, 0x03, "2", 0},
    {SDL_SCANCODE_3, 0x04, "3", 0},
    {SDL_SCANCODE_4, 0x05, "4", 0},
    {SDL_SCANCODE_5, 0x06, "5", 0},
    {SDL_SCANCODE_6, 0x07, "6", 0},
    {SDL_SCANCODE_7, 0x08, "7", 0},
    {SDL_SCANCODE_8, 0x09, "8", 0},
    {SDL_SCANCODE_9, 0x0A, "9", 0},
    {SDL_SCANCODE_0, 0x0B, "0", 0},
    {SDL_SCANCODE_MINUS, 0x0C, "MINUS", 0},
    {SDL_SCANCODE_EQUALS, 0x0D, "EQUALS", 0},
    {SDL_SCANCODE_BACKSPACE, 0x0E, "BACK", 0},
    {SDL_SCANCODE_TAB, 0x0F, "TAB", 0},
    {SDL_SCANCODE_Q, 0x10, "Q", 0},
    {SDL_SCANCODE_W, 0x11, "W", 0},
    {SDL_SCANCODE_E, 0x12, "E", 0},
    {SDL_SCANCODE_R, 0x13, "R", 0},
    {SDL_SCANCODE_T, 0x14, "T", 0},
    {SDL_SCANCODE_Y, 0x15, "Y", 0},
    {SDL_SCANCODE_U, 0x16, "U", 0},
    {SDL_SCANCODE_I, 0x17, "I", 0},
    {SDL_SCANCODE_O, 0x18, "O", 0},
    {SDL_SCANCODE_P, 0x19, "P", 0},
    {SDL_SCANCODE_LEFTBRACKET, 0x1A, "LBRACKET", 0},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B, "RBRACKET", 0},
    {SDL_SCANCODE_RETURN, 0x1C, "RETURN", platform::vkReturn},
    {SDL_SCANCODE_LCTRL, 0x1D, "LCONTROL", vkControl},
    {SDL_SCANCODE_A, 0x1E, "A", 0},
    {SDL_SCANCODE_S, 0x1F, "S", 0},
    {SDL_SCANCODE_D, 0x20, "D", 0},
    {SDL_SCANCODE_F, 0x21, "F", 0},
    {SDL_SCANCODE_G, 0x22, "G", 0},
    {SDL_SCANCODE_H, 0x23, "H", 0},
    {SDL_SCANCODE_J, 0x24, "J", 0},
    {SDL_SCANCODE_K, 0x25, "K", 0},
    {SDL_SCANCODE_L, 0x26, "L", 0},
    {SDL_SCANCODE_SEMICOLON, 0x27, "SEMICOLON", 0},
    {SDL_SCANCODE_APOSTROPHE, 0x28, "APOSTROPHE", 0},
    {SDL_SCANCODE_GRAVE, 0x29, "GRAVE", 0},
    {SDL_SCANCODE_LSHIFT, 0x2A, "LSHIFT", vkShift},
    {SDL_SCANCODE_BACKSLASH, 0x2B, "BACKSLASH", 0},
    {SDL_SCANCODE_Z, 0x2C, "Z", 0},
    {SDL_SCANCODE_X, 0x2D, "X", 0},
    {SDL_SCANCODE_C, 0x2E, "C", 0},
    {SDL_SCANCODE_V, 0x2F, "V", 0},
    {SDL_SCANCODE_B, 0x30, "B", 0},
    {SDL_SCANCODE_N, 0x31, "N", 0},
    {SDL_SCANCODE_M, 0x32, "M", 0},
    {SDL_SCANCODE_COMMA, 0x33, "COMMA", 0},
    {SDL_SCANCODE_PERIOD, 0x34, "PERIOD", 0},
    {SDL_SCANCODE_SLASH, 0x35, "SLASH", 0},
    {SDL_SCANCODE_RSHIFT, 0x36, "RSHIFT", vkShift},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37, "MULTIPLY", 0},
    {SDL_SCANCODE_LALT, 0x38, "LMENU", platform::vkMenu},
    {SDL_SCANCODE_SPACE, 0x39, "SPACE", 0},
    {SDL_SCANCODE_CAPSLOCK, 0x3A, "CAPITAL", 0},
    {SDL_SCANCODE_F1, 0x3B, "F1", platform::vkF1},
    {SDL_SCANCODE_F2, 0x3C, "F2", platform::vkF1 + 1},
    {SDL_SCANCODE_F3, 0x3D, "F3", platform::vkF1 + 2},
    {SDL_SCANCODE_F4, 0x3E, "F4", platform::vkF1 + 3},
    {SDL_SCANCODE_F5, 0x3F, "F5", platform::vkF1 + 4},
    {SDL_SCANCODE_F6, 0x40, "F6", platform::vkF6},
    {SDL_SCANCODE_F7, 0x41, "F7", platform::vkF7},
    {SDL_SCANCODE_F8, 0x42, "F8", platform::vkF8},
    {SDL_SCANCODE_F9, 0x43, "F9", platform::vkF9},
    {SDL_SCANCODE_F10, 0x44, "F10", platform::vkF10},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45, "NUMLOCK", 0},
    {SDL_SCANCODE_SCROLLLOCK, 0x46, "SCROLL", 0},
    {SDL_SCANCODE_KP_7, 0x47, "NUMPAD7", 0},
    {SDL_SCANCODE_KP_8, 0x48, "NUMPAD8", 0},
    {SDL_SCANCODE_KP_9, 0x49, "NUMPAD9", 0},
    {SDL_SCANCODE_KP_MINUS, 0x4A, "SUBTRACT", 0},
    {SDL_SCANCODE_KP_4, 0x4B, "NUMPAD4", 0},
    {SDL_SCANCODE_KP_5, 0x4C, "NUMPAD5", 0},
    {SDL_SCANCODE_KP_6, 0x4D, "NUMPAD6", 0},
    {SDL_SCANCODE_KP_PLUS, 0x4E, "ADD", 0},
    {SDL_SCANCODE_KP_1, 0x4F, "NUMPAD1", 0},
    {SDL_SCANCODE_KP_2, 0x50, "NUMPAD2", 0},
    {SDL_SCANCODE_KP_3, 0x51, "NUMPAD3", 0},
    {SDL_SCANCODE_KP_0, 0x52, "NUMPAD0", 0},
    {SDL_SCANCODE_KP_PERIOD, 0x53, "DECIMAL", 0},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56, "OEM_102", 0},
    {SDL_SCANCODE_F11, 0x57, "F11", platform::vkF11},
    {SDL_SCANCODE_F12, 0x58, "F12", platform::vkF12},
    {SDL_SCANCODE_KP_ENTER, 0x9C, "NUMPADENTER", platform::vkReturn},
    {SDL_SCANCODE_RCTRL, 0x9D, "RCONTROL", vkControl},
    {SDL_SCANCODE_KP_DIVIDE, 0xB5, "DIVIDE", 0},
    {SDL_SCANCODE_PRINTSCREEN, 0xB7, "SYSRQ", 0},
    {SDL_SCANCODE_RALT, 0xB8, "RMENU", platform::vkMenu},
    {SDL_SCANCODE_PAUSE, 0xC5, "PAUSE", platform::vkPause},
    {SDL_SCANCODE_HOME, 0xC7, "HOME", 0},
    {SDL_SCANCODE_UP, 0xC8, "UP", 0},
    {SDL_SCANCODE_PAGEUP, 0xC9, "PRIOR", 0},
    {SDL_SCANCODE_LEFT, 0xCB, "LEFT", 0},
    {SDL_SCANCODE_RIGHT, 0xCD, "RIGHT", 0},
    {SDL_SCANCODE_END, 0xCF, "END", 0},
    {SDL_SCANCODE_DOWN, 0xD0, "DOWN", 0},
    {SDL_SCANCODE_PAGEDOWN, 0xD1, "NEXT", 0},
    {SDL_SCANCODE_INSERT, 0xD2, "INSERT", 0},
    {SDL_SCANCODE_DELETE, 0xD3, "DELETE", 0},
    {SDL_SCANCODE_LGUI, 0xDB, "LWIN", 0},
    {SDL_SCANCODE_RGUI, 0xDC, "RWIN", 0},
    {SDL_SCANCODE_APPLICATION, 0xDD, "APPS", 0},
};

}  // namespace

const HostKey* keyByScancode(SDL_Scancode scancode) {
    for (const HostKey& key : hostKeys)
        if (key.scancode == scancode) return &key;
    return nullptr;
}
const HostKey* keyByName(std::string_view name) {
    for (const HostKey& key : hostKeys)
        if (name == key.name) return &key;
    return nullptr;
}
const HostKey* keyByCode(uint8_t code) {
    for (const HostKey& key : hostKeys)
        if (key.code == code) return &key;
    return nullptr;
}

}  // namespace sdlhost

bool backend::openInput() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return false;
    sdlhost::openGamepad();  // a machine without one plays on the keys alone
    return true;
}

// Polling loops read the keyboard without taking messages, so events are pumped here too.
void backend::pollInput() {
    sdlhost::pumpEvents(false);
    sdlhost::automationIdle();
}

double backend::inputMilliseconds() {
    return 1000.0 * double(SDL_GetPerformanceCounter()) / double(SDL_GetPerformanceFrequency());
}

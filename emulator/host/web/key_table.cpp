// One row per physical key; two names of one key (older browsers' "OS" keys) share a code.
#include "host/web/key_table.h"

#include <cstring>

#include "platform/platform.h"

namespace webhost {
namespace {

using platform::vkControl;
using platform::vkF1;
using platform::vkShift;

// clang-format off
constexpr BrowserKey keys[] = {
    {"Escape", 0x01, 0},        {"Digit1", 0x02, 0},         {"Digit2", 0x03, 0},
    {"Digit3", 0x04, 0},        {"Digit4", 0x05, 0},         {"Digit5", 0x06, 0},
    {"Digit6", 0x07, 0},        {"Digit7", 0x08, 0},         {"Digit8", 0x09, 0},
    {"Digit9", 0x0A, 0},        {"Digit0", 0x0B, 0},         {"Minus", 0x0C, 0},
    {"Equal", 0x0D, 0},         {"Backspace", 0x0E, 0},      {"Tab", 0x0F, 0},
    {"KeyQ", 0x10, 0},          {"KeyW", 0x11, 0},           {"KeyE", 0x12, 0},
    {"KeyR", 0x13, 0},          {"KeyT", 0x14, 0},           {"KeyY", 0x15, 0},
    {"KeyU", 0x16, 0},          {"KeyI", 0x17, 0},           {"KeyO", 0x18, 0},
    {"KeyP", 0x19, 0},          {"BracketLeft", 0x1A, 0},    {"BracketRight", 0x1B, 0},
    {"Enter", 0x1C, 0},         {"ControlLeft", 0x1D, vkControl},
    {"KeyA", 0x1E, 0},          {"KeyS", 0x1F, 0},           {"KeyD", 0x20, 0},
    {"KeyF", 0x21, 0},          {"KeyG", 0x22, 0},           {"KeyH", 0x23, 0},
    {"KeyJ", 0x24, 0},          {"KeyK", 0x25, 0},           {"KeyL", 0x26, 0},
    {"Semicolon", 0x27, 0},     {"Quote", 0x28, 0},          {"Backquote", 0x29, 0},
    {"ShiftLeft", 0x2A, vkShift},                            {"Backslash", 0x2B, 0},
    {"KeyZ", 0x2C, 0},          {"KeyX", 0x2D, 0},           {"KeyC", 0x2E, 0},
    {"KeyV", 0x2F, 0},          {"KeyB", 0x30, 0},           {"KeyN", 0x31, 0},
    {"KeyM", 0x32, 0},          {"Comma", 0x33, 0},          {"Period", 0x34, 0},
    {"Slash", 0x35, 0},         {"ShiftRight", 0x36, vkShift},
    {"NumpadMultiply", 0x37, 0}, {"AltLeft", 0x38, 0},       {"Space", 0x39, 0},
    {"CapsLock", 0x3A, 0},
    {"F1", 0x3B, vkF1},         {"F2", 0x3C, vkF1 + 1},      {"F3", 0x3D, vkF1 + 2},
    {"F4", 0x3E, vkF1 + 3},     {"F5", 0x3F, vkF1 + 4},      {"F6", 0x40, platform::vkF6},
    {"F7", 0x41, platform::vkF7}, {"F8", 0x42, platform::vkF8}, {"F9", 0x43, platform::vkF9},
    {"F10", 0x44, platform::vkF10},
    {"NumLock", 0x45, 0},       {"ScrollLock", 0x46, 0},
    {"Numpad7", 0x47, 0},       {"Numpad8", 0x48, 0},        {"Numpad9", 0x49, 0},
    {"NumpadSubtract", 0x4A, 0}, {"Numpad4", 0x4B, 0},       {"Numpad5", 0x4C, 0},
    {"Numpad6", 0x4D, 0},       {"NumpadAdd", 0x4E, 0},      {"Numpad1", 0x4F, 0},
    {"Numpad2", 0x50, 0},       {"Numpad3", 0x51, 0},        {"Numpad0", 0x52, 0},
    {"NumpadDecimal", 0x53, 0}, {"IntlBackslash", 0x56, 0},
    {"F11", 0x57, platform::vkF11}, {"F12", 0x58, platform::vkF12},
    {"NumpadEnter", 0x9C, 0},   {"ControlRight", 0x9D, vkControl},
    {"NumpadDivide", 0xB5, 0},  {"PrintScreen", 0xB7, 0},    {"AltRight", 0xB8, 0},
    {"Pause", 0xC5, 0},         {"Home", 0xC7, 0},           {"ArrowUp", 0xC8, 0},
    {"PageUp", 0xC9, 0},        {"ArrowLeft", 0xCB, 0},      {"ArrowRight", 0xCD, 0},
    {"End", 0xCF, 0},           {"ArrowDown", 0xD0, 0},      {"PageDown", 0xD1, 0},
    {"Insert", 0xD2, 0},        {"Delete", 0xD3, 0},
    {"MetaLeft", 0xDB, 0},      {"OSLeft", 0xDB, 0},
    {"MetaRight", 0xDC, 0},     {"OSRight", 0xDC, 0},        {"ContextMenu", 0xDD, 0},
};
// clang-format on

}  // namespace

const BrowserKey* keyByCode(const char* code) {
    if (!code) return nullptr;
    for (const BrowserKey& key : keys)
        if (std::strcmp(key.code, code) == 0) return &key;
    return nullptr;
}

const BrowserKey* browserKeys(size_t& count) {
    count = sizeof keys / sizeof keys[0];
    return keys;
}

}  // namespace webhost

#pragma once
// The browser's keys by physical position (KeyboardEvent.code), each with the
// DirectInput scan code it stands for: the codes the desktop's keys give, so every
// machine key sits in the same place on both. Kept free of the browser, so the
// desktop's tests can check it.
#include <cstddef>
#include <cstdint>

namespace webhost {

struct BrowserKey {
    const char* code;     // KeyboardEvent.code
    uint8_t scanCode;     // DirectInput scan code
    uint32_t virtualKey;  // the virtual key its messages carry; 0 for keys that send none
};

// Null for a key the emulator does not use.
const BrowserKey* keyByCode(const char* code);
// The whole table, for the tests.
const BrowserKey* browserKeys(size_t& count);

}  // namespace webhost

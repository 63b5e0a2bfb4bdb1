// Monitor page 2: 128 bytes as hex and characters, as the CPU reads them or as
// they stand in RAM.
#include <cstdio>

#include "bus/memory_map.h"
#include "menus/key_codes.h"
#include "menus/menu_screen.h"
#include "monitor/monitor_pages.h"
#include "state/machine.h"

namespace {

// Survive leaving the page and the monitor.
bool locked = false;
uint16_t lockedAddress = 0;
bool rawView = false;  // false: through the memory map ("ROM"), true: the RAM store

uint8_t viewByte(uint16_t address) { return rawView ? memory.ram[address] : readMemory(address); }

// Characters: the low seven bits, 64-127 as the screen code 64 lower, control codes as '.'.
uint8_t characterCode(uint8_t byte) {
    uint8_t c = byte & 0x7F;
    if (c < 32) return 46;
    return c < 64 ? c : static_cast<uint8_t>(c - 64);
}

void drawDump(uint16_t start) {
    for (int row = 0; row < 16; ++row) {
        uint16_t address = static_cast<uint16_t>(start + row * 8);
        char text[8];
        std::snprintf(text, sizeof text, "%04X:", address);
        drawMenuText(0, 2 + row, text, locked ? 0x51 : 0x71, 0x00);
        for (int i = 0; i < 8; ++i) {
            uint8_t byte = viewByte(static_cast<uint16_t>(address + i));
            std::snprintf(text, sizeof text, "%02X", byte);
            drawMenuText(5 + 3 * i, 2 + row, text, 0x71, 0x00);
            drawScreenCode(31 + i, 2 + row, characterCode(byte), 0x00, 0x71);
        }
    }
    char status[32];
    std::snprintf(status, sizeof status, "ROM/RAM STATUS: %s", rawView ? "RAM" : "ROM");
    drawMenuText(0, 22, status, 0x44, 0x00);
    drawMenuText(0, 22, "R", 0x3B, 0x00);
}

uint16_t start = 0;

void enter() {
    start = static_cast<uint16_t>((locked ? lockedAddress : reg.PC) & 0xFFF8);
    clearMenuScreen();
    drawMonitorTitle("MEMORY DUMP");
    drawRegisterHeader(19);
    drawRegisterRow(20);
    drawKeyHelp("ESC-BACK  T-TED  L-LOCK  TAB-TED DUMP   ", {{0, "ESC"}, {10, "T"}, {17, "L"}, {25, "TAB"}});
}

// The cursor keys scroll at half the passes' pace, the page keys at a third.
int pass() {
    drawDump(start);
    presentMenu();
    int extraPasses = 0;
    if (isKeyDown(key::down) == 1 && start < 0xFF80)
        start = static_cast<uint16_t>(start + 8), extraPasses = 1;
    if (isKeyDown(key::up) == 1 && start > 7) start = static_cast<uint16_t>(start - 8), extraPasses = 1;
    if (isKeyDown(key::pageDown) == 1) start = start < 0xFF00 ? start + 128 : 0xFF80, extraPasses = 2;
    if (isKeyDown(key::pageUp) == 1) start = start > 128 ? start - 128 : 0, extraPasses = 2;
    if (isKeyDown(key::home) == 1) start = 0;
    if (isKeyDown(key::end) == 1) start = 0xFF80;
    if (isKeyDown(key::letter('T')) == 1) start = 0xFF00;
    if (isKeyDown(key::letter('L')) == 1) {
        locked = !locked;
        lockedAddress = start;
        awaitRelease(key::letter('L'));
    }
    if (isKeyDown(key::letter('R')) == 1) {
        rawView = !rawView;
        awaitRelease(key::letter('R'));
    }
    restPasses(extraPasses);
    int next = isKeyDown(key::tab) == 1 ? tedDumpPage : memoryDumpPage;
    const int chosen = commonPageKeys();
    if (chosen >= 0 && chosen != memoryDumpPage) next = chosen;
    return next;
}

// The start shown last is where the page opens while it is locked.
void leave() { lockedAddress = start; }

}  // namespace

const MonitorPageOps memoryDumpOps{enter, pass, leave};

// Monitor page 1: the listing from PC, stepping, step over and the breakpoint.
#include <cstdio>

#include "machine/step.h"
#include "menus/key_codes.h"
#include "menus/menu_screen.h"
#include "monitor/disassembler.h"
#include "monitor/monitor_pages.h"
#include "state/machine.h"

namespace {

constexpr int listingRows = 16;

// Draws the listing from `start`; returns the address of the last line drawn
// and sets `second` and `afterLast` for the scrolling keys.
uint16_t drawListing(uint16_t start, uint16_t& second, uint16_t& afterLast, bool& wrapped) {
    uint32_t address = start;
    uint16_t last = start;
    second = start;
    wrapped = false;
    for (int i = 0; i < listingRows; ++i) {
        if (address > 0xFFFF) {  // lines past the top of memory are not drawn
            wrapped = true;
            break;
        }
        uint16_t next = 0;
        std::string text = disassembleLine(static_cast<uint16_t>(address), next);
        char head[8];
        std::snprintf(head, sizeof head, "%c%04X ", address == reg.PC ? '>' : ' ',
                      static_cast<unsigned>(address));
        drawMenuText(0, 2 + i, head, 0x71, 0x00);
        drawMenuText(6, 2 + i, text.c_str(), 0x71, 0x00);
        last = static_cast<uint16_t>(address);
        uint32_t following = next < address ? 0x10000u + next : next;
        if (i == 0) second = next;
        address = following;
    }
    afterLast = static_cast<uint16_t>(address);
    return last;
}

void drawStatus() {
    drawRegisterHeader(19);
    char text[48];
    std::snprintf(text, sizeof text, "LASTCYCLE: %02X", machine.stepCycles);
    drawMenuText(27, 19, text, 0x46, 0x00);
    drawRegisterRow(20);
    std::snprintf(text, sizeof text, "BREAKPOINT: %04X %s", machine.breakpointAddress,
                  machine.breakpointEnabled == 1 ? "ENABLED " : "DISABLED");
    drawMenuText(0, 22, text, machine.breakpointEnabled == 1 ? 0x75 : 0x45, 0x00);
}

// F5: a four-digit address typed in a field at column 1 of row 2; Enter takes it as the
// listing's start, Escape leaves the start as it was.
struct AddressEntry {
    bool active = false;
    char field[5] = "    ";
    int digits = 0;
    uint32_t value = 0;
};

uint16_t start = 0;
AddressEntry entry;

void addressEntryPass() {
    drawMenuText(1, 2, entry.field, 0x71, 0x14);
    presentMenu();
    for (int d = 0; d < 16; ++d) {
        const uint8_t code = key::forCharacter(key::hexCharacters[d]);
        if (isKeyDown(code) != 1) continue;
        if (entry.digits < 4) {
            entry.value = entry.value * 16 + static_cast<uint32_t>(d);
            entry.field[entry.digits++] = key::hexCharacters[d];
        }
        awaitRelease(code);
    }
    if (isKeyDown(key::backspace) == 1) {
        if (entry.digits > 0) {
            entry.value >>= 4;
            entry.field[--entry.digits] = ' ';
        }
        awaitRelease(key::backspace);
    }
    const bool accepted = isKeyDown(key::enter) == 1;
    if (!accepted && isKeyDown(key::escape) != 1) return;
    awaitRelease(key::escape);
    if (accepted) start = static_cast<uint16_t>(entry.value);
    entry.active = false;
}

void enter() {
    start = reg.PC;
    entry = AddressEntry{};
}

int pass() {
    if (entry.active) {
        addressEntryPass();
        return disassemblerPage;
    }
    clearMenuScreen();
    drawMonitorTitle("DISASSEMBLER");
    uint16_t second = 0, afterLast = 0;
    bool wrapped = false;
    const uint16_t last = drawListing(start, second, afterLast, wrapped);
    drawStatus();
    drawKeyHelp("F5-JMP F6-SET BKPT F7-JSR F8-STEP B-BKPT",
                {{0, "F5"}, {7, "F6"}, {19, "F7"}, {26, "F8"}, {34, "B"}});
    presentMenu();

    // Held with right Shift: one step per pass, so one per frame.
    if ((isKeyDown(key::f8) == 1 && isKeyDown(key::rightShift) == 1) || repeatedKeyDown(key::f8)) {
        stepInstruction();
        start = reg.PC;
    }
    if (repeatedKeyDown(key::f7)) {
        stepOver();
        start = reg.PC;
    }
    if (repeatedKeyDown(key::down)) start = second;
    if (repeatedKeyDown(key::up) && start > 0) --start;
    // The start never goes below address 0.
    if (repeatedKeyDown(key::pageUp) && start > 0) start = start > 16 ? static_cast<uint16_t>(start - 16) : 0;
    if (repeatedKeyDown(key::pageDown) && !wrapped && last < 0xFFFF) start = afterLast;
    if (isKeyDown(key::letter('B')) == 1) {
        machine.breakpointEnabled = machine.breakpointEnabled == 1 ? 0 : 1;
        awaitRelease(key::letter('B'));
    }
    if (isKeyDown(key::f6) == 1) machine.breakpointAddress = start;
    if (isKeyDown(key::f5) == 1) {
        awaitRelease(key::f5);
        entry = AddressEntry{};
        entry.active = true;
    }
    return pageKeys(disassemblerPage, memoryDumpPage);
}

}  // namespace

const MonitorPageOps disassemblerOps{enter, pass, nullptr};

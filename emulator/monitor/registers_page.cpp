// Monitor page 4: the register editor, one hex digit or flag at a time.
#include <cstdio>

#include "memory/memory.h"
#include "menus/key_codes.h"
#include "menus/menu_screen.h"
#include "monitor/monitor_pages.h"
#include "state/machine.h"
#include "ted/sound.h"
#include "ted/ted.h"

namespace {

// The 19 editable positions of the register line: where each digit stands and
// what it edits (a nibble of a register, or a flag).
struct EditPosition {
    int col;
    int shift;      // nibble position within the value
    uint8_t* byte;  // a register byte, or null for PC
    uint8_t* flag;  // a flag, or null
};

EditPosition positions[19] = {
    {0, 12, nullptr, nullptr}, {1, 8, nullptr, nullptr},  {2, 4, nullptr, nullptr},
    {3, 0, nullptr, nullptr},  {5, 4, &reg.AC, nullptr},  {6, 0, &reg.AC, nullptr},
    {8, 4, &reg.XR, nullptr},  {9, 0, &reg.XR, nullptr},  {11, 4, &reg.YR, nullptr},
    {12, 0, &reg.YR, nullptr}, {14, 4, &reg.SP, nullptr}, {15, 0, &reg.SP, nullptr},
    {17, 0, nullptr, &reg.N},  {18, 0, nullptr, &reg.V},  {20, 0, nullptr, &reg.B},
    {21, 0, nullptr, &reg.D},  {22, 0, nullptr, &reg.I},  {23, 0, nullptr, &reg.Z},
    {24, 0, nullptr, &reg.C},
};

unsigned digitAt(const EditPosition& p) {
    if (p.flag) return *p.flag != 0;
    unsigned value = p.byte ? *p.byte : reg.PC;
    return value >> p.shift & 15;
}

void setDigit(const EditPosition& p, unsigned digit) {
    if (p.flag) {
        if (digit <= 1) *p.flag = static_cast<uint8_t>(digit);  // only 0 and 1 change a flag
        return;
    }
    unsigned mask = 15u << p.shift;
    if (p.byte)
        *p.byte = static_cast<uint8_t>((*p.byte & ~mask) | digit << p.shift);
    else
        reg.PC = static_cast<uint16_t>((reg.PC & ~mask) | digit << p.shift);
}

void drawPage(int cursor) {
    drawRegisterRow(3);
    char text[48];
    std::snprintf(text, sizeof text, "%X", digitAt(positions[cursor]));
    drawMenuText(positions[cursor].col, 3, text, 0x71, 0x14);
    std::snprintf(text, sizeof text, "DIGI VOLUME:   %X", ted.sound.digiVolume);
    drawMenuText(0, 5, text, 0x44, 0x00);
    uint8_t control = memory.ram[tedSoundControl];
    std::snprintf(text, sizeof text, "$FF11: $%02X - %d%d%d%d%d%d%d%d", control, control >> 7 & 1,
                  control >> 6 & 1, control >> 5 & 1, control >> 4 & 1, control >> 3 & 1, control >> 2 & 1,
                  control >> 1 & 1, control & 1);
    drawMenuText(18, 5, text, 0x44, 0x00);
    std::snprintf(text, sizeof text, "DIGI CHANNELS: %d",
                  ted.sound.digiChannels >= 2 ? 2 : ted.sound.digiChannels);
    drawMenuText(0, 6, text, 0x44, 0x00);
    std::snprintf(text, sizeof text, "DIGI LEVEL:    %d", ted.sound.digiLevel);
    drawMenuText(0, 7, text, 0x44, 0x00);
    std::snprintf(text, sizeof text, "$FF09:%04X $FF0A:%04X", memory.ram[tedInterruptRequest],
                  memory.ram[tedInterruptEnable]);
    drawMenuText(0, 9, text, 0x44, 0x00);
}

int cursor = 0;

void enter() {
    clearMenuScreen();
    drawMonitorTitle("REGISTERS");
    drawRegisterHeader(2);
    drawKeyHelp("ESC-BACK  TAB-DISASSEMBLER              ", {{0, "ESC"}, {10, "TAB"}});
    cursor = 0;
}

int pass() {
    drawPage(cursor);
    presentMenu();
    if (repeatedKeyDown(key::left) && cursor > 0) --cursor;
    if (repeatedKeyDown(key::right) && cursor < 18) ++cursor;
    for (unsigned d = 0; d < 16; ++d) {
        const uint8_t code = key::forCharacter(key::hexCharacters[d]);
        if (!repeatedKeyDown(code)) continue;
        setDigit(positions[cursor], d);
        if (cursor < 18) ++cursor;
    }
    return pageKeys(registersPage, disassemblerPage);
}

}  // namespace

const MonitorPageOps registersOps{enter, pass, nullptr};

// Monitor page 3: the TED's state in words, read as the CPU would read it.
#include <cstdio>

#include "bus/memory_map.h"
#include "menus/key_codes.h"
#include "menus/menu_screen.h"
#include "monitor/monitor_pages.h"
#include "ted/sound.h"
#include "ted/ted.h"

namespace {

uint8_t tedByte(uint16_t address) { return readMemory(address); }
bool bit(uint16_t address, int n) { return tedByte(address) >> n & 1; }
const char* onOff(bool on, const char* yes, const char* no) { return on ? yes : no; }

void line(int row, uint8_t colour, const char* format, auto... values) {
    char text[48];
    std::snprintf(text, sizeof text, format, values...);
    drawMenuText(0, row, text, colour, 0x00);
}

void drawTimer(int row, int n, uint16_t low, uint16_t reload, uint8_t running) {
    char format[] = "TIMERn:                %04X/%04X %s";
    format[5] = static_cast<char>('0' + n);
    line(row, 0x68, format, tedByte(low + 1) << 8 | tedByte(low), reload, onOff(running, "ON ", "OFF"));
}

const char* oscillator2() {
    uint8_t control = tedByte(0xFF11);
    if (control & 0x40) return "NOISE";
    return control & 0x20 ? "ON   " : "OFF  ";
}

void drawTedDump() {
    clearMenuScreen();
    drawMonitorTitle("TED DUMP #1");
    drawTimer(2, 1, 0xFF00, ted.timer1.reload, ted.timer1.running);
    drawTimer(3, 2, 0xFF02, ted.timer2.reload, ted.timer2.running);
    drawTimer(4, 3, 0xFF04, ted.timer3.reload, ted.timer3.running);
    int cursor = (tedByte(0xFF0C) & 3) * 256 + tedByte(0xFF0D);
    line(5, 0x61, "CURSOR POSITION:             %03X %s", cursor, onOff(cursor <= 999, "ON ", "OFF"));
    line(6, 0x61, "BEAM X/Y:                 %02X/%03X", tedByte(0xFF1E),
         (tedByte(0xFF1C) & 1) * 256 + tedByte(0xFF1D));
    line(7, 0x61, "RASTER INTERRUPT:            %03X", ted.rasterCompare);
    line(8, 0x6D, "VIDEO MATRIX:               %04X", (tedByte(0xFF14) & 0xF8) * 256);
    line(9, 0x6D, "CHR GENERATOR:              %04X %s", (tedByte(0xFF13) & 0xFC) * 256,
         onOff(bit(0xFF12, 2), "ROM", "RAM"));
    line(10, 0x6F, "HORIZONTAL SHIFT:           %s/%1X", onOff(bit(0xFF07, 3), "40", "38"),
         tedByte(0xFF07) & 7);
    line(11, 0x6F, "VERTICAL SHIFT:             %s/%1X", onOff(bit(0xFF06, 3), "25", "24"),
         tedByte(0xFF06) & 7);
    line(12, 0x69, "SLOW MODE BIT:               %s", onOff(bit(0xFF13, 1), " ON", "OFF"));
    line(13, 0x69, "ROM STATUS (HI/LO):     %s %x %x", onOff(bit(0xFF13, 0), " ENABLED", "DISABLED"),
         memory.romBankHigh, memory.romBankLow);
    line(14, 0x66, "COLOR #0 #1 #2 #3    %02X %02X %02X %02X", tedByte(0xFF15), tedByte(0xFF16),
         tedByte(0xFF17), tedByte(0xFF18));
    const char* labels[4] = {"#0", "#1", "#2", "#3"};
    for (int i = 0; i < 4; ++i)
        drawMenuText(6 + 3 * i, 14, labels[i], tedByte(static_cast<uint16_t>(0xFF15 + i)), 0x00);
    line(15, 0x66, "BORDER COLOR #4               %02X", tedByte(0xFF19));
    drawMenuText(13, 15, "#4", tedByte(0xFF19), 0x00);
    line(16, 0x64, "EXTENDED-COLOR MODE:         %s", onOff(bit(0xFF06, 6), " ON", "OFF"));
    line(17, 0x64, "MULTI-COLOR MODE:            %s", onOff(bit(0xFF07, 4), " ON", "OFF"));
    line(18, 0x64, "HIRES MODE:                  %s", onOff(bit(0xFF06, 5), " ON", "OFF"));
    line(19, 0x64, "REVERSE MODE:                %s", onOff(bit(0xFF07, 7), " ON", "OFF"));
    line(20, 0x63, "VOLUME:                        %01X", tedByte(0xFF11) & 15);
    line(21, 0x63, "SOUND OSCILLATOR #1:        %04X %s", ted.sound.voice1Freq,
         onOff(bit(0xFF11, 4), "ON ", "OFF"));
    line(22, 0x63, "SOUND OSCILLATOR #2:        %04X %s", ted.sound.voice2Freq, oscillator2());
    drawKeyHelp("ESC-BACK  TAB-DISASSEMBLER              ", {{0, "ESC"}, {10, "TAB"}});
}

// Drawn once as the page is entered; then only the keys are looked at.
int pass() {
    presentMenu();
    return pageKeys(tedDumpPage, registersPage);
}

}  // namespace

const MonitorPageOps tedDumpOps{drawTedDump, pass, nullptr};

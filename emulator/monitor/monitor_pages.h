#pragma once
// The monitor's four pages share these pieces. Each page is entered, then runs one pass
// at a time: it draws, looks at the keys and returns the page to go on with (its own to
// stay, 0 to leave the monitor).
#include <cstdint>

#include "menus/menu_parts.h"  // drawKeyHelp
#include "menus/menu_screen.h"

enum MonitorPage : int {
    leaveMonitor = 0,
    disassemblerPage = 1,
    memoryDumpPage = 2,
    tedDumpPage = 3,
    registersPage = 4
};

struct MonitorPageOps {
    void (*enter)();
    int (*pass)();
    void (*leave)();  // may be null
};
extern const MonitorPageOps disassemblerOps, memoryDumpOps, tedDumpOps, registersOps;

// Row 0: the page title and the page hint.
void drawMonitorTitle(const char* title);
// " PC  AC XR YR SP NV-BDIZC" and the register row below it.
void drawRegisterHeader(int row);
void drawRegisterRow(int row);
// Formats the register line "%04X %02X %02X %02X %02X %X%X1%X%X%X%X%X".
void formatRegisterLine(char* text, int size);
// F1-F4 select a page, ESC leaves (once it is up): the page to go to, or -1.
int commonPageKeys();
// The next page for TAB, and the pages' own keys: a page stays unless one of them is down.
int pageKeys(int page, int tabPage);

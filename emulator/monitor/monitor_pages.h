#pragma once
// The monitor's four pages share these pieces. Each page draws, runs its key
// loop and returns the next page number, 0 to leave the monitor.
#include <cstdint>

#include "menus/menu_parts.h"   // drawKeyHelp
#include "menus/menu_screen.h"  // menuPass

enum MonitorPage : int {
    leaveMonitor = 0,
    disassemblerPage = 1,
    memoryDumpPage = 2,
    tedDumpPage = 3,
    registersPage = 4
};

int runDisassemblerPage();
int runMemoryDumpPage();
int runTedDumpPage();
int runRegistersPage();

// Row 0: the page title and the page hint.
void drawMonitorTitle(const char* title);
// " PC  AC XR YR SP NV-BDIZC" and the register row below it.
void drawRegisterHeader(int row);
void drawRegisterRow(int row);
// Formats the register line "%04X %02X %02X %02X %02X %X%X1%X%X%X%X%X".
void formatRegisterLine(char* text, int size);
// F1-F4 select a page, ESC leaves (after its release): the page to go to, or -1.
int commonPageKeys();
// Waits until TAB is up, so that one TAB press moves one page.
void waitTabRelease();

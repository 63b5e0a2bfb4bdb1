// The machine-code monitor: four pages over the live machine, entered with F9,
// at the breakpoint, or at start with the Debugger setting.
#include "monitor/monitor.h"

#include <cstdio>

#include "menus/key_codes.h"
#include "menus/menu_screen.h"
#include "monitor/monitor_pages.h"
#include "shell/shell.h"
#include "state/machine.h"

void drawMonitorTitle(const char* title) {
    char line[41];
    std::snprintf(line, sizeof line, "%-40s", title);
    drawMenuText(0, 0, line, 0x71, 0x5E);
    drawMenuText(15, 0, "USE F1-F4 TO CHANGE PAGES", 0x61, 0x5E);
}

void formatRegisterLine(char* text, int size) {
    std::snprintf(text, static_cast<size_t>(size), "%04X %02X %02X %02X %02X %X%X1%X%X%X%X%X", reg.PC, reg.AC,
                  reg.XR, reg.YR, reg.SP, reg.N != 0, reg.V != 0, reg.B != 0, reg.D != 0, reg.I != 0,
                  reg.Z != 0, reg.C != 0);
}

void drawRegisterHeader(int row) { drawMenuText(0, row, " PC  AC XR YR SP NV-BDIZC", 0x44, 0x00); }

void drawRegisterRow(int row) {
    char text[48];
    formatRegisterLine(text, sizeof text);
    drawMenuText(0, row, text, 0x44, 0x00);
}

int commonPageKeys() {
    const uint8_t pageKeys[4] = {key::f1, key::f2, key::f3, key::f4};
    for (int i = 0; i < 4; ++i)
        if (isKeyDown(pageKeys[i]) == 1) return i + 1;
    if (isKeyDown(key::escape) == 1) {
        awaitRelease(key::escape);
        return leaveMonitor;
    }
    return -1;
}

int pageKeys(int page, int tabPage) {
    if (isKeyDown(key::tab) == 1) return tabPage;
    const int chosen = commonPageKeys();
    return chosen >= 0 && chosen != page ? chosen : page;
}

namespace {

constexpr const MonitorPageOps* pages[5] = {nullptr, &disassemblerOps, &memoryDumpOps, &tedDumpOps,
                                            &registersOps};
int page = leaveMonitor;

// Each page first waits until TAB is up, so that one TAB press moves one page.
void enterPage(int next) {
    page = next;
    awaitRelease(key::tab);
    pages[page]->enter();
}

void open() {
    openMenu();  // marks a menu open and silences the three channels
    enterPage(disassemblerPage);
}

bool pass() {
    const int next = pages[page]->pass();
    if (next == page) return true;
    if (pages[page]->leave) pages[page]->leave();
    if (next == leaveMonitor) {
        page = leaveMonitor;
        return false;
    }
    enterPage(next);
    return true;
}

// A quit ends the monitor on any page, without leaving the page the usual way.
void close() { page = leaveMonitor; }

}  // namespace

const Screen monitorScreen{open, pass, close, &shell.requests.monitor};

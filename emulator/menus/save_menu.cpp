// The save menu: writes a range of RAM as a program file, or the whole machine as a
// snapshot, into the current directory (where the load menu last went), and names it.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "menus/key_codes.h"
#include "menus/menu_parts.h"
#include "menus/menu_screen.h"
#include "menus/menus.h"
#include "shell/shell.h"
#include "storage/program_files.h"

namespace {

enum Page { programPage = 2, snapshotPage = 3 };

constexpr uint8_t textColour = 0x71, errorColour = 0x3B, fieldBackground = 0x14;

// Each line of this menu paints its whole row: the text at its indent, blanks around it.
void drawLine(int row, int indent, const char* text, uint8_t colour) {
    drawMenuText(0, row, "                                        ", colour, 0x00);
    drawMenuText(indent, row, text, colour, 0x00);
}

void drawPage(int page) {
    clearMenuScreen();
    drawPageTitle("     SAVE PROGRAM  -  SAVE SNAPSHOT     ",
                  page == programPage ? HotKey{5, "SAVE PROGRAM"} : HotKey{22, "SAVE SNAPSHOT"});
    drawKeyHelp("ESC-BACK ENTER-SAVE                     ", {{0, "ESC"}, {9, "ENTER"}});
    if (page == programPage)
        drawLine(5, 3, "PRESS ENTER TO SAVE A MEMORY AREA", textColour);
    else
        drawLine(5, 5, "PRESS ENTER TO SAVE A SNAPSHOT", textColour);
}

// The typed name with the extension, shown back in the field; false on Esc.
bool inputFileName(const char* extension, std::string& path) {
    drawLine(8, 13, "ENTER FILENAME:", textColour);
    presentMenu();
    char name[24] = {};
    if (inputText(10, 10, 20, name) != 2) return false;
    path = std::string(name) + extension;
    drawMenuText(10, 10, path.c_str(), textColour, fieldBackground);
    return true;
}

// Up to four hex digits, padded on the left with zeros; false on Esc or a quit.
bool inputAddress(int row, const char* label, uint16_t& address) {
    drawMenuText(10, row, label, textColour, 0x00);
    char typed[8] = {};
    if (inputHex(26, row, 4, typed) != 2) return false;
    char padded[5] = "0000";
    const size_t length = std::strlen(typed);
    std::copy_n(typed, length, padded + 4 - length);
    drawMenuText(26, row, padded, textColour, fieldBackground);
    address = parseHex4(padded);
    return true;
}

// The folder a file went to: the one the load menu last went to, which the user may not
// have in mind. A long one shows its end.
void drawSavedFolder() {
    std::error_code error;
    std::string text = "IN " + std::filesystem::current_path(error).string();
    if (error) return;
    constexpr size_t columns = 40;
    if (text.size() > columns) text = "IN ..." + text.substr(text.size() - (columns - 6));
    drawLine(19, static_cast<int>(columns - text.size()) / 2, text.c_str(), textColour);
}

// A file that could not be written is said so, not reported as saved.
void showOutcome(bool written) {
    if (!written) {
        drawLine(18, 12, "OPERATION FAILED", errorColour);
        return;
    }
    drawLine(18, 10, "OPERATION SUCCESSFUL", textColour);
    drawSavedFolder();
}

// Serves window messages meanwhile, so a quit ends the wait too.
void waitForEnter() {
    drawLine(20, 8, "PRESS ENTER TO CONTINUE!", textColour);
    drawMenuText(14, 20, "ENTER", 0x4F, 0x00);
    while (true) {
        const MenuPass pass = menuPass();
        if (pass == MenuPass::quit) return;
        if (pass == MenuPass::wait) continue;
        presentMenu();
        if (isKeyDown(key::enter) == 1) {
            waitKeyRelease(key::enter);
            return;
        }
    }
}

void saveProgramDialogue() {
    std::string path;
    uint16_t start = 0, end = 0;
    if (!inputFileName(".PRG", path) || !inputAddress(12, "START ADDRESS: $", start) ||
        !inputAddress(14, "  END ADDRESS: $", end))
        return;
    if (start >= end)
        drawLine(18, 5, "ILLEGAL START AND END ADDRESS", errorColour);
    else
        showOutcome(saveProgramFile(path.c_str(), start, end));
    waitForEnter();
}

void saveSnapshotDialogue() {
    std::string path;
    if (!inputFileName(".FRE", path)) return;
    showOutcome(saveSnapshot(path.c_str()));
    waitForEnter();
}

}  // namespace

void runSaveMenu() {
    int page = programPage;
    openMenu();
    while (true) {
        const MenuPass pass = menuPass();
        if (pass == MenuPass::quit) break;
        if (pass == MenuPass::wait) continue;
        drawPage(page);
        presentMenu();
        if (isKeyDown(key::escape) == 1) break;
        if (isKeyDown(key::right) == 1) {
            page = snapshotPage;
            waitKeyRelease(key::right);
        }
        if (isKeyDown(key::left) == 1) {
            page = programPage;
            waitKeyRelease(key::left);
        }
        if (isKeyDown(key::enter) == 1) {
            waitKeyRelease(key::enter);
            if (page == programPage)
                saveProgramDialogue();
            else
                saveSnapshotDialogue();
            break;
        }
    }
    waitKeyRelease(key::enter);
    shell.shiftHeld = shell.ctrlHeld = 0;
    closeMenu(shell.requests.saveMenu);
}

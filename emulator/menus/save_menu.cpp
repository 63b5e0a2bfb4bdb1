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

// What the menu is doing: choosing the page, taking the name, the start and the end
// address in turn, then showing the outcome until Enter.
enum class Step { page, name, start, end, outcome };

struct SaveMenu {
    int page = programPage;
    Step step = Step::page;
    LineEditor editor = LineEditor::text(10, 10, 20);
    const char* extension = ".PRG";
    std::string path;
    uint16_t start = 0;
};
SaveMenu shown;  // the menu on screen

void editName(const char* extension) {
    drawLine(8, 13, "ENTER FILENAME:", textColour);
    presentMenu();
    shown.extension = extension;
    shown.editor = LineEditor::text(10, 10, 20);
    shown.step = Step::name;
    holdMessages(true);
}

void editAddress(int row, const char* label, Step step) {
    drawMenuText(10, row, label, textColour, 0x00);
    shown.editor = LineEditor::hex(26, row, 4);
    shown.step = step;
}

// Up to four hex digits, padded on the left with zeros and shown back in the field.
uint16_t typedAddress(int row, const char* typed) {
    char padded[5] = "0000";
    const size_t length = std::strlen(typed);
    std::copy_n(typed, length, padded + 4 - length);
    drawMenuText(26, row, padded, textColour, fieldBackground);
    return parseHex4(padded);
}

void waitForEnter() {
    drawLine(20, 8, "PRESS ENTER TO CONTINUE!", textColour);
    drawMenuText(14, 20, "ENTER", 0x4F, 0x00);
    shown.step = Step::outcome;
}

bool pagePass() {
    drawPage(shown.page);
    presentMenu();
    if (isKeyDown(key::escape) == 1) return false;
    if (isKeyDown(key::right) == 1) {
        shown.page = snapshotPage;
        awaitRelease(key::right);
    }
    if (isKeyDown(key::left) == 1) {
        shown.page = programPage;
        awaitRelease(key::left);
    }
    if (isKeyDown(key::enter) == 1) {
        awaitRelease(key::enter);
        editName(shown.page == programPage ? ".PRG" : ".FRE");
    }
    return true;
}

// The name with the extension, shown back in the field; a snapshot is written at once.
bool namePass() {
    char name[24] = {};
    const LineEditor::Outcome outcome = shown.editor.pass(name);
    if (outcome == LineEditor::editing) return true;
    holdMessages(false);
    if (outcome == LineEditor::abandoned) return false;
    shown.path = std::string(name) + shown.extension;
    drawMenuText(10, 10, shown.path.c_str(), textColour, fieldBackground);
    if (shown.page == programPage) {
        editAddress(12, "START ADDRESS: $", Step::start);
        return true;
    }
    showOutcome(saveSnapshot(shown.path.c_str()));
    waitForEnter();
    return true;
}

bool addressPass() {
    char typed[8] = {};
    const LineEditor::Outcome outcome = shown.editor.pass(typed);
    if (outcome == LineEditor::editing) return true;
    if (outcome == LineEditor::abandoned) return false;
    if (shown.step == Step::start) {
        shown.start = typedAddress(12, typed);
        editAddress(14, "  END ADDRESS: $", Step::end);
        return true;
    }
    const uint16_t end = typedAddress(14, typed);
    if (shown.start >= end)
        drawLine(18, 5, "ILLEGAL START AND END ADDRESS", errorColour);
    else
        showOutcome(saveProgramFile(shown.path.c_str(), shown.start, end));
    waitForEnter();
    return true;
}

bool outcomePass() {
    presentMenu();
    if (isKeyDown(key::enter) != 1) return true;
    awaitRelease(key::enter);
    return false;
}

void open() {
    shown = SaveMenu{};
    openMenu();
}

bool pass() {
    bool going = true;
    switch (shown.step) {
        case Step::page:
            going = pagePass();
            break;
        case Step::name:
            going = namePass();
            break;
        case Step::start:
        case Step::end:
            going = addressPass();
            break;
        case Step::outcome:
            going = outcomePass();
            break;
    }
    if (!going) awaitRelease(key::enter);
    return going;
}

// Also when the menu ends at a quit.
void close() {
    holdMessages(false);
    shell.shiftHeld = shell.ctrlHeld = 0;
}

}  // namespace

const Screen saveMenu{open, pass, close, &shell.requests.saveMenu};

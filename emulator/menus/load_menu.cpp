// The load menu: browses the host's directories and loads a program or a snapshot
// straight into the machine, or puts a disk image into drive 8. A directory it moves to
// stays the process's current one after it closes, so the save menu and drive 8 start
// from there.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <system_error>

#include "menus/file_list.h"
#include "menus/key_codes.h"
#include "menus/menu_parts.h"
#include "menus/menu_screen.h"
#include "menus/menus.h"
#include "shell/shell.h"
#include "storage/disk_mount.h"
#include "storage/program_files.h"

namespace {

enum Page { programPage = 2, snapshotPage = 3, tapePage = 4, diskPage = 5 };

constexpr int windowRows = 15, listTop = 6, refusalRow = 21, driveRow = 22, mountedRow = 23, driveColumn = 9;
constexpr uint8_t refusalColour = 0x3B;

// Each drive letter with the directory it stands for. This host has one tree, so
// there is one drive and every directory lies on it.
struct Drive {
    char letter;
    const char* root;
};
constexpr Drive drives[] = {{'C', "/"}};
constexpr int driveCount = static_cast<int>(std::size(drives));
constexpr int currentDrive = 0;

FileList programFiles, snapshotFiles, diskFiles;

struct PageView {
    const char* pattern;
    FileList* files;
    int selected = 0, top = 0;
};

struct LoadMenu {
    PageView views[3] = {{"*.PRG", &programFiles}, {"*.FRE", &snapshotFiles}, {"*.D64;*.G64", &diskFiles}};
    int page = programPage;
    bool driveMode = false;
    int driveCursor = currentDrive;
    bool closing = false;
    std::string refusal;  // why the last file chosen was not loaded; shown until the next choice

    PageView& view() { return views[viewIndex()]; }
    const PageView& view() const { return views[viewIndex()]; }
    int viewIndex() const { return page == snapshotPage ? 1 : page == diskPage ? 2 : 0; }
    bool listPage() const { return page != tapePage; }
};

std::string currentDirectory() {
    std::error_code error;
    const std::string path = std::filesystem::current_path(error).string();
    return error ? std::string() : path;
}

// One that cannot be entered leaves the current directory as it was.
void changeDirectory(const std::string& path) {
    std::error_code ignored;
    std::filesystem::current_path(path, ignored);
}

void readList(PageView& view) { readFileList(*view.files, view.pattern); }

// A list read again may have shrunk under the selection it kept.
void keepSelectionInList(PageView& view) {
    view.selected = std::clamp(view.selected, 0, std::max(view.files->count - 1, 0));
    view.top = std::clamp(view.top, std::max(view.selected - (windowRows - 1), 0), view.selected);
}

void drawTitle(int page) {
    static constexpr HotKey pageNames[] = {{1, "PROGRAM"}, {13, "SNAPSHOT"}, {26, "TAPE"}, {35, "DISK"}};
    drawPageTitle(" PROGRAM  -  SNAPSHOT  -  TAPE  -  DISK ", pageNames[page - programPage]);
}

void drawDirectoryLine() {
    // Centred when it fits; a longer path is shown from its start.
    const std::string path = currentDirectory().substr(0, 40);
    if (path.empty()) return;
    drawMenuText(20 - static_cast<int>(path.size()) / 2, 4, path.c_str(), 0x46, 0x00);
}

void drawDriveLine(const LoadMenu& menu) {
    drawMenuText(1, driveRow, "DRIVES:", 0x71, 0x00);
    if (!menu.driveMode) drawMenuText(1, driveRow, "D", 0x3B, 0x00);
    for (int i = 0; i < driveCount; ++i) {
        const bool marked = i == (menu.driveMode ? menu.driveCursor : currentDrive);
        const uint8_t background = marked && menu.driveMode ? 0x43 : 0x00;
        drawMenuChar(driveColumn + i, driveRow, drives[i].letter, marked ? 0x71 : 0x33, background);
    }
}

void drawList(const PageView& view) {
    const FileList& files = *view.files;
    if (files.count == 0) {
        drawMenuText(15, 5, "NO FILES.", 0x58, 0x00);
        return;
    }
    for (int row = 0; row < windowRows; ++row) {
        const int index = view.top + row;
        const bool selected = index == view.selected;
        const uint8_t background = selected ? 0x51 : 0x00;
        drawMenuText(8, listTop + row, "                        ", background, background);
        if (index >= files.count) continue;
        const ListEntry& entry = files.entries[index];
        const bool directory = entry.kind == EntryKind::directory;
        const uint8_t colour = selected ? (directory ? 0x43 : 0x71) : (directory ? 0x33 : 0x61);
        drawMenuText(10, listTop + row, entry.name, colour, background);
    }
}

// In capitals, centred and cut to the row, like every text of the menus.
void drawRefusal(const std::string& reason) {
    if (reason.empty()) return;
    std::string text = reason.substr(0, 40);
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    drawMenuText(20 - static_cast<int>(text.size()) / 2, refusalRow, text.c_str(), refusalColour, 0x00);
}

// The disk page names the image in drive 8.
void drawMountedDisk() {
    std::string name = mountedDiskName();
    if (name.empty()) name = "NONE";
    drawMenuText(1, mountedRow, "DRIVE 8:", 0x71, 0x00);
    drawMenuText(10, mountedRow, name.c_str(), 0x46, 0x00);
}

void draw(const LoadMenu& menu) {
    clearMenuScreen();
    drawTitle(menu.page);
    if (!menu.listPage()) {
        drawMenuText(2, 2, "NOT AVAILABLE", 0x71, 0x00);
        return;
    }
    if (menu.page == programPage)
        drawKeyHelp("ESC-BACK ENT-LOAD UP/DN-MOVE F1-LOAD/RUN",
                    {{0, "ESC"}, {9, "ENT"}, {18, "UP"}, {21, "DN"}, {29, "F1"}});
    else if (menu.page == diskPage)
        drawKeyHelp("ESC-BACK ENT-MOUNT UP/DN-MOVE F1-AUTORUN",
                    {{0, "ESC"}, {9, "ENT"}, {19, "UP"}, {22, "DN"}, {30, "F1"}});
    else
        drawKeyHelp("ESC-BACK ENTER-LOAD UP/DOWN-MOVE D-DRIVE",
                    {{0, "ESC"}, {9, "ENTER"}, {20, "UP"}, {23, "DOWN"}, {33, "D"}});
    drawMenuText(9, 2, menu.page == diskPage ? "SELECT A DISK TO MOUNT:" : "SELECT A FILE TO LOAD:", 0x71,
                 0x00);
    drawDirectoryLine();
    drawDriveLine(menu);
    drawList(menu.view());
    drawRefusal(menu.refusal);
    if (menu.page == diskPage) drawMountedDisk();
}

// Leaving through ".." selects the directory just left, as the ninth visible row
// when it lies beyond the first window.
void enterDirectory(PageView& view) {
    const std::string name = view.files->entries[view.selected].hostName;
    if (name != "..") {
        changeDirectory(name);
        readList(view);
        view.selected = view.top = 0;
        return;
    }
    const std::string path = currentDirectory();
    const std::string left = path.substr(path.find_last_of('/') + 1);
    changeDirectory("..");
    readList(view);
    const FileList& files = *view.files;
    const auto found = std::find_if(files.entries, files.entries + files.count,
                                    [&](const ListEntry& entry) { return entry.hostName == left; });
    const int index = found == files.entries + files.count ? 0 : static_cast<int>(found - files.entries);
    view.selected = index;
    view.top = index < windowRows ? 0 : index - 8;
}

void driveModeKeys(LoadMenu& menu) {
    if (isKeyDown(key::right) == 1) {
        menu.driveCursor = std::min(menu.driveCursor + 1, driveCount - 1);
        awaitRelease(key::right);
    }
    if (isKeyDown(key::left) == 1) {
        menu.driveCursor = std::max(menu.driveCursor - 1, 0);
        awaitRelease(key::left);
    }
    if (isKeyDown(key::enter) == 1) {
        changeDirectory(drives[menu.driveCursor].root);
        PageView& view = menu.view();
        readList(view);
        view.selected = view.top = 0;
        menu.driveMode = false;
        awaitRelease(key::enter);
    }
    if (isKeyDown(key::escape) == 1) {
        awaitRelease(key::escape);
        menu.driveMode = false;
    }
}

void listPageKeys(LoadMenu& menu) {
    if (menu.driveMode) {
        driveModeKeys(menu);
        return;
    }
    menu.driveCursor = currentDrive;
    PageView& view = menu.view();
    moveListSelection(view.selected, view.top, view.files->count, windowRows);
    if (isKeyDown(key::letter('D')) == 1) menu.driveMode = true;
    if (!menu.driveMode && view.files->count > 0 &&
        view.files->entries[view.selected].kind == EntryKind::directory && isKeyDown(key::enter) == 1) {
        enterDirectory(view);
        awaitRelease(key::enter);
    }
}

void switchPage(LoadMenu& menu, uint8_t keyCode, int page) {
    menu.page = page;
    awaitRelease(keyCode);
    for (PageView& view : menu.views) {
        readList(view);
        keepSelectionInList(view);
    }
}

// Enter on a disk image puts it into drive 8; F1 hands it to the main loop, which puts it
// in, resets the machine and types LOAD"*",8 and RUN. Either closes the menu; a disk that
// cannot be read leaves it open, saying why. The drive keeps the whole path, as the menu
// may move on to another directory.
void diskKeys(LoadMenu& menu, const std::string& name) {
    const bool enter = isKeyDown(key::enter) == 1;
    const bool run = !enter && isKeyDown(key::f1) == 1;
    if (!enter && !run) return;
    std::error_code ignored;
    const std::string path = std::filesystem::absolute(name, ignored).string();
    if (run) {
        requestStart(path);
        awaitRelease(key::f1);
        menu.closing = true;
        return;
    }
    std::string error;
    if (mountDisk(path, error)) {
        menu.closing = true;
        return;
    }
    menu.refusal = error.rfind(path + ": ", 0) == 0 ? error.substr(path.size() + 2) : error;
    awaitRelease(key::enter);
}

// Enter (or F1, which also types RUN) on a file entry loads it and closes the menu. A file
// that is refused leaves the machine as it was and the menu open, saying why.
void loadKeys(LoadMenu& menu) {
    if (!menu.listPage()) return;
    const PageView& view = menu.view();
    if (view.files->count == 0 || view.files->entries[view.selected].kind != EntryKind::file) return;
    if (menu.page == diskPage) {
        diskKeys(menu, view.files->entries[view.selected].hostName);
        return;
    }
    const char* path = view.files->entries[view.selected].hostName.c_str();
    const bool enter = isKeyDown(key::enter) == 1;
    const bool run = menu.page == programPage && !enter && isKeyDown(key::f1) == 1;
    if (!enter && !run) return;
    const LoadStatus status = menu.page == snapshotPage ? loadSnapshot(path) : loadProgramFile(path);
    if (status != LoadStatus::loaded) {
        menu.refusal = loadStatusText(status);
        awaitRelease(run ? key::f1 : key::enter);
        return;
    }
    if (run) {
        typeRun();
        // Held on, the host F1 would reach the machine's keyboard after RUN.
        awaitRelease(key::f1);
    }
    menu.closing = true;
}

void commonKeys(LoadMenu& menu) {
    if (isKeyDown(key::escape) == 1) menu.closing = true;
    if (isKeyDown(key::right) == 1) switchPage(menu, key::right, std::min(menu.page + 1, int(diskPage)));
    if (isKeyDown(key::left) == 1) switchPage(menu, key::left, std::max(menu.page - 1, int(programPage)));
    loadKeys(menu);
}

LoadMenu shown;  // the menu on screen

void open() {
    shown = LoadMenu{};
    openMenu();
    snapshotFiles.count = diskFiles.count = 0;
    readList(shown.views[0]);
}

bool pass() {
    draw(shown);
    presentMenu();
    if (shown.listPage()) listPageKeys(shown);
    if (!shown.driveMode) commonKeys(shown);
    if (!shown.closing) return true;
    awaitRelease(key::enter);
    return false;
}

}  // namespace

const Screen loadMenu{open, pass, nullptr, &shell.requests.loadMenu};

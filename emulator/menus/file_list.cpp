// The load menu's listing of the current directory.
#include "menus/file_list.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct HostEntry {
    std::string name;
    EntryKind kind;
};

char foldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char upperCase(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool atFileSystemRoot() {
    struct stat here {};
    struct stat parent {};
    return stat(".", &here) == 0 && stat("..", &parent) == 0 && here.st_dev == parent.st_dev &&
           here.st_ino == parent.st_ino;
}

// Only directories and regular files are listed: opening a pipe or a device
// could block the menu. Links count as what they point to.
bool kindOf(const dirent& found, EntryKind& kind) {
    if (found.d_type == DT_DIR || found.d_type == DT_REG) {
        kind = found.d_type == DT_DIR ? EntryKind::directory : EntryKind::file;
        return true;
    }
    if (found.d_type != DT_LNK && found.d_type != DT_UNKNOWN) return false;
    struct stat info {};
    if (stat(found.d_name, &info) != 0) return false;
    if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode)) return false;
    kind = S_ISDIR(info.st_mode) ? EntryKind::directory : EntryKind::file;
    return true;
}

// The host returns entries in no defined order, so they are taken by name, with the
// parent first where there is one (the root has none).
std::vector<HostEntry> readDirectory() {
    std::vector<HostEntry> found;
    DIR* dir = opendir(".");
    if (!dir) return found;
    const bool root = atFileSystemRoot();
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        EntryKind kind;
        if (name == "." || (name == ".." && root) || !kindOf(*entry, kind)) continue;
        found.push_back({name, kind});
    }
    closedir(dir);
    std::sort(found.begin(), found.end(), [](const HostEntry& a, const HostEntry& b) {
        if ((a.name == "..") != (b.name == "..")) return a.name == "..";
        return a.name < b.name;
    });
    return found;
}

void addEntry(FileList& list, const HostEntry& found) {
    ListEntry& entry = list.entries[list.count++];
    std::memset(entry.name, 0, sizeof entry.name);
    for (size_t i = 0; i < found.name.size() && i < fileNameField - 1; ++i)
        entry.name[i] = upperCase(found.name[i]);
    entry.kind = found.kind;
    entry.hostName = found.name;
}

// Whole name fields compared byte by byte as signed characters: a prefix sorts
// first, and bytes above 127 before everything else.
bool sortsAfter(const ListEntry& a, const ListEntry& b) {
    for (int i = 0; i < fileNameField; ++i) {
        const auto x = static_cast<signed char>(a.name[i]), y = static_cast<signed char>(b.name[i]);
        if (x != y) return x > y;
    }
    return false;
}

void bubbleSort(FileList& list, int first, int end) {
    for (int pass = end - 1; pass > first; --pass)
        for (int i = first; i < pass; ++i)
            if (sortsAfter(list.entries[i], list.entries[i + 1]))
                std::swap(list.entries[i], list.entries[i + 1]);
}

}  // namespace

bool matchesPattern(const char* name, const char* pattern) {
    const char* starPattern = nullptr;
    const char* starName = nullptr;
    while (*name) {
        if (*pattern == '*') {
            starPattern = ++pattern;
            starName = name;
        } else if (*pattern && (*pattern == '?' || foldCase(*pattern) == foldCase(*name))) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == 0;
}

bool matchesAnyPattern(const char* name, const char* patterns) {
    for (std::string_view rest = patterns;;) {
        const size_t end = rest.find(';');
        if (matchesPattern(name, std::string(rest.substr(0, end)).c_str())) return true;
        if (end == std::string_view::npos) return false;
        rest.remove_prefix(end + 1);
    }
}

int readFileList(FileList& list, const char* pattern) {
    list.count = 0;
    const std::vector<HostEntry> found = readDirectory();
    for (const HostEntry& entry : found)
        if (entry.kind == EntryKind::directory && list.count < directoryLimit) addEntry(list, entry);
    const int directories = list.count;
    // The parent stays on top.
    bubbleSort(list, directories > 0 && list.entries[0].hostName == ".." ? 1 : 0, directories);
    for (const HostEntry& entry : found)
        if (entry.kind == EntryKind::file && list.count < fileListCapacity &&
            matchesAnyPattern(entry.name.c_str(), pattern))
            addEntry(list, entry);
    bubbleSort(list, directories, list.count);
    return list.count;
}

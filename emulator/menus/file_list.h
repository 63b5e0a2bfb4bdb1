#pragma once
#include <cstdint>
#include <string>

// One directory's listing as the load menu shows it: directories first, then the
// files that match a pattern, each group sorted.
constexpr int fileListCapacity = 255;
constexpr int directoryLimit = 250;
constexpr int fileNameField = 64;  // 63 characters and the terminating zero

enum class EntryKind : uint8_t { directory = 1, file = 2 };

struct ListEntry {
    char name[fileNameField];  // upper case, cut to 63: shown and sorted by
    EntryKind kind;
    // The name as the host spells it: file names are case-sensitive here, and a
    // cut name would not open.
    std::string hostName;
};

struct FileList {
    ListEntry entries[fileListCapacity];
    int count = 0;
};

// Lists the current directory; pattern is a wildcard such as "*.PRG", or several
// separated by ';' ("*.D64;*.G64"), matched without regard to case. Returns the number of entries.
int readFileList(FileList& list, const char* pattern);

// Wildcard match of '*' and '?' without regard to case.
bool matchesPattern(const char* name, const char* pattern);

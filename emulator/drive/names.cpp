// File names as the computer sends them: "@0:NAME,S,W", "$0:A*", patterns with ? and *.
// Both media follow the same rules; the suffix after a comma is never part of a name.
#include <cstring>

#include "drive/drive.h"
#include "drive/drive_media.h"

namespace {

char foldAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool sameCharacter(char a, char b, bool foldCase) { return foldCase ? foldAscii(a) == foldAscii(b) : a == b; }

// The letters of ",type,mode": with two parameters the first is the type; a single one is a
// mode when it can be (so "NAME,R" reads, as on the drive) and a type otherwise.
void parseSuffix(const std::string& suffix, FileRequest& request) {
    char letters[2] = {0, 0};
    int count = 0;
    for (size_t at = 0; at <= suffix.size() && count < 2;) {
        const size_t comma = suffix.find(',', at);
        const size_t end = comma == std::string::npos ? suffix.size() : comma;
        if (end > at) letters[count] = suffix[at];
        ++count;
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
    const char first = foldAscii(letters[0]), second = foldAscii(letters[1]);
    const bool firstIsMode = count == 1 && std::strchr("RWAM", first) && first;
    if (first && !firstIsMode) request.type = first == 'L' ? 'R' : first;
    if (firstIsMode) request.mode = first;
    if (second) request.mode = second;
}

}  // namespace

std::string withoutDrivePrefix(const std::string& name) {
    if (!name.empty() && name[0] == ':') return name.substr(1);
    if (name.size() > 2 && name[1] == ':') return name.substr(2);
    return name;
}

FileRequest parseFileRequest(const uint8_t* bytes, uint32_t length) {
    const void* end = std::memchr(bytes, 0, length);
    if (end) length = uint32_t(static_cast<const uint8_t*>(end) - bytes);
    std::string text(reinterpret_cast<const char*>(bytes), length);
    FileRequest request;
    if (!text.empty() && text[0] == '@') {
        request.replace = true;
        text.erase(0, 1);
    }
    if (text.empty() || text[0] != '$') text = withoutDrivePrefix(text);
    if (!text.empty() && text[0] == '$') {
        // "$", "$0" list everything; "$0:A*" and "$:A*" list what matches.
        request.directory = true;
        const size_t colon = text.find(':');
        const std::string pattern = colon == std::string::npos ? std::string() : text.substr(colon + 1);
        request.name = pattern.substr(0, pattern.find_first_of(",="));
        if (request.name.empty()) request.name.push_back('*');
        return request;
    }
    const size_t comma = text.find(',');
    request.name = text.substr(0, comma);
    if (comma != std::string::npos) parseSuffix(text.substr(comma + 1), request);
    return request;
}

bool isPattern(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

bool matchesPattern(const std::string& pattern, const std::string& name, bool foldCase) {
    if (isPattern(pattern) && name.size() > longestName) return false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '*') return true;
        if (i >= name.size()) return false;
        if (pattern[i] != '?' && !sameCharacter(pattern[i], name[i], foldCase)) return false;
    }
    return pattern.size() == name.size();
}

uint8_t checkNewName(const std::string& name) {
    if (name.empty()) return statusNoName;
    // 0xA0 fills a directory entry's name, so a name holding it could not be found again.
    for (char c : name)
        if (std::strchr("*?,:=/\\\"", c) || uint8_t(c) < 0x20 || uint8_t(c) == 0xA0) return statusBadName;
    return statusOk;
}

uint8_t kindOfTypeLetter(char type) {
    switch (type) {
        case 'S':
            return kindSeq;
        case 'U':
            return kindUsr;
        case 'R':
            return kindRel;
        default:
            return kindPrg;
    }
}

const FileEntry* findEntry(const std::vector<FileEntry>& files, const std::string& pattern, bool foldCase) {
    for (const FileEntry& file : files)
        if (matchesPattern(pattern, file.name, foldCase)) return &file;
    return nullptr;
}

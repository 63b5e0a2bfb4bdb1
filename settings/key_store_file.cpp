// The key store as a text file in the registry export format, so a store can be
// read, edited by hand or imported into a real registry unchanged:
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\Software\Varnok]
//   "Ram"=dword:00000002
//   "Rom0L"="basic.bin"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "settings/key_store.h"

namespace keystore {

namespace {

constexpr std::string_view fileHeader = "REGEDIT4";
constexpr std::string_view ourSection = "[HKEY_LOCAL_MACHINE\\Software\\Varnok]";

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

// Reads a quoted text with \\ and \" escapes from the front of s; false when it is not one.
bool takeQuoted(std::string_view& s, std::string& out) {
    if (s.empty() || s.front() != '"') return false;
    out.clear();
    for (size_t i = 1; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return true;
        }
        if (c == '\\') {
            if (++i == s.size() || (s[i] != '\\' && s[i] != '"')) return false;
            c = s[i];
        }
        out += c;
    }
    return false;
}

std::string quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + '"';
}

// One value line: "Name"="text" or "Name"=dword:hhhhhhhh (one to eight hex digits).
bool parseValue(std::string_view line, StoredValue& value) {
    if (!takeQuoted(line, value.name) || line.empty() || line.front() != '=') return false;
    line.remove_prefix(1);
    if (!line.empty() && line.front() == '"') {
        value.isString = true;
        return takeQuoted(line, value.text) && line.empty();
    }
    constexpr std::string_view dword = "dword:";
    if (line.substr(0, dword.size()) != dword) return false;
    line.remove_prefix(dword.size());
    if (line.empty() || line.size() > 8) return false;
    value.isString = false;
    value.number = 0;
    for (char c : line) {
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        if (digit < 0) return false;
        value.number = value.number << 4 | uint32_t(digit);
    }
    return true;
}

std::string formatValue(const StoredValue& value) {
    if (value.isString) return quoted(value.name) + '=' + quoted(value.text);
    static const char hex[] = "0123456789abcdef";
    std::string digits(8, '0');
    for (int i = 0; i < 8; ++i) digits[7 - i] = hex[(value.number >> (4 * i)) & 15];
    return quoted(value.name) + "=dword:" + digits;
}

// The export format has one value per line and no escape for line breaks, so a
// name or text holding one (or a zero, which would end a registry string) is refused.
bool storable(const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

const StoredValue* findValue(const std::vector<StoredValue>& values, const std::string& name) {
    for (const StoredValue& v : values)
        if (equalsIgnoringCase(v.name, name)) return &v;
    return nullptr;
}

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return ".";
}

bool writeWhole(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

}  // namespace

std::string storePath() {
    if (const char* path = std::getenv("VARNOK_REGISTRY"); path && *path) return path;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return std::string(config) + "/varnok/registry.reg";
    return homeDirectory() + "/.config/varnok/registry.reg";
}

// Reads the whole file; values outside our section and unreadable lines are kept as text.
bool Key::load() {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path_, error)) return false;
    std::ifstream in(path_, std::ios::binary);
    if (!in) return false;
    enum { before, inside, after } where = before;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string_view text = trimmed(line);
        if (first && (text == fileHeader || text == "\xEF\xBB\xBF"
                                                    "REGEDIT4")) {
            first = false;
            continue;
        }
        first = false;
        bool isSection = !text.empty() && text.front() == '[';
        if (where == inside && isSection) where = after;
        if (where == before && isSection && equalsIgnoringCase(text, ourSection)) {
            where = inside;
            hasSection_ = true;
            sectionHeader_ = text;
            continue;
        }
        if (where == before) {
            linesBefore_.push_back(line);
        } else if (where == after) {
            linesAfter_.push_back(line);
        } else if (!text.empty()) {
            StoredValue value;
            if (parseValue(text, value))
                replace(std::move(value));
            else
                unreadableLines_.push_back(line);
        }
    }
    return !in.bad();
}

std::optional<Key> Key::openForReading() {
    Key key(storePath());
    if (!key.load() || !key.hasSection_) return std::nullopt;
    return key;
}

std::optional<Key> Key::openForWriting() {
    Key key(storePath());
    std::error_code error;
    bool exists = std::filesystem::exists(key.path_, error);
    if (exists) {
        if (!key.load()) return std::nullopt;
        if (key.hasSection_) return key;
    } else {
        std::filesystem::path parent = std::filesystem::path(key.path_).parent_path();
        if (!parent.empty()) std::filesystem::create_directories(parent, error);
    }
    key.sectionHeader_ = ourSection;
    key.hasSection_ = true;
    if (!key.save()) return std::nullopt;
    return key;
}

bool Key::queryNumber(const std::string& name, uint32_t& value) const {
    const StoredValue* v = findValue(values_, name);
    if (!v || v->isString) return false;
    value = v->number;
    return true;
}

bool Key::queryString(const std::string& name, std::string& value, size_t bufferSize) const {
    const StoredValue* v = findValue(values_, name);
    if (!v || !v->isString || v->text.size() + 1 > bufferSize) return false;
    value = v->text;
    return true;
}

// Stores a value under its name, keeping the spelling of a name already present.
bool Key::replace(StoredValue value) {
    for (StoredValue& v : values_) {
        if (equalsIgnoringCase(v.name, value.name)) {
            value.name = v.name;
            v = std::move(value);
            return true;
        }
    }
    values_.push_back(std::move(value));
    return true;
}

bool Key::setNumber(const std::string& name, uint32_t value) {
    if (!storable(name)) return false;
    std::vector<StoredValue> old = values_;
    replace(StoredValue{name, false, value, {}});
    if (save()) return true;
    values_ = std::move(old);
    return false;
}

bool Key::setString(const std::string& name, const std::string& value) {
    if (!storable(name) || !storable(value)) return false;
    std::vector<StoredValue> old = values_;
    replace(StoredValue{name, true, 0, value});
    if (save()) return true;
    values_ = std::move(old);
    return false;
}

// Writes a temporary file beside the store and renames it over the store, so a
// reader sees either the old or the new settings, never a half-written file.
bool Key::save() const {
    std::string text = std::string(fileHeader) + '\n';
    if (linesBefore_.empty()) text += '\n';
    for (const std::string& line : linesBefore_) text += line + '\n';
    text += sectionHeader_ + '\n';
    for (const StoredValue& v : values_) text += formatValue(v) + '\n';
    for (const std::string& line : unreadableLines_) text += line + '\n';
    text += '\n';
    for (const std::string& line : linesAfter_) text += line + '\n';

    std::string temporary = path_ + ".tmp";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool written = writeWhole(fd, text) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (written && std::rename(temporary.c_str(), path_.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

}  // namespace keystore

#include "settings/store_text.h"

#include <algorithm>

namespace keystore {

namespace {

constexpr std::string_view fileHeader = "REGEDIT4";
constexpr std::string_view unicodeHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view utf16ByteOrderMark = "\xFF\xFE";
constexpr std::string_view ourSection = "[HKEY_LOCAL_MACHINE\\Software\\Varnok]";

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

std::string lowerCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lower(c);
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
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

// One value line: "Name"="text" or "Name"=dword:hhhhhhhh (one to eight hex digits),
// with or without blanks around the "=".
bool parseValue(std::string_view line, StoredValue& value) {
    if (!takeQuoted(line, value.name)) return false;
    line = trimmed(line);
    if (line.empty() || line.front() != '=') return false;
    line = trimmed(line.substr(1));
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

}  // namespace

bool storable(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) == text.npos;
}

const StoredValue* StoreDocument::find(std::string_view name) const {
    auto found = index_.find(lowerCase(name));
    return found == index_.end() ? nullptr : &values[found->second];
}

void StoreDocument::set(StoredValue value) {
    auto [slot, added] = index_.try_emplace(lowerCase(value.name), values.size());
    if (added) {
        values.push_back(std::move(value));
        return;
    }
    StoredValue& stored = values[slot->second];
    value.name = std::move(stored.name);
    stored = std::move(value);
}

void StoreDocument::remove(std::string_view name) {
    auto found = index_.find(lowerCase(name));
    if (found == index_.end()) return;
    values.erase(values.begin() + std::ptrdiff_t(found->second));
    index_.clear();
    for (size_t i = 0; i < values.size(); ++i) index_.emplace(lowerCase(values[i].name), i);
}

void StoreDocument::reserve(size_t count) {
    values.reserve(count);
    index_.reserve(count);
}

StoreDocument parseStoreText(std::string_view text) {
    StoreDocument document;
    document.reserve(size_t(std::count(text.begin(), text.end(), '\n')));
    enum { before, inside, after } where = before;
    bool first = true, blankSoFar = true;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == text.npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        std::string_view content = trimmed(line);
        if (first && content.substr(0, byteOrderMark.size()) == byteOrderMark)
            content.remove_prefix(byteOrderMark.size());
        const bool header = first && (content == fileHeader || content == unicodeHeader);
        first = false;
        const bool isSection = !content.empty() && content.front() == '[';
        if (blankSoFar && !content.empty())
            document.registryText = header || (isSection && content.back() == ']');
        blankSoFar = blankSoFar && content.empty();
        if (header) continue;
        if (where == inside && isSection) where = after;
        if (where == before && isSection && equalsIgnoringCase(content, ourSection)) {
            where = inside;
            document.hasSection = true;
            document.sectionHeader = content;
            continue;
        }
        if (where == before) {
            document.linesBefore.emplace_back(line);
        } else if (where == after) {
            document.linesAfter.emplace_back(line);
        } else if (!content.empty()) {
            StoredValue value;
            if (parseValue(content, value))
                document.set(std::move(value));
            else
                document.unreadableLines.emplace_back(line);
        }
    }
    if (blankSoFar) document.registryText = true;
    return document;
}

namespace {

void appendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | code >> 6);
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | code >> 12);
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | code >> 18);
        out += char(0x80 | (code >> 12 & 0x3F));
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// UTF-16LE as UTF-8; a surrogate without its partner, or an odd last byte, becomes U+FFFD.
std::string fromUtf16(std::string_view bytes) {
    constexpr uint32_t replacement = 0xFFFD;
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](size_t i) { return uint32_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8); };
    for (size_t i = 0; i < bytes.size(); i += 2) {
        if (i + 1 == bytes.size()) {
            appendUtf8(out, replacement);
            break;
        }
        const uint32_t code = unit(i);
        if (code >= 0xD800 && code < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) < 0xE000) {
            appendUtf8(out, 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00));
            i += 2;
        } else {
            appendUtf8(out, code >= 0xD800 && code < 0xE000 ? replacement : code);
        }
    }
    return out;
}

}  // namespace

StoreDocument parseStoreFile(std::string_view bytes) {
    if (bytes.substr(0, utf16ByteOrderMark.size()) != utf16ByteOrderMark) return parseStoreText(bytes);
    StoreDocument document = parseStoreText(fromUtf16(bytes.substr(utf16ByteOrderMark.size())));
    document.unicode = true;
    return document;
}

bool isFaultyLine(std::string_view line) {
    const std::string_view content = trimmed(line);
    return !content.empty() && content.front() != ';';
}

std::string formatStoreText(const StoreDocument& document) {
    std::string text = std::string(fileHeader) + '\n';
    if (document.linesBefore.empty()) text += '\n';
    for (const std::string& line : document.linesBefore) text += line + '\n';
    text += (document.sectionHeader.empty() ? std::string(ourSection) : document.sectionHeader) + '\n';
    for (const StoredValue& v : document.values) text += formatValue(v) + '\n';
    for (const std::string& line : document.unreadableLines) text += line + '\n';
    text += '\n';
    for (const std::string& line : document.linesAfter) text += line + '\n';
    return text;
}

}  // namespace keystore

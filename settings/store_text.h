#pragma once
// The key store's file in the registry export format, as text in and text out,
// so it can be parsed, checked and fuzzed without touching a file:
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\Software\Varnok]
//   "Ram"=dword:00000002
//   "Rom0L"="basic.bin"
//
// The registry editor's own export ("Windows Registry Editor Version 5.00", UTF-16LE with
// a byte-order mark) is read as well; the store is always written as REGEDIT4.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace keystore {

struct StoredValue {
    std::string name;
    bool isString = false;
    uint32_t number = 0;
    std::string text;
};

// One store file. Text that is not ours is kept verbatim across writes: other
// sections before and after ours, our section's header as found, and its lines
// that are not readable values.
struct StoreDocument {
    std::vector<std::string> linesBefore, linesAfter, unreadableLines;
    std::string sectionHeader;
    bool hasSection = false;
    // The text is a registry export: it begins with a header line or a section, or holds
    // nothing but blank lines. Anything else (binary junk, another format) is not a store.
    bool registryText = false;
    bool unicode = false;  // it came in UTF-16, as the registry editor exports

    std::vector<StoredValue> values;  // in file order, each name once

    // The value of that name, compared without case; nothing when missing.
    const StoredValue* find(std::string_view name) const;
    // Stores a value under its name, keeping the spelling of a name already present.
    void set(StoredValue value);
    void remove(std::string_view name);
    void reserve(size_t count);

private:
    std::unordered_map<std::string, size_t> index_;  // lower-case name -> position in values
};

// Parsing takes time in proportion to the text; a later line of a name wins. Blanks
// around the "=" of a value are allowed.
StoreDocument parseStoreText(std::string_view text);
// A store file's bytes: UTF-8 text, or UTF-16LE after its byte-order mark.
StoreDocument parseStoreFile(std::string_view bytes);
// A line of our section that holds no value to the reader: not blank, not a comment.
bool isFaultyLine(std::string_view line);
// Our section gets the canonical header when the document has none.
std::string formatStoreText(const StoreDocument& document);

// The export format has one value per line and no escape for line breaks, so a
// name or text holding one (or a zero, which would end a registry string) cannot be stored.
bool storable(std::string_view text);

}  // namespace keystore

#pragma once
// The key store's file in the registry export format, as text in and text out,
// so it can be parsed, checked and fuzzed without touching a file:
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\Software\Varnok]
//   "Ram"=dword:00000002
//   "Rom0L"="basic.bin"

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

// Parsing takes time in proportion to the text; a later line of a name wins.
StoreDocument parseStoreText(std::string_view text);
// Our section gets the canonical header when the document has none.
std::string formatStoreText(const StoreDocument& document);

// The export format has one value per line and no escape for line breaks, so a
// name or text holding one (or a zero, which would end a registry string) cannot be stored.
bool storable(std::string_view text);

}  // namespace keystore

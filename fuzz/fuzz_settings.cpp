// Any bytes as a settings store file (REGEDIT4 text, or UTF-16 after its byte-order
// mark): parsing never fails, and what it keeps survives being written out as REGEDIT4
// and read back.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/store_text.h"

namespace {

bool sameValue(const keystore::StoredValue& a, const keystore::StoredValue& b) {
    return a.name == b.name && a.isString == b.isString &&
           (a.isString ? a.text == b.text : a.number == b.number);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    keystore::StoreDocument document = keystore::parseStoreFile(bytes);
    for (const keystore::StoredValue& value : document.values)
        if (document.find(value.name) != &value) std::abort();

    const keystore::StoreDocument again = keystore::parseStoreText(keystore::formatStoreText(document));
    if (!again.registryText || !again.hasSection) std::abort();
    if (document.hasSection) {
        if (again.values.size() != document.values.size()) std::abort();
        for (size_t i = 0; i < document.values.size(); ++i)
            if (!sameValue(again.values[i], document.values[i])) std::abort();
    }

    // A write of an existing name, in other letters, replaces it in place.
    if (!document.values.empty()) {
        keystore::StoredValue changed = document.values.back();
        for (char& c : changed.name) c = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
        changed.isString = false;
        changed.number = 0x12345678;
        const size_t count = document.values.size();
        document.set(changed);
        const keystore::StoredValue* found = document.find(changed.name);
        if (document.values.size() != count || !found || found->number != 0x12345678) std::abort();
        document.remove(changed.name);
        if (document.values.size() != count - 1 || document.find(changed.name)) std::abort();
    }
    return 0;
}

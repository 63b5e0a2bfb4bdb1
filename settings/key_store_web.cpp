// The key store in the browser: the same registry export text as the desktop's file,
// kept as one item of the page's local storage, so it can be copied to or from a
// desktop store unchanged. A browser that refuses local storage gets a store that lasts
// as long as the page, so the page still starts.
#include <emscripten.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "settings/key_store.h"

namespace {

// clang-format off
// Where the items are kept: the page's local storage, or a store of the page's own.
EM_JS(void, openItemStore, (), {
    if (Module.itemStore) return;
    try {
        window.localStorage.getItem("");
        Module.itemStore = window.localStorage;
    } catch (e) {
        const items = new Map();
        Module.itemStore = {
            getItem: (name) => items.has(name) ? items.get(name) : null,
            setItem: (name, text) => items.set(name, String(text)),
        };
    }
});

// The item's text as a malloc'd string, or null when the item is missing.
EM_JS(char*, readStorageItem, (const char* name), {
    openItemStore();
    const text = Module.itemStore.getItem(UTF8ToString(name));
    if (text === null) return 0;
    const bytes = lengthBytesUTF8(text) + 1;
    const copy = _malloc(bytes);
    stringToUTF8(text, copy, bytes);
    return copy;
});

// False when the storage refuses the text (full).
EM_JS(int, writeStorageItem, (const char* name, const char* text), {
    openItemStore();
    try {
        Module.itemStore.setItem(UTF8ToString(name), UTF8ToString(text));
        return 1;
    } catch (e) {
        return 0;
    }
});
// clang-format on

}  // namespace

namespace keystore {

// The item's name: the registry key the store stands for.
std::string storePath() { return "Software\\Varnok"; }

namespace {

// The item's text, or nothing when there is no item.
std::optional<std::string> readItem(const std::string& name) {
    char* text = readStorageItem(name.c_str());
    if (!text) return std::nullopt;
    std::string copy = text;
    std::free(text);
    return copy;
}

}  // namespace

std::optional<Key> Key::openForReading(std::string* problem) {
    Key key(storePath());
    std::optional<std::string> text = readItem(key.path_);
    if (!text) return std::nullopt;
    key.document_ = parseStoreText(*text);
    if (!key.document_.registryText && problem) *problem = key.path_ + ": is not a settings store";
    if (!key.document_.registryText || !key.document_.hasSection) return std::nullopt;
    return key;
}

std::optional<Key> Key::openForWriting() {
    Key key(storePath());
    if (std::optional<std::string> text = readItem(key.path_)) key.document_ = parseStoreText(*text);
    if (!key.document_.registryText) key.document_ = StoreDocument();
    if (key.document_.hasSection) return key;
    key.document_.hasSection = true;
    if (!key.save()) return std::nullopt;
    return key;
}

// Only this page writes the item, always as REGEDIT4.
std::string rewriteNotice() { return {}; }

// One item is replaced whole, so a reader never sees half of a write.
bool Key::save() {
    if (writeStorageItem(path_.c_str(), formatStoreText(document_).c_str())) return true;
    lastError_ = "the browser's storage refused the settings";
    return false;
}

}  // namespace keystore

// The key store as a text file in the registry export format (settings/store_text.h),
// so a store can be read, edited by hand or imported into a real registry unchanged.

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "fileio/files.h"
#include "settings/key_store.h"

namespace keystore {

namespace {

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return ".";
}

}  // namespace

std::string storePath() {
    if (const char* path = std::getenv("VARNOK_REGISTRY"); path && *path) return path;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return std::string(config) + "/varnok/registry.reg";
    return homeDirectory() + "/.config/varnok/registry.reg";
}

std::optional<Key> Key::openForReading() {
    Key key(storePath());
    files::ReadResult file = files::readFile(key.path_, maximumStoreBytes);
    if (!file) return std::nullopt;
    key.document_ = parseStoreText(file.text());
    if (!key.document_.hasSection) return std::nullopt;
    return key;
}

std::optional<Key> Key::openForWriting() {
    Key key(storePath());
    files::ReadResult file = files::readFile(key.path_, maximumStoreBytes);
    if (file) {
        key.document_ = parseStoreText(file.text());
        if (key.document_.hasSection) return key;
    } else if (file.status == files::ReadStatus::notFound) {
        std::error_code error;
        std::filesystem::path parent = std::filesystem::path(key.path_).parent_path();
        if (!parent.empty()) std::filesystem::create_directories(parent, error);
    } else {
        return std::nullopt;
    }
    key.document_.hasSection = true;
    if (!key.save()) return std::nullopt;
    return key;
}

bool Key::queryNumber(const std::string& name, uint32_t& value) const {
    const StoredValue* v = document_.find(name);
    if (!v || v->isString) return false;
    value = v->number;
    return true;
}

bool Key::queryString(const std::string& name, std::string& value, size_t bufferSize) const {
    const StoredValue* v = document_.find(name);
    if (!v || !v->isString || v->text.size() >= bufferSize) return false;
    value = v->text;
    return true;
}

// A value that cannot be written is not kept, so the key always says what the file says.
bool Key::store(StoredValue value) {
    std::optional<StoredValue> previous;
    if (const StoredValue* old = document_.find(value.name)) previous = *old;
    const std::string name = value.name;
    document_.set(std::move(value));
    if (save()) return true;
    if (previous)
        document_.set(std::move(*previous));
    else
        document_.remove(name);
    return false;
}

bool Key::setNumber(const std::string& name, uint32_t value) {
    if (!storable(name)) {
        lastError_ = "a name with a line break cannot be stored";
        return false;
    }
    return store(StoredValue{name, false, value, {}});
}

bool Key::setString(const std::string& name, const std::string& value) {
    if (!storable(name) || !storable(value)) {
        lastError_ = "a text with a line break or zero cannot be stored";
        return false;
    }
    return store(StoredValue{name, true, 0, value});
}

bool Key::save() {
    files::WriteResult written = files::writeFile(path_, formatStoreText(document_));
    lastError_ = written.error;
    return bool(written);
}

}  // namespace keystore

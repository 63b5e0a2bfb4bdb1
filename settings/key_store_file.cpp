// The key store as a text file in the registry export format (settings/store_text.h),
// so a store can be read, edited by hand or imported into a real registry unchanged.
// Where the text is kept is all this file knows; the values are settings/key_store.cpp's.

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

namespace {

constexpr const char* notAStore = "is not a settings store (no REGEDIT4 header and no section)";

}  // namespace

std::optional<Key> Key::openForReading(std::string* problem) {
    Key key(storePath());
    files::ReadResult file = files::readFile(key.path_, maximumStoreBytes);
    if (!file) {
        if (problem && file.status != files::ReadStatus::notFound) *problem = file.error;
        return std::nullopt;
    }
    key.document_ = parseStoreFile(file.text());
    if (!key.document_.registryText) {
        if (problem) *problem = key.path_ + ": " + notAStore;
        return std::nullopt;
    }
    if (!key.document_.hasSection) return std::nullopt;
    return key;
}

std::optional<Key> Key::openForWriting() {
    Key key(storePath());
    files::ReadResult file = files::readFile(key.path_, maximumStoreBytes);
    if (file) {
        key.document_ = parseStoreFile(file.text());
        if (!key.document_.registryText) key.document_ = StoreDocument();
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

std::string rewriteNotice() {
    const std::string path = storePath();
    const files::ReadResult file = files::readFile(path, maximumStoreBytes);
    if (!file) return {};
    const StoreDocument document = parseStoreFile(file.text());
    if (!document.registryText) return path + " " + notAStore + ".";
    if (document.unicode)
        return path + " is a registry export in UTF-16 (\"Windows Registry Editor Version 5.00\").";
    return {};
}

bool Key::save() {
    files::WriteResult written = files::writeFile(path_, formatStoreText(document_));
    lastError_ = written.error;
    return bool(written);
}

}  // namespace keystore

#pragma once
// The store of settings shared by the emulator and the setup program. It stands
// in for the registry key "Software\Varnok" and keeps registry semantics: a
// query fails for a missing value or one of the wrong size, and the caller then
// applies its default. On POSIX the store is a text file in the registry export
// format; on Windows the same interface reaches the real registry.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace keystore {

// Where the store lives: $VARNOK_REGISTRY, else $XDG_CONFIG_HOME/varnok/registry.reg,
// else ~/.config/varnok/registry.reg.
std::string storePath();

struct StoredValue {
    std::string name;
    bool isString = false;
    uint32_t number = 0;
    std::string text;
};

class Key {
public:
    // Opens the key for reading; nothing when the key (the file) does not exist or cannot be read.
    static std::optional<Key> openForReading();
    // Opens the key for writing, creating it when missing; nothing when that fails.
    static std::optional<Key> openForWriting();

    // A doubleword query: fails when the value is missing or its data is not 4 bytes.
    bool queryNumber(const std::string& name, uint32_t& value) const;
    // A string query with a buffer of bufferSize characters including the terminating
    // zero: fails when the value is missing, not a string, or does not fit.
    bool queryString(const std::string& name, std::string& value, size_t bufferSize = 256) const;

    // Each write replaces the store file atomically and keeps values it does not know.
    // False when the file cannot be written (the value is then not stored).
    bool setNumber(const std::string& name, uint32_t value);
    bool setString(const std::string& name, const std::string& value);

    const std::vector<StoredValue>& values() const { return values_; }

private:
    explicit Key(std::string path) : path_(std::move(path)) {}
    bool load();
    bool save() const;
    bool replace(StoredValue value);
    std::string path_;
    std::vector<StoredValue> values_;
    // Text kept verbatim across writes: other sections before and after ours,
    // our section's header as found, and its lines that are not readable values.
    std::vector<std::string> linesBefore_, linesAfter_, unreadableLines_;
    std::string sectionHeader_;
    bool hasSection_ = false;
};

}  // namespace keystore

#pragma once
// The store of settings shared by the emulator and the setup program. It stands
// in for the registry key "Software\Varnok" and keeps registry semantics: a
// query fails for a missing value or one of the wrong size, and the caller then
// applies its default. On POSIX the store is a text file in the registry export
// format; on Windows the same interface reaches the real registry.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "settings/store_text.h"

namespace keystore {

// Where the store lives: $VARNOK_REGISTRY, else $XDG_CONFIG_HOME/varnok/registry.reg,
// else ~/.config/varnok/registry.reg.
std::string storePath();

// When a save would give the store another form than it has now: what it holds, said for
// the user and naming the store; empty for a REGEDIT4 store or none at all.
std::string rewriteNotice();

// A store file beyond this size is not read: no settings file grows that large.
constexpr size_t maximumStoreBytes = 64u << 20;
// A string query without a size limit.
constexpr size_t anyLength = std::numeric_limits<size_t>::max();

class Key {
public:
    // Opens the key for reading; nothing when the key (the file) does not exist or
    // cannot be read (not a regular file, larger than maximumStoreBytes, no access, not a
    // registry export). For a store that is there but cannot be read, `problem` says why,
    // naming the store; it stays empty when the store is missing or read.
    static std::optional<Key> openForReading(std::string* problem = nullptr);
    // Opens the key for writing, creating it when missing; nothing when that fails.
    // A store that exists but may not be replaced (read-only, another user's)
    // opens, and each write then fails. A file that is no registry export is not kept
    // in part: the first save replaces it whole with a REGEDIT4 file, as it does an
    // export in UTF-16 (rewriteNotice says so beforehand).
    static std::optional<Key> openForWriting();

    // Lines of our section that hold no value the key can read, as written in the store.
    std::vector<std::string> faultyLines() const;
    const std::string& path() const { return path_; }

    // A doubleword query: fails when the value is missing or its data is not 4 bytes.
    bool queryNumber(const std::string& name, uint32_t& value) const;
    // A string query with a buffer of bufferSize characters including the terminating
    // zero: fails when the value is missing, not a string, or does not fit.
    bool queryString(const std::string& name, std::string& value, size_t bufferSize = anyLength) const;

    // Each write (unless saves are held) replaces the store file atomically and keeps
    // values it does not know. False when the file cannot be written (the value is
    // then not stored); the reason is in lastError().
    bool setNumber(const std::string& name, uint32_t value);
    bool setString(const std::string& name, const std::string& value);

    // Until commit(), writes change only the key: many values then cost one save of
    // the store instead of one each. A key dropped without commit() loses the held
    // writes. The registry on Windows takes each value as it is set, so there both do
    // nothing.
    void holdSaves();
    // Saves the held writes at once and ends the hold. False when the store cannot be
    // written: the held values are then dropped again, so the key still says what the
    // store says, and lastError() tells why.
    bool commit();

    const std::vector<StoredValue>& values() const { return document_.values; }
    const std::string& lastError() const { return lastError_; }

private:
    // How to take back one write: the value it replaced, or none when it added one.
    struct Undo {
        std::string name;
        std::optional<StoredValue> previous;
    };

    explicit Key(std::string path) : path_(std::move(path)) {}
    bool save();
    bool store(StoredValue value);
    void undo(Undo& write);
    std::string path_;
    StoreDocument document_;
    std::string lastError_;
    bool holding_ = false;
    std::vector<Undo> held_;  // the writes since holdSaves(), oldest first
};

}  // namespace keystore

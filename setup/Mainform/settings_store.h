#pragma once
// The setup program's only way to the settings key. The real store is the key
// store shared with the emulator; a test can put a recording or failing store
// in its place.

#include <cstdint>
#include <memory>
#include <string>

namespace varnoksetup {

class SettingsKey {
public:
    virtual ~SettingsKey() = default;
    virtual bool readNumber(const std::string& name, uint32_t& value) = 0;
    virtual bool readText(const std::string& name, std::string& value) = 0;
    virtual bool writeNumber(const std::string& name, uint32_t value) = 0;
    virtual bool writeText(const std::string& name, const std::string& value) = 0;
    // A key opened for writing may keep its writes until commit(), which stores them
    // at once; false when that fails, the reason then in lastError().
    virtual bool commit() = 0;
    // Why the last write failed, for the user; empty when unknown.
    virtual std::string lastError() const { return {}; }
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Nothing when the key does not exist (reading) or cannot be created (writing).
    virtual std::unique_ptr<SettingsKey> openForReading() = 0;
    virtual std::unique_ptr<SettingsKey> openForWriting() = 0;
    // Why the last open for writing failed, for the user; empty when unknown.
    virtual std::string lastError() const { return {}; }
    // When a save would replace the store with one of another form (it holds something
    // else than REGEDIT4): what it holds now, for the user; empty otherwise.
    virtual std::string rewriteNotice() const { return {}; }
};

// The key store the emulator reads at start.
SettingsStore& registryStore();

}  // namespace varnoksetup

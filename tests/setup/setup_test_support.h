#pragma once
// Helpers for driving the setup form: a store file in a temporary directory, a
// store that records (and can refuse) each access, and captured message boxes.

#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <string>

#include "Mainform/settings_store.h"
#include "settings/key_store.h"

namespace setuptest {

// Everything the store file holds, by value name.
std::map<std::string, keystore::StoredValue> storedValues();
void storeNumber(const std::string& name, uint32_t value);
void storeText(const std::string& name, const std::string& value);
std::optional<uint32_t> storedNumber(const std::string& name);
std::optional<std::string> storedText(const std::string& name);

// Passes every access to the real store, noting "read Name" / "write Name" in
// order, and refuses the write of refuseWriteOf.
class RecordingStore final : public varnoksetup::SettingsStore {
public:
    std::unique_ptr<varnoksetup::SettingsKey> openForReading() override;
    std::unique_ptr<varnoksetup::SettingsKey> openForWriting() override;

    QStringList accesses;
    std::string refuseWriteOf;
};

}  // namespace setuptest

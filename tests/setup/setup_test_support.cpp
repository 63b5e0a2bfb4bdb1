#include "setup_test_support.h"

namespace setuptest {

std::map<std::string, keystore::StoredValue> storedValues() {
    std::map<std::string, keystore::StoredValue> values;
    if (auto key = keystore::Key::openForReading())
        for (const auto& value : key->values()) values[value.name] = value;
    return values;
}

void storeNumber(const std::string& name, uint32_t value) {
    keystore::Key::openForWriting()->setNumber(name, value);
}
void storeText(const std::string& name, const std::string& value) {
    keystore::Key::openForWriting()->setString(name, value);
}

std::optional<uint32_t> storedNumber(const std::string& name) {
    auto values = storedValues();
    auto found = values.find(name);
    if (found == values.end() || found->second.isString) return std::nullopt;
    return found->second.number;
}

std::optional<std::string> storedText(const std::string& name) {
    auto values = storedValues();
    auto found = values.find(name);
    if (found == values.end() || !found->second.isString) return std::nullopt;
    return found->second.text;
}

namespace {

class RecordingKey final : public varnoksetup::SettingsKey {
public:
    RecordingKey(std::unique_ptr<varnoksetup::SettingsKey> real, RecordingStore& store)
        : real_(std::move(real)), store_(store) {}
    bool readNumber(const std::string& name, uint32_t& value) override {
        note("read", name);
        return real_->readNumber(name, value);
    }
    bool readText(const std::string& name, std::string& value) override {
        note("read", name);
        return real_->readText(name, value);
    }
    bool writeNumber(const std::string& name, uint32_t value) override {
        note("write", name);
        return name != store_.refuseWriteOf && real_->writeNumber(name, value);
    }
    bool writeText(const std::string& name, const std::string& value) override {
        note("write", name);
        return name != store_.refuseWriteOf && real_->writeText(name, value);
    }
    bool commit() override { return real_->commit(); }

private:
    void note(const char* what, const std::string& name) {
        store_.accesses << QStringLiteral("%1 %2").arg(what, QString::fromStdString(name));
    }
    std::unique_ptr<varnoksetup::SettingsKey> real_;
    RecordingStore& store_;
};

}  // namespace

std::unique_ptr<varnoksetup::SettingsKey> RecordingStore::openForReading() {
    auto real = varnoksetup::registryStore().openForReading();
    if (!real) return nullptr;
    return std::make_unique<RecordingKey>(std::move(real), *this);
}

std::unique_ptr<varnoksetup::SettingsKey> RecordingStore::openForWriting() {
    auto real = varnoksetup::registryStore().openForWriting();
    if (!real) return nullptr;
    return std::make_unique<RecordingKey>(std::move(real), *this);
}

}  // namespace setuptest

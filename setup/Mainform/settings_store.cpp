#include "Mainform/settings_store.h"

#include "settings/key_store.h"

namespace varnoksetup {

namespace {

class KeyStoreKey final : public SettingsKey {
public:
    explicit KeyStoreKey(keystore::Key key) : key_(std::move(key)) {}
    bool readNumber(const std::string& name, uint32_t& value) override {
        return key_.queryNumber(name, value);
    }
    bool readText(const std::string& name, std::string& value) override {
        return key_.queryString(name, value);
    }
    bool writeNumber(const std::string& name, uint32_t value) override { return key_.setNumber(name, value); }
    bool writeText(const std::string& name, const std::string& value) override {
        return key_.setString(name, value);
    }
    bool commit() override { return key_.commit(); }
    std::string lastError() const override { return key_.lastError(); }

private:
    keystore::Key key_;
};

std::unique_ptr<SettingsKey> wrap(std::optional<keystore::Key> key) {
    if (!key) return nullptr;
    return std::make_unique<KeyStoreKey>(std::move(*key));
}

class KeyStore final : public SettingsStore {
public:
    std::unique_ptr<SettingsKey> openForReading() override { return wrap(keystore::Key::openForReading()); }
    std::unique_ptr<SettingsKey> openForWriting() override {
        // The setup writes every value at once: the store is saved once, not per value.
        std::optional<keystore::Key> opened = keystore::Key::openForWriting();
        if (opened) opened->holdSaves();
        auto key = wrap(std::move(opened));
        lastError_ = key ? std::string() : keystore::storePath() + ": cannot be created or read";
        return key;
    }
    std::string lastError() const override { return lastError_; }
    std::string rewriteNotice() const override { return keystore::rewriteNotice(); }

private:
    std::string lastError_;
};

}  // namespace

SettingsStore& registryStore() {
    static KeyStore store;
    return store;
}

}  // namespace varnoksetup

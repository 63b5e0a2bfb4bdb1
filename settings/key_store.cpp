// The key's values over its document, the same wherever the text is kept (a file, the
// browser's storage): queries, and writes that are undone when the text cannot be saved.
#include "settings/key_store.h"

namespace keystore {

std::vector<std::string> Key::faultyLines() const {
    std::vector<std::string> faulty;
    for (const std::string& line : document_.unreadableLines)
        if (isFaultyLine(line)) faulty.push_back(line);
    return faulty;
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
    Undo write{value.name, std::nullopt};
    if (const StoredValue* old = document_.find(value.name)) write.previous = *old;
    document_.set(std::move(value));
    if (holding_) {
        held_.push_back(std::move(write));
        return true;
    }
    if (save()) return true;
    undo(write);
    return false;
}

void Key::undo(Undo& write) {
    if (write.previous)
        document_.set(std::move(*write.previous));
    else
        document_.remove(write.name);
}

void Key::holdSaves() { holding_ = true; }

bool Key::commit() {
    holding_ = false;
    std::vector<Undo> held = std::move(held_);
    held_.clear();
    // Nothing held leaves the store as it is, as no write would.
    if (held.empty() || save()) return true;
    // Latest first, so a name written twice gets back its value from before the hold.
    for (auto write = held.rbegin(); write != held.rend(); ++write) undo(*write);
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

}  // namespace keystore

// The key store on Windows: the real registry key HKEY_LOCAL_MACHINE\Software\Varnok.
#include <windows.h>

#include <cstring>
#include <vector>

#include "settings/key_store.h"

namespace keystore {
namespace {

constexpr const char* keyName = "Software\\Varnok";

HKEY openKey(REGSAM access) {
    HKEY key = nullptr;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, access, &key) == ERROR_SUCCESS ? key : nullptr;
}

bool setValue(const std::string& name, DWORD type, const void* data, DWORD size) {
    HKEY key = openKey(KEY_WRITE);
    if (!key) return false;
    LONG result = RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

}  // namespace

std::string storePath() { return "HKEY_LOCAL_MACHINE\\Software\\Varnok"; }

// The registry is never in another form than its own.
std::string rewriteNotice() { return {}; }

std::vector<std::string> Key::faultyLines() const { return {}; }

std::optional<Key> Key::openForReading(std::string*) {
    HKEY key = openKey(KEY_READ);
    if (!key) return std::nullopt;
    RegCloseKey(key);
    return Key(storePath());
}

std::optional<Key> Key::openForWriting() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return std::nullopt;
    RegCloseKey(key);
    return Key(storePath());
}

bool Key::queryNumber(const std::string& name, uint32_t& value) const {
    HKEY key = openKey(KEY_READ);
    if (!key) return false;
    DWORD data = 0, size = sizeof data;
    LONG result =
        RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || size != sizeof data) return false;
    value = data;
    return true;
}

bool Key::queryString(const std::string& name, std::string& value, size_t bufferSize) const {
    HKEY key = openKey(KEY_READ);
    if (!key) return false;
    // The size first, so a value of any length is read whole.
    DWORD size = 0, type = 0;
    LONG result = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<char> buffer(size_t(size) + 1, 0);
    if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ))
        result = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                  &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    const size_t length = strnlen(buffer.data(), size);
    if (length >= bufferSize) return false;
    value.assign(buffer.data(), length);
    return true;
}

bool Key::setNumber(const std::string& name, uint32_t value) {
    DWORD data = value;
    return setValue(name, REG_DWORD, &data, sizeof data);
}

bool Key::setString(const std::string& name, const std::string& value) {
    return setValue(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

// Each value goes to the registry as it is set: there is no whole file to rewrite, and a
// failed write has stored nothing, so there is nothing to hold back or undo.
void Key::holdSaves() {}
bool Key::commit() { return true; }

}  // namespace keystore

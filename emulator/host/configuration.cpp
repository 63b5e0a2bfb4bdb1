// The settings, read once at start from the store the setup program writes.
#include "host/configuration.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/log.h"
#include "settings/defaults.h"
#include "settings/key_store.h"

std::string commandLine;
std::vector<std::string> settingFallbacks;

namespace {

namespace defaults = keystore::defaults;

constexpr int32_t anyValue = INT32_MAX;

struct NumberSetting {
    const char* name;
    int32_t EmulatorConfig::*field;
    int32_t defaultValue;        // taken when the value is missing or not a doubleword
    int32_t highest = anyValue;  // a value above it (or below 0) takes the default, with a warning
};

// In the order the values are read. The defaults the setup program shows for a missing
// value as well are settings/defaults.h's, so the two cannot drift apart.
// clang-format off
constexpr NumberSetting numberSettings[] = {
    {"ScreenMode",     &EmulatorConfig::screenMode,     defaults::screenMode,     6},
    // Priority: other values keep the priority.
    {"Priority",       &EmulatorConfig::priority,       defaults::priority},
    {"SoundEmulation", &EmulatorConfig::soundEmulation, defaults::soundEmulation},
    {"Debugger",       &EmulatorConfig::debugger,       defaults::debugger},
    {"Sync",           &EmulatorConfig::sync,           defaults::sync,           2},
    {"ModeX",          &EmulatorConfig::modeX,          defaults::modeX},
    {"Ram",            &EmulatorConfig::ram,            defaults::ram,            2},
    {"PALROM",         &EmulatorConfig::palRom,         defaults::palRom},
    {"Joystick",       &EmulatorConfig::joystick,       defaults::joystick,       2},
    {"Log",            &EmulatorConfig::log,            defaults::log},
    {"Joy1UpCode",     &EmulatorConfig::joy1UpCode,     200},
    {"Joy1DownCode",   &EmulatorConfig::joy1DownCode,   208},
    {"Joy1LeftCode",   &EmulatorConfig::joy1LeftCode,   203},
    {"Joy1RightCode",  &EmulatorConfig::joy1RightCode,  205},
    {"Joy1FireCode",   &EmulatorConfig::joy1FireCode,   157},
    {"Joy2UpCode",     &EmulatorConfig::joy2UpCode,     200},
    {"Joy2DownCode",   &EmulatorConfig::joy2DownCode,   208},
    {"Joy2LeftCode",   &EmulatorConfig::joy2LeftCode,   203},
    {"Joy2RightCode",  &EmulatorConfig::joy2RightCode,  205},
    {"Joy2FireCode",   &EmulatorConfig::joy2FireCode,   157},
    {"DriveType8",     &EmulatorConfig::driveType8,     defaults::driveType8,     2},
    {"DriveNumber",    &EmulatorConfig::driveNumber,    0},
    {"Palette",        &EmulatorConfig::palette,        defaults::palette},
    {"Clock",          &EmulatorConfig::clock,          defaults::clock,          2},
    {"TrueDrive8",     &EmulatorConfig::trueDrive8,     defaults::trueDrive8,     2},
    {"Windowed",       &EmulatorConfig::windowed,       defaults::windowed,       1},
    {"WindowScale",    &EmulatorConfig::windowScale,    defaults::windowScale,    defaults::highestWindowScale},
};
// clang-format on

struct TextSetting {
    const char* name;
    std::string& (*field)(EmulatorConfig&);
};

// clang-format off
constexpr TextSetting textSettings[] = {
    {"Rom0L",       [](EmulatorConfig& c) -> std::string& { return c.romFileName[0]; }},
    {"Rom0H",       [](EmulatorConfig& c) -> std::string& { return c.romFileName[1]; }},
    {"Rom1L",       [](EmulatorConfig& c) -> std::string& { return c.romFileName[2]; }},
    {"Rom1H",       [](EmulatorConfig& c) -> std::string& { return c.romFileName[3]; }},
    {"Rom2L",       [](EmulatorConfig& c) -> std::string& { return c.romFileName[4]; }},
    {"Rom2H",       [](EmulatorConfig& c) -> std::string& { return c.romFileName[5]; }},
    {"Rom3L",       [](EmulatorConfig& c) -> std::string& { return c.romFileName[6]; }},
    {"Rom3H",       [](EmulatorConfig& c) -> std::string& { return c.romFileName[7]; }},
    {"Drive8PCDir", [](EmulatorConfig& c) -> std::string& { return c.drive8PCDir; }},
    {"Drive8D64",   [](EmulatorConfig& c) -> std::string& { return c.drive8D64; }},
    {"Drive1551Rom", [](EmulatorConfig& c) -> std::string& { return c.drive1551Rom; }},
    {"Drive1541Rom", [](EmulatorConfig& c) -> std::string& { return c.drive1541Rom; }},
};
// clang-format on

void readStore() {
    // Without the key every setting keeps its initial value, which differs from the
    // defaults of missing values (PALROM 0, joystick codes 0).
    std::string problem;
    auto key = keystore::Key::openForReading(&problem);
    // A store that is there but cannot be read is said, and left as it is.
    if (!problem.empty()) settingFallbacks.push_back(problem + "; no setting is read from it.");
    if (!key) return;
    for (const std::string& line : key->faultyLines())
        settingFallbacks.push_back(key->path() + ": the line '" + line + "' holds no value and is ignored.");

    for (const auto& setting : numberSettings) {
        uint32_t data = 0;
        int32_t& value = emulatorConfig.*setting.field;
        value = key->queryNumber(setting.name, data) ? static_cast<int32_t>(data) : setting.defaultValue;
        if (setting.highest == anyValue || (value >= 0 && value <= setting.highest)) continue;
        settingFallbacks.push_back(std::string(setting.name) + " " + std::to_string(value) +
                                   " is out of range (0-" + std::to_string(setting.highest) + "); " +
                                   std::to_string(setting.defaultValue) + " is used.");
        value = setting.defaultValue;
    }
    for (const auto& setting : textSettings) {
        std::string& text = setting.field(emulatorConfig);
        if (!key->queryString(setting.name, text)) text.clear();
    }
}

// VARNOK_WINDOWED=1 or 0 chooses a window or full screen for one run, whatever is stored.
void applyEnvironment() {
    const char* windowed = std::getenv("VARNOK_WINDOWED");
    if (windowed && (std::strcmp(windowed, "0") == 0 || std::strcmp(windowed, "1") == 0))
        emulatorConfig.windowed = windowed[0] - '0';
}

}  // namespace

void readConfiguration() {
    emulatorConfig = EmulatorConfig{};
    settingFallbacks.clear();
    readStore();
    applyEnvironment();
}

bool storeWindowScale(int32_t scale) {
    auto key = keystore::Key::openForWriting();
    if (key && key->setNumber("WindowScale", static_cast<uint32_t>(scale))) return true;
    const std::string reason = key ? key->lastError() : keystore::storePath();
    logLine("Warning: The window's scale cannot be stored: %s\n", reason.c_str());
    std::fprintf(stderr, "varnok: the window's scale cannot be stored: %s\n", reason.c_str());
    return false;
}

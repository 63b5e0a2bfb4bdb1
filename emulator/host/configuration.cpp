// The settings, read once at start from the store the setup program writes.
#include "host/configuration.h"

#include "settings/key_store.h"

std::string commandLine;

namespace {

struct NumberSetting {
    const char* name;
    int32_t EmulatorConfig::*field;
    int32_t defaultValue;  // taken when the value is missing or not a doubleword
};

// In the order the values are read.
// clang-format off
constexpr NumberSetting numberSettings[] = {
    {"ScreenMode",     &EmulatorConfig::screenMode,     0},
    {"Priority",       &EmulatorConfig::priority,       0},
    {"SoundEmulation", &EmulatorConfig::soundEmulation, 1},
    {"Debugger",       &EmulatorConfig::debugger,       0},
    {"Sync",           &EmulatorConfig::sync,           0},
    {"ModeX",          &EmulatorConfig::modeX,          0},
    {"Ram",            &EmulatorConfig::ram,            0},
    {"PALROM",         &EmulatorConfig::palRom,         1},
    {"Joystick",       &EmulatorConfig::joystick,       0},
    {"Log",            &EmulatorConfig::log,            0},
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
    {"DriveType8",     &EmulatorConfig::driveType8,     0},
    {"DriveNumber",    &EmulatorConfig::driveNumber,    0},
    {"Palette",        &EmulatorConfig::palette,        0},
    {"Clock",          &EmulatorConfig::clock,          0},
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
};
// clang-format on

}  // namespace

void readConfiguration() {
    // Without the key every setting keeps its initial value, which differs from the
    // defaults of missing values (PALROM 0, joystick codes 0).
    emulatorConfig = EmulatorConfig{};
    auto key = keystore::Key::openForReading();
    if (!key) return;

    for (const auto& setting : numberSettings) {
        uint32_t data = 0;
        emulatorConfig.*setting.field =
            key->queryNumber(setting.name, data) ? static_cast<int32_t>(data) : setting.defaultValue;
    }
    for (const auto& setting : textSettings) {
        std::string& text = setting.field(emulatorConfig);
        if (!key->queryString(setting.name, text)) text.clear();
    }
}

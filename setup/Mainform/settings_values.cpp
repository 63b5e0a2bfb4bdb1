#include "Mainform/settings_values.h"

#include <variant>

#include "settings/defaults.h"

namespace varnoksetup {

namespace {

namespace defaults = keystore::defaults;

struct NumberRow {
    const char* name;
    bool flag;
    // The setup's value when the stored one is missing; settings/defaults.h's where the
    // emulator reads the value too.
    uint32_t fallback;
};

// clang-format off
// Indexed by NumberSetting.
constexpr std::array<NumberRow, NumberSettingCount> numberRows = {{
    // name             flag   setup default
    {"ScreenMode",      false, defaults::screenMode},
    {"Priority",        false, defaults::priority},
    {"SoundEmulation",  true,  defaults::soundEmulation},
    {"Debugger",        true,  defaults::debugger},
    {"Sync",            false, defaults::sync},
    {"ModeX",           true,  defaults::modeX},
    {"Ram",             false, defaults::ram},
    {"Joystick",        false, defaults::joystick},
    {"Log",             true,  defaults::log},
    {"DriveType8",      false, defaults::driveType8},
    {"Joy1Up",          false, 49},
    {"Joy1Down",        false, 50},
    {"Joy1Left",        false, 51},
    {"Joy1Right",       false, 52},
    {"Joy1Fire",        false, 1},
    {"Joy2Up",          false, 49},
    {"Joy2Down",        false, 50},
    {"Joy2Left",        false, 51},
    {"Joy2Right",       false, 52},
    {"Joy2Fire",        false, 1},
    {"Palette",         false, defaults::palette},
    {"Clock",           false, defaults::clock},
    {"HardSID",         false, 0},
    {"Machine",         false, 0},
    {"PALROM",          true,  defaults::palRom},
    {"Windowed",        true,  defaults::windowed},
    {"WindowScale",     false, defaults::windowScale},
    {"TrueDrive8",      false, defaults::trueDrive8},
}};

// Indexed by TextSetting.
constexpr std::array<const char*, TextSettingCount> textNames = {
    "Rom0L", "Rom0H", "Rom1L", "Rom1H", "Rom2L", "Rom2H", "Rom3L", "Rom3H", "Drive8PCDir", "Drive8D64",
    "Drive1551Rom", "Drive1541Rom",
};

// Indexed like Joy1Up .. Joy2Fire.
constexpr std::array<const char*, joystickKeyCount> joystickCodeNames = {
    "Joy1UpCode", "Joy1DownCode", "Joy1LeftCode", "Joy1RightCode", "Joy1FireCode",
    "Joy2UpCode", "Joy2DownCode", "Joy2LeftCode", "Joy2RightCode", "Joy2FireCode",
};

struct JoystickCode {
    int key;  // 0..9
};
using Step = std::variant<NumberSetting, TextSetting, JoystickCode>;

constexpr Step readOrder[] = {
    ScreenMode, Priority, SoundEmulation, Debugger, Sync, ModeX, Joystick, Log, DriveType8,
    Joy1Up, Joy1Down, Joy1Left, Joy1Right, Joy1Fire, Joy2Up, Joy2Down, Joy2Left, Joy2Right, Joy2Fire,
    Ram, Palette, Clock, HardSID, Machine,
    Rom0L, Rom0H, Rom1L, Rom1H, Rom2L, Rom2H, Rom3L, Rom3H, Drive8PCDir, Drive8D64,
    PALROM, Windowed, WindowScale, TrueDrive8, Drive1551Rom, Drive1541Rom,
};

constexpr Step writeOrder[] = {
    ScreenMode, Priority, SoundEmulation, Debugger, Sync, ModeX, Ram, Joystick, Log, DriveType8,
    Joy1Up, Joy1Down, Joy1Left, Joy1Right, Joy1Fire, Joy2Up, Joy2Down, Joy2Left, Joy2Right, Joy2Fire,
    JoystickCode{0}, JoystickCode{1}, JoystickCode{2}, JoystickCode{3}, JoystickCode{4},
    JoystickCode{5}, JoystickCode{6}, JoystickCode{7}, JoystickCode{8}, JoystickCode{9},
    Palette, Clock, HardSID, Machine,
    Rom0L, Rom0H, Rom1L, Rom1H, Rom2L, Rom2H, Rom3L, Rom3H, Drive8PCDir, Drive8D64,
    PALROM, Windowed, WindowScale, TrueDrive8, Drive1551Rom, Drive1541Rom,
};
// clang-format on

uint32_t flagFromStore(NumberSetting setting, uint32_t stored) {
    // The emulator plays sound only for exactly 1, so show what it will do.
    if (setting == SoundEmulation) return stored == 1 ? 1 : 0;
    return stored != 0 ? 1 : 0;
}

}  // namespace

// clang-format off
const std::array<HostKey, directionKeyCount> directionKeys = {{
    {"A", 30}, {"B", 48}, {"C", 46}, {"D", 32}, {"E", 18}, {"F", 33}, {"G", 34}, {"H", 35}, {"I", 23},
    {"J", 36}, {"K", 37}, {"L", 38}, {"M", 50}, {"N", 49}, {"O", 24}, {"P", 25}, {"Q", 16}, {"R", 19},
    {"S", 31}, {"T", 20}, {"U", 22}, {"V", 47}, {"W", 17}, {"X", 45}, {"Y", 21}, {"Z", 44},
    {"1", 2}, {"2", 3}, {"3", 4}, {"4", 5}, {"5", 6}, {"6", 7}, {"7", 8}, {"8", 9}, {"9", 10}, {"0", 11},
    {"-", 12}, {"=", 13}, {"[", 26}, {"]", 27}, {"\\", 43}, {";", 39}, {"'", 40}, {",", 51}, {".", 52}, {"/", 53},
    {"Escape", 1},
    {"Space", 57},
    {"Enter", 28},
    {"Cur Up", 200},
    {"Cur Down", 208},
    {"Cur Left", 203},
    {"Cur Right", 205},
    {"Left Ctrl", 29},
    {"Right Ctrl", 157},
    {"Left Alt", 56},
    {"Right Alt", 184},
}};

const std::array<HostKey, fireKeyCount> fireKeys = {{
    {"Left Ctrl", 29},
    {"Right Ctrl", 157},
    {"Left Alt", 56},
    {"Right Alt", 184},
}};

const std::array<uint32_t, keysPerJoystick> defaultJoystickKeys = {49, 50, 51, 52, 1};

const std::array<MachinePresetRow, 5> machinePresets = {{
    //                                                                     custom Ram  Rom0L        Rom0H         Rom1L           Rom1H           Rom2L-Rom3H
    {MachineC16,        "C 16",       "Commodore 16 with 16K Ram",                false, 0, {"basic.bin", "kernal.bin", "",             "",             "", "", "", ""}},
    {MachineC16With64K, "C 16 + 64K", "C16 with 64K Ram expansion",               false, 2, {"basic.bin", "kernal.bin", "",             "",             "", "", "", ""}},
    {MachinePlus4,      "C Plus4",    "Plus4 with 64K Ram and built-in software", false, 2, {"basic.bin", "kernal.bin", "3plus1lo.rom", "3plus1hi.rom", "", "", "", ""}},
    {MachineCustom,     "Custom",     "You can customize the emulator.",          true,  0, {}},
    {MachineC232,       "C 232",      "Commodore 232 with 32K Ram",               false, 1, {"basic.bin", "kernal.bin", "3plus1lo.rom", "3plus1hi.rom", "", "", "", ""}},
}};
// clang-format on

SetupSettings::SetupSettings() {
    for (int i = 0; i < NumberSettingCount; ++i) number[i] = numberRows[i].fallback;
}

const char* numberName(NumberSetting setting) { return numberRows[setting].name; }
const char* textName(TextSetting setting) { return textNames[setting]; }
bool isFlag(NumberSetting setting) { return numberRows[setting].flag; }

bool isFireKeySetting(int joystickKey) { return joystickKey % keysPerJoystick == keysPerJoystick - 1; }

std::optional<uint32_t> scanCodeFor(int joystickKey, uint32_t listIndex) {
    if (isFireKeySetting(joystickKey)) {
        if (listIndex < fireKeys.size()) return fireKeys[listIndex].scanCode;
    } else if (listIndex < directionKeys.size()) {
        return directionKeys[listIndex].scanCode;
    }
    return std::nullopt;
}

const MachinePresetRow* presetFor(uint32_t machine) {
    for (const auto& row : machinePresets)
        if (row.machine == machine) return &row;
    return nullptr;
}

SetupSettings readStoredSettings(SettingsStore& store) {
    SetupSettings settings;
    auto key = store.openForReading();
    if (!key) return settings;
    // A store written by hand or by an older setup names its own ROMs and RAM
    // size; as the custom machine no preset replaces them on the next save.
    settings.number[Machine] = MachineCustom;
    for (const Step& step : readOrder) {
        if (auto* setting = std::get_if<NumberSetting>(&step)) {
            uint32_t stored;
            if (!key->readNumber(numberName(*setting), stored)) continue;
            settings.number[*setting] = isFlag(*setting) ? flagFromStore(*setting, stored) : stored;
        } else if (auto* text = std::get_if<TextSetting>(&step)) {
            // Each name stands on its own: a bad value empties only itself, so a
            // good name beside it is not lost on the next save.
            std::string stored;
            settings.text[*text] = key->readText(textName(*text), stored) ? stored : std::string();
        }
    }
    return settings;
}

bool writeStoredSettings(SettingsStore& store, const SetupSettings& settings, std::string& problem) {
    problem.clear();
    auto key = store.openForWriting();
    if (!key) {
        problem = store.lastError();
        return false;
    }
    for (const Step& step : writeOrder) {
        bool written = true;
        if (auto* setting = std::get_if<NumberSetting>(&step)) {
            uint32_t value = settings.number[*setting];
            if (isFlag(*setting)) value = value != 0 ? 1 : 0;
            written = key->writeNumber(numberName(*setting), value);
        } else if (auto* text = std::get_if<TextSetting>(&step)) {
            written = key->writeText(textName(*text), settings.text[*text]);
        } else {
            // An index no list holds came from a hand-edited store; leave its code alone.
            int joystickKey = std::get<JoystickCode>(step).key;
            auto code = scanCodeFor(joystickKey, settings.number[Joy1Up + joystickKey]);
            if (code) written = key->writeNumber(joystickCodeNames[joystickKey], *code);
        }
        if (!written) {
            problem = key->lastError();
            // The values before the refused one are stored, as they would be one by one;
            // a store that cannot take them says so instead.
            if (!key->commit()) problem = key->lastError();
            return false;
        }
    }
    if (key->commit()) return true;
    problem = key->lastError();
    return false;
}

}  // namespace varnoksetup

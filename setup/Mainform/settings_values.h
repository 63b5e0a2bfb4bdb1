#pragma once
// Every value the setup program keeps under the emulator's settings key: the
// working variables of the form, their defaults when a value is missing, the
// joystick key lists, the machine presets, and the order in which the values
// are read from and written to the store.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "Mainform/settings_store.h"

namespace varnoksetup {

enum NumberSetting : int {
    ScreenMode,
    Priority,
    SoundEmulation,
    Debugger,
    Sync,
    ModeX,
    Ram,
    Joystick,
    Log,
    DriveType8,
    Joy1Up,
    Joy1Down,
    Joy1Left,
    Joy1Right,
    Joy1Fire,
    Joy2Up,
    Joy2Down,
    Joy2Left,
    Joy2Right,
    Joy2Fire,
    Palette,
    Clock,
    HardSID,
    Machine,
    PALROM,
    Windowed,
    WindowScale,
    TrueDrive8,
    NumberSettingCount
};

enum TextSetting : int {
    Rom0L,
    Rom0H,
    Rom1L,
    Rom1H,
    Rom2L,
    Rom2H,
    Rom3L,
    Rom3H,
    Drive8PCDir,
    Drive8D64,
    Drive1551Rom,
    Drive1541Rom,
    TextSettingCount
};

constexpr int romSlotCount = 8;
constexpr int windowScaleCount = 9;   // 0, the largest that fits, then 1x to 8x
constexpr int joystickKeyCount = 10;  // up, down, left, right, fire for each joystick
constexpr int keysPerJoystick = 5;

// Machine values of the presets; Custom keeps whatever ROMs and RAM size were set.
enum MachinePreset : uint32_t {
    MachineC16 = 0,
    MachineC16With64K = 1,
    MachineC232 = 2,
    MachinePlus4 = 3,
    MachineCustom = 4
};

struct SetupSettings {
    SetupSettings();  // every value at its default for a missing key
    std::array<uint32_t, NumberSettingCount> number;
    std::array<std::string, TextSettingCount> text;
};

const char* numberName(NumberSetting setting);
const char* textName(TextSetting setting);
bool isFlag(NumberSetting setting);

// The joystick key lists: the name shown in the combo box and the DirectInput scan code.
struct HostKey {
    const char* name;
    uint32_t scanCode;
};
constexpr int directionKeyCount = 57;
constexpr int fireKeyCount = 4;
extern const std::array<HostKey, directionKeyCount> directionKeys;
extern const std::array<HostKey, fireKeyCount> fireKeys;

bool isFireKeySetting(int joystickKey);  // 0..9, in the order Joy1Up .. Joy2Fire
// The scan code for a stored list index; nothing for an index the lists do not hold.
std::optional<uint32_t> scanCodeFor(int joystickKey, uint32_t listIndex);
// The list indices of "Cur Up", "Cur Down", "Cur Left", "Cur Right" and "Right Ctrl".
extern const std::array<uint32_t, keysPerJoystick> defaultJoystickKeys;

struct MachinePresetRow {
    uint32_t machine;
    const char* caption;
    const char* hint;
    bool custom;   // keeps the RAM size, PAL check and ROM names as they are
    uint32_t ram;  // RAM size index: 0 16K, 1 32K, 2 64K
    std::array<const char*, romSlotCount> roms;
};
// In the order the buttons are shown.
extern const std::array<MachinePresetRow, 5> machinePresets;
const MachinePresetRow* presetFor(uint32_t machine);  // nothing for an unknown value

// Reads every value, each taking its default when missing or of the wrong type;
// a key without a Machine value holds a custom machine.
SetupSettings readStoredSettings(SettingsStore& store);
// Writes every value in order; stops at the first value that cannot be written
// (or when the key cannot be opened) and returns false, keeping what was written
// before and putting the store's reason, if it gives one, into `problem`.
bool writeStoredSettings(SettingsStore& store, const SetupSettings& settings, std::string& problem);

}  // namespace varnoksetup

// Reading the settings: defaults of missing values, the key missing altogether, bad values.
#include "host/configuration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <memory>

#include "support/machine_helpers.h"

namespace {

class Configuration : public ::testing::Test {
protected:
    void SetUp() override { dir = std::make_unique<ScratchDirectory>(); }
    std::unique_ptr<ScratchDirectory> dir;
};

// The doubleword names in the order of EmulatorConfig's fields below.
const char* const numberNames[] = {
    "ScreenMode",    "Priority",      "SoundEmulation", "Debugger",    "Sync",         "ModeX",
    "Ram",           "PALROM",        "Joystick",       "Log",         "Joy1UpCode",   "Joy1DownCode",
    "Joy1LeftCode",  "Joy1RightCode", "Joy1FireCode",   "Joy2UpCode",  "Joy2DownCode", "Joy2LeftCode",
    "Joy2RightCode", "Joy2FireCode",  "DriveType8",     "DriveNumber", "Palette",      "Clock"};

std::vector<int32_t> numberFields(const EmulatorConfig& c) {
    return {c.screenMode,    c.priority,      c.soundEmulation, c.debugger,    c.sync,         c.modeX,
            c.ram,           c.palRom,        c.joystick,       c.log,         c.joy1UpCode,   c.joy1DownCode,
            c.joy1LeftCode,  c.joy1RightCode, c.joy1FireCode,   c.joy2UpCode,  c.joy2DownCode, c.joy2LeftCode,
            c.joy2RightCode, c.joy2FireCode,  c.driveType8,     c.driveNumber, c.palette,      c.clock};
}

// Sound and the PAL check on, the 50 Hz timer, 64 KB; the joystick keys on the cursor keys
// and right Ctrl.
const std::vector<int32_t> missingDefaults = {0,   0,   1,   0,   2,   0,   2,   1,   0, 0, 200, 208,
                                              203, 205, 157, 200, 208, 203, 205, 157, 0, 0, 0,   0};

TEST_F(Configuration, MissingValuesTakeTheEmulatorDefaults) {
    writeSettingsStore({});
    readConfiguration();
    EXPECT_EQ(numberFields(emulatorConfig), missingDefaults);
    for (const auto& name : emulatorConfig.romFileName) EXPECT_EQ(name, "");
    EXPECT_EQ(emulatorConfig.drive8PCDir, "");
    EXPECT_EQ(emulatorConfig.drive8D64, "");
}

TEST_F(Configuration, StoredValuesAreTakenAsStored) {
    std::vector<Setting> settings;
    std::vector<int32_t> expected;
    // Values with a range take their highest; the others any number.
    const std::map<std::string, int32_t> highest = {{"ScreenMode", 6}, {"Sync", 1},       {"Ram", 1},
                                                    {"Joystick", 2},   {"DriveType8", 1}, {"Clock", 2}};
    for (const char* name : numberNames) {
        const auto ranged = highest.find(name);
        expected.push_back(ranged != highest.end() ? ranged->second : int32_t(1000 + expected.size()));
        settings.push_back({name, uint32_t(expected.back())});
    }
    const char* texts[] = {"Rom0L", "Rom0H", "Rom1L", "Rom1H", "Rom2L", "Rom2H", "Rom3L", "Rom3H"};
    for (const char* name : texts) settings.push_back({name, std::string("/roms/") + name});
    settings.push_back({"Drive8PCDir", "/games"});
    settings.push_back({"Drive8D64", "/disks/a.d64"});
    writeSettingsStore(settings);
    readConfiguration();
    EXPECT_EQ(numberFields(emulatorConfig), expected);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(emulatorConfig.romFileName[i], std::string("/roms/") + texts[i]);
    EXPECT_EQ(emulatorConfig.drive8PCDir, "/games");
    EXPECT_EQ(emulatorConfig.drive8D64, "/disks/a.d64");
}

TEST_F(Configuration, KeyMissingAltogetherGivesInitialValuesNotDefaults) {
    emulatorConfig.palRom = 7;
    emulatorConfig.romFileName[0] = "left over";
    readConfiguration();  // no store file in the scratch directory
    std::vector<int32_t> initial(std::size(numberNames), 0);
    initial[2] = 1;  // SoundEmulation
    initial[4] = 2;  // Sync: the real machine's speed
    initial[6] = 2;  // Ram: 64 KB
    EXPECT_EQ(numberFields(emulatorConfig), initial);
    EXPECT_EQ(emulatorConfig.romFileName[0], "");
}

TEST_F(Configuration, UnreadableValuesFallBackWithoutAffectingOthers) {
    writeSettingsStore({{"Ram", "two"},  // a string where a doubleword belongs
                        {"PALROM", 0u},
                        {"Rom0L", std::string(255, 'a')},
                        {"Rom0H", std::string(270, 'b')},  // a long path is read whole
                        {"Drive8D64", 5u}});               // a doubleword where a string belongs
    readConfiguration();
    EXPECT_EQ(emulatorConfig.ram, 2);
    EXPECT_EQ(emulatorConfig.palRom, 0);
    EXPECT_EQ(emulatorConfig.romFileName[0], std::string(255, 'a'));
    EXPECT_EQ(emulatorConfig.romFileName[1], std::string(270, 'b'));
    EXPECT_EQ(emulatorConfig.drive8D64, "");
}

struct OutOfRange {
    const char* name;
    uint32_t stored;
    int32_t EmulatorConfig::*field;
    int32_t used;
    const char* warning;
};
void PrintTo(const OutOfRange& c, std::ostream* os) { *os << c.name << " " << c.stored; }

class SettingOutOfRange : public Configuration, public ::testing::WithParamInterface<OutOfRange> {};

TEST_P(SettingOutOfRange, TakesTheDefaultAndSaysSo) {
    const OutOfRange& c = GetParam();
    writeSettingsStore({{c.name, c.stored}, {"Palette", 1u}});
    readConfiguration();
    EXPECT_EQ(emulatorConfig.*c.field, c.used);
    EXPECT_EQ(emulatorConfig.palette, 1) << "the other values are read as stored";
    ASSERT_EQ(settingFallbacks.size(), 1u);
    EXPECT_EQ(settingFallbacks[0], c.warning);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingOutOfRange,
                         ::testing::Values(OutOfRange{"Sync", 3, &EmulatorConfig::sync, 2,
                                                      "Sync 3 is out of range (0-2); 2 is used."},
                                           OutOfRange{"ScreenMode", 9, &EmulatorConfig::screenMode, 0,
                                                      "ScreenMode 9 is out of range (0-6); 0 is used."},
                                           OutOfRange{"Ram", 7, &EmulatorConfig::ram, 2,
                                                      "Ram 7 is out of range (0-2); 2 is used."},
                                           OutOfRange{"Joystick", 0xFFFFFFFF, &EmulatorConfig::joystick, 0,
                                                      "Joystick -1 is out of range (0-2); 0 is used."},
                                           OutOfRange{"DriveType8", 3, &EmulatorConfig::driveType8, 0,
                                                      "DriveType8 3 is out of range (0-2); 0 is used."},
                                           OutOfRange{"Clock", 4, &EmulatorConfig::clock, 0,
                                                      "Clock 4 is out of range (0-2); 0 is used."}));

TEST_F(Configuration, ValuesInRangeAndUncheckedOnesAreKeptWithoutWarning) {
    writeSettingsStore({{"Sync", 0u}, {"Ram", 0u}, {"ScreenMode", 6u}, {"Priority", 5u}, {"Palette", 9u}});
    readConfiguration();
    EXPECT_EQ(emulatorConfig.sync, 0);
    EXPECT_EQ(emulatorConfig.ram, 0);
    EXPECT_EQ(emulatorConfig.screenMode, 6);
    EXPECT_EQ(emulatorConfig.priority, 5);  // any other value keeps the process's priority
    EXPECT_TRUE(settingFallbacks.empty());
}

}  // namespace

// The store as other programs leave it: the registry editor's own export (UTF-16 with a
// byte-order mark), blanks around "=", a line that holds no value, something that is no
// store at all. What can be read is read; the rest is said, and the file is left as it is.
struct StoreForm {
    const char* name;
    std::string bytes;    // the store file; empty: a FIFO in its place
    int32_t ram;          // as read
    std::string rom0L;    // as read
    std::string warning;  // the one warning expected, after the store's path; "" for none
};
void PrintTo(const StoreForm& c, std::ostream* os) { *os << c.name; }

std::string utf16(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) bytes += {c, '\0'};
    return bytes;
}

class StoreForms : public Configuration, public ::testing::WithParamInterface<StoreForm> {};

TEST_P(StoreForms, AreReadOrSaidUnreadableAndKept) {
    const StoreForm& c = GetParam();
    const std::string path = dir->file("registry.reg");
    if (c.bytes.empty())
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    else
        writeFile(path, {c.bytes.begin(), c.bytes.end()});
    readConfiguration();
    EXPECT_EQ(emulatorConfig.ram, c.ram);
    EXPECT_EQ(emulatorConfig.romFileName[0], c.rom0L);
    if (c.warning.empty()) {
        EXPECT_TRUE(settingFallbacks.empty()) << settingFallbacks[0];
    } else {
        ASSERT_EQ(settingFallbacks.size(), 1u);
        EXPECT_EQ(settingFallbacks[0], path + c.warning);
    }
    if (!c.bytes.empty()) {
        EXPECT_EQ(readFile(path), c.bytes);
    }
}

const std::string section = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnok]\r\n";

INSTANTIATE_TEST_SUITE_P(
    Stores, StoreForms,
    ::testing::Values(
        StoreForm{"RegistryEditorExport",
                  utf16("Windows Registry Editor Version 5.00\r\n\r\n" + section +
                        "\"Ram\"=dword:00000001\r\n\"Rom0L\"=\"C:\\\\roms\\\\basic.bin\"\r\n\r\n"),
                  1, "C:\\roms\\basic.bin", ""},
        StoreForm{"BlanksAroundTheEquals",
                  "REGEDIT4\n\n" + section + "\"Ram\" = dword:00000000\n\"Rom0L\" =\t\"b\"\n", 0, "b", ""},
        StoreForm{"LineWithoutValue",
                  "REGEDIT4\n\n" + section + "\"Ram\"=dword:00000001\n\"Rom0L\" \"b\"\n; a note\n", 1, "",
                  ": the line '\"Rom0L\" \"b\"' holds no value and is ignored."},
        StoreForm{
            "BinaryJunk",
            std::string("\x7F"
                        "ELF\x02\x01\x01\0\0\0[HKEY",
                        15),
            2, "",
            ": is not a settings store (no REGEDIT4 header and no section); no setting is read from it."},
        StoreForm{"Fifo", "", 2, "", ": is a FIFO, not a regular file; no setting is read from it."}),
    [](const auto& info) { return std::string(info.param.name); });

// Start-up failures: each ends the program with its box, its log line and exit code 0.
#include <filesystem>
#include <functional>

#include "host/log.h"
#include "host_test.h"

namespace {

struct FatalCase {
    const char* name;
    // Prepares the failure; returns the log line expected last, or "" when no log is written.
    std::function<std::string(HostTest&)> arrange;
    const char* box;
};

class StartupFatal : public HostTest, public ::testing::WithParamInterface<FatalCase> {
public:
    void runCase() {
        std::string lastLine = GetParam().arrange(*this);
        EXPECT_EQ(start(), 0);
        ASSERT_EQ(fake.messageBoxes.size(), 1u);
        EXPECT_EQ(fake.messageBoxes[0], GetParam().box);
        EXPECT_FALSE(fake.messageBoxOwned[0]);
        EXPECT_FALSE(loggingOn());
        EXPECT_EQ(fake.windowProc, &windowProc);
        EXPECT_FALSE(fake.windowCreated);
        std::string text = log();
        if (lastLine.empty()) return;
        ASSERT_GE(text.size(), lastLine.size());
        EXPECT_EQ(text.substr(text.size() - lastLine.size()), lastLine);
    }
};

TEST_P(StartupFatal, ShowsTheBoxAndEndsTheLogWithTheReason) { runCase(); }

using StartupFailure = HostTest;

std::string missingRom(HostTest& t, const char* setting) {
    std::string name = t.dir->file("missing.bin");
    t.writeSettings({{setting, name}});
    return "Error: File not found: " + name + ".\n";
}

std::string emptyRom(HostTest& t, const char* setting) {
    std::string name = t.dir->file("empty.bin");
    writeFile(name, {});
    t.writeSettings({{setting, name}});
    return "Info: " + name + " successfully opened.\nError: Error while loading " + name + ".\n";
}

std::string ntscKernal(HostTest& t) {
    RomImage image = palKernal();
    image.place(0xFF80, {0x7F});
    t.writeKernal(image);
    t.writeSettings();
    return "Error: Varnok requires PAL KERNAL ROM.\n";
}

INSTANTIATE_TEST_SUITE_P(
    Failures, StartupFatal,
    ::testing::Values(FatalCase{"Rom0LMissing", [](HostTest& t) { return missingRom(t, "Rom0L"); },
                                "Varnok Error: ROM0L file not found."},
                      FatalCase{"Rom0HMissing", [](HostTest& t) { return missingRom(t, "Rom0H"); },
                                "Varnok Error: ROM0H file not found."},
                      FatalCase{"Rom0LEmpty", [](HostTest& t) { return emptyRom(t, "Rom0L"); },
                                "Varnok Error: Error while loading ROM0L file."},
                      FatalCase{"Rom0HEmpty", [](HostTest& t) { return emptyRom(t, "Rom0H"); },
                                "Varnok Error: Error while loading ROM0H file."},
                      FatalCase{"Rom0LIsADirectory",
                                [](HostTest& t) {
                                    t.writeSettings({{"Rom0L", t.dir->path()}});
                                    return "Error: Error while loading " + t.dir->path() + ".\n";
                                },
                                "Varnok Error: Error while loading ROM0L file."},
                      FatalCase{"Rom0LLongNameIsTriedWhole",
                                [](HostTest& t) {
                                    t.writeSettings({{"Rom0L", std::string(300, 'x')}});
                                    return "Error: File not found: " + std::string(300, 'x') + ".\n";
                                },
                                "Varnok Error: ROM0L file not found."},
                      FatalCase{"NtscKernalWithRomCheckByDefault", ntscKernal,
                                "Varnok Error: Varnok requires PAL KERNAL ROM"},
                      FatalCase{"LogCannotBeCreated",
                                [](HostTest& t) {
                                    std::filesystem::create_directory(t.dir->file("Varnok.log"));
                                    t.writeSettings();
                                    return std::string();
                                },
                                "Varnok Error: Cannot create Varnok.log file."},
                      FatalCase{"NoSettingsAtAllAndNoLog", [](HostTest&) { return std::string(); },
                                "Varnok Error: ROM0L file not found."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupFailure, NoSettingsStoreWritesNoLog) {
    start();
    EXPECT_FALSE(fileExists(dir->file("Varnok.log")));
}

TEST_F(StartupFailure, NtscKernalStartsWhenTheRomCheckIsOff) {
    RomImage image = palKernal();
    image.place(0xFF80, {0x00});
    writeKernal(image);
    writeSettings({{"PALROM", 0u}});
    start();
    EXPECT_TRUE(fake.messageBoxes.empty());
    EXPECT_NE(log().find("Info: Main loop reached."), std::string::npos);
}

TEST_F(StartupFailure, FatalErrorWithAWindowOwnsTheBoxDestroysTheWindowAndReturnsItsCode) {
    ASSERT_TRUE(platform::createMainWindow(1));
    platform::setWindowProc(windowProc);
    EXPECT_EQ(fatalError(true, -7, "Varnok Error: %s FAILED", "SetPalette"), -7);
    ASSERT_EQ(fake.messageBoxes.size(), 1u);
    EXPECT_EQ(fake.messageBoxes[0], "Varnok Error: SetPalette FAILED");
    EXPECT_TRUE(fake.messageBoxOwned[0]);
    EXPECT_FALSE(fake.windowCreated);
}

TEST_F(StartupFailure, FatalTextIsCutToItsBuffer) {
    fatalError(false, 0, "%s", std::string(500, 'e').c_str());
    ASSERT_EQ(fake.messageBoxes.size(), 1u);
    EXPECT_EQ(fake.messageBoxes[0].size(), 127u);
}

}  // namespace

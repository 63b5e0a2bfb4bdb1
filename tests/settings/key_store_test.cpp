#include "settings/key_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/machine_helpers.h"

namespace {

namespace fs = std::filesystem;

// Each test gets its own directory and store path; the real ~/.config is never touched.
class KeyStore : public ::testing::Test {
protected:
    void writeFile(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::string readFile() const { return ::readFile(path); }
    std::optional<keystore::Key> openWith(const std::string& body) {
        writeFile("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Varnok]\n" + body);
        return keystore::Key::openForReading();
    }
    // A value as a fresh reader of the file sees it; nothing when it is missing.
    std::optional<uint32_t> storedNumber(const std::string& name) const {
        uint32_t number = 0;
        auto key = keystore::Key::openForReading();
        return key && key->queryNumber(name, number) ? std::optional(number) : std::nullopt;
    }
    std::optional<std::string> storedText(const std::string& name) const {
        std::string text;
        auto key = keystore::Key::openForReading();
        return key && key->queryString(name, text) ? std::optional(text) : std::nullopt;
    }
    ScratchDirectory scratch;
    std::string dir = scratch.path(), path = scratch.file("registry.reg");
};

TEST_F(KeyStore, ReadingFailsWithoutFileAndWritingCreatesIt) {
    std::string nested = dir + "/a/b/registry.reg";
    setenv("VARNOK_REGISTRY", nested.c_str(), 1);
    EXPECT_FALSE(keystore::Key::openForReading());
    ASSERT_TRUE(keystore::Key::openForWriting());
    auto key = keystore::Key::openForReading();
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->values().empty());
    std::ifstream in(nested);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "REGEDIT4");
}

TEST_F(KeyStore, NumbersAndStringsSurviveARoundTrip) {
    auto key = keystore::Key::openForWriting();
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->setNumber("Ram", 2));
    ASSERT_TRUE(key->setNumber("Joy1UpCode", 0xFFFFFFFFu));
    ASSERT_TRUE(key->setString("Rom0L", R"(C:\roms\"basic".bin)"));
    ASSERT_TRUE(key->setString("Drive8PCDir", ""));

    auto again = keystore::Key::openForReading();
    ASSERT_TRUE(again);
    uint32_t number = 0;
    std::string text;
    EXPECT_TRUE(again->queryNumber("Ram", number));
    EXPECT_EQ(number, 2u);
    EXPECT_TRUE(again->queryNumber("Joy1UpCode", number));
    EXPECT_EQ(number, 0xFFFFFFFFu);
    EXPECT_TRUE(again->queryString("Rom0L", text));
    EXPECT_EQ(text, R"(C:\roms\"basic".bin)");
    EXPECT_TRUE(again->queryString("Drive8PCDir", text));
    EXPECT_EQ(text, "");
    EXPECT_NE(readFile().find(R"("Rom0L"="C:\\roms\\\"basic\".bin")"), std::string::npos);
    EXPECT_NE(readFile().find("\"Ram\"=dword:00000002"), std::string::npos);
}

TEST_F(KeyStore, NamesAndSectionCompareWithoutCase) {
    writeFile("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnok]\n\"ScreenMode\"=dword:00000004\n");
    auto key = keystore::Key::openForWriting();
    ASSERT_TRUE(key);
    uint32_t number = 0;
    EXPECT_TRUE(key->queryNumber("screenmode", number));
    EXPECT_EQ(number, 4u);
    ASSERT_TRUE(key->setNumber("SCREENMODE", 5));
    ASSERT_EQ(key->values().size(), 1u);
    EXPECT_EQ(key->values()[0].name, "ScreenMode");
    EXPECT_NE(readFile().find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Varnok]"), std::string::npos);
}

TEST_F(KeyStore, QueriesFailLikeTheRegistryAndLongTextsAreReadWhole) {
    std::string longPath = "/" + std::string(269, 'x');
    auto key = openWith("\"Number\"=dword:0000000a\n\"Text\"=\"abc\"\n\"Long\"=\"" + longPath + "\"\n");
    ASSERT_TRUE(key);
    uint32_t number = 7;
    std::string text = "unchanged";
    EXPECT_FALSE(key->queryNumber("Missing", number));
    EXPECT_FALSE(key->queryNumber("Text", number));
    EXPECT_FALSE(key->queryString("Number", text));
    EXPECT_FALSE(key->queryString("Long", text, 270));
    EXPECT_FALSE(key->queryString("Text", text, 3));
    EXPECT_EQ(number, 7u);
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(key->queryString("Text", text, 4));
    EXPECT_TRUE(key->queryString("Long", text));
    EXPECT_EQ(text, longPath);

    auto writable = keystore::Key::openForWriting();
    ASSERT_TRUE(writable);
    ASSERT_TRUE(writable->setNumber("Ram", 2));
    EXPECT_TRUE(keystore::Key::openForReading()->queryString("Long", text));
    EXPECT_EQ(text, longPath);
}

TEST_F(KeyStore, LaterLineOfANameWinsAndKeepsTheFirstSpelling) {
    auto key = openWith("\"Ram\"=dword:00000001\n\"RAM\"=dword:00000002\n\"ram\"=\"text\"\n");
    ASSERT_TRUE(key);
    ASSERT_EQ(key->values().size(), 1u);
    EXPECT_EQ(key->values()[0].name, "Ram");
    std::string text;
    EXPECT_TRUE(key->queryString("RAM", text));
    EXPECT_EQ(text, "text");
}

// Opening used to compare every new value with all before it; 200,000 values took minutes.
TEST_F(KeyStore, StoreOfTwoHundredThousandValuesOpensAtOnce) {
    constexpr int count = 200000;
    std::string body;
    for (int i = 0; i < count; ++i)
        body += "\"Value" + std::to_string(i) + "\"=dword:" + std::to_string(i % 10) + "\n";
    const auto start = std::chrono::steady_clock::now();
    auto key = openWith(body + "\"Ram\"=dword:00000002\n");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_TRUE(key);
    EXPECT_EQ(key->values().size(), size_t(count) + 1);
    uint32_t number = 0;
    EXPECT_TRUE(key->queryNumber("value199999", number));
    EXPECT_EQ(number, 9u);
    EXPECT_LT(seconds, 10.0) << "a hang guard only; bench_settings measures the time";
}

TEST_F(KeyStore, MalformedLinesCountAsMissingAndAreKept) {
    const char* lines[] = {
        "\"NoValue\"=",
        "\"BadHex\"=dword:0000000g",
        "\"TooWide\"=dword:123456789",
        "\"Unterminated\"=\"abc",
        "\"Trailing\"=\"abc\" junk",
        "\"BadEscape\"=\"a\\nb\"",
        "\"Binary\"=hex:01,02",
        "NoQuotes=dword:00000001",
        "@=\"default\"",
        "\"",
    };
    std::string body;
    for (const char* line : lines) body += std::string(line) + "\n";
    auto key = openWith(body + "\"Good\"=dword:1F\n");
    ASSERT_TRUE(key);
    uint32_t number = 0;
    std::string text;
    for (const char* name :
         {"NoValue", "BadHex", "TooWide", "Unterminated", "Trailing", "BadEscape", "Binary", "NoQuotes"}) {
        EXPECT_FALSE(key->queryNumber(name, number)) << name;
        EXPECT_FALSE(key->queryString(name, text)) << name;
    }
    EXPECT_TRUE(key->queryNumber("Good", number));
    EXPECT_EQ(number, 0x1Fu);

    ASSERT_TRUE(key->setNumber("Ram", 1));
    std::string after = readFile();
    for (const char* line : lines) EXPECT_NE(after.find(line), std::string::npos) << line;
}

TEST_F(KeyStore, WritesKeepUnknownValuesAndOtherSections) {
    writeFile(
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Other]\r\n\"Keep\"=\"me\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Varnok]\r\n\"HardSID\"=dword:00000002\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Later]\r\n\"Also\"=dword:00000003\r\n");
    auto key = keystore::Key::openForWriting();
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->setString("Rom0L", "basic.bin"));

    auto again = keystore::Key::openForReading();
    ASSERT_TRUE(again);
    uint32_t number = 0;
    EXPECT_TRUE(again->queryNumber("HardSID", number));
    EXPECT_EQ(number, 2u);
    EXPECT_FALSE(again->queryNumber("Also", number));
    std::string text = readFile();
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Other]\n\"Keep\"=\"me\""), std::string::npos);
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Later]\n\"Also\"=dword:00000003"), std::string::npos);
    EXPECT_LT(text.find("Other"), text.find("Varnok"));
    EXPECT_LT(text.find("Varnok"), text.find("Later"));
}

TEST_F(KeyStore, FileWithoutOurSectionIsAMissingKeyUntilWritten) {
    writeFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\Other]\n\"X\"=dword:00000001\n");
    EXPECT_FALSE(keystore::Key::openForReading());
    auto key = keystore::Key::openForWriting();
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->setNumber("Sync", 1));
    auto again = keystore::Key::openForReading();
    ASSERT_TRUE(again);
    uint32_t number = 0;
    EXPECT_TRUE(again->queryNumber("Sync", number));
    EXPECT_FALSE(again->queryNumber("X", number));
    EXPECT_NE(readFile().find("[HKEY_CURRENT_USER\\Other]"), std::string::npos);
}

// Holds for root as well: the mode bits decide, not the kernel's permission check.
TEST_F(KeyStore, ReadOnlyStoreIsNotReplacedAndKeepsItsValues) {
    auto key = keystore::Key::openForWriting();
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->setNumber("Ram", 1));
    std::string before = readFile();
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ASSERT_TRUE(keystore::Key::openForWriting());
    EXPECT_FALSE(key->setNumber("Ram", 2));
    EXPECT_EQ(key->lastError(), path + ": is read-only");
    EXPECT_FALSE(key->setString("Rom0L", "x"));
    EXPECT_EQ(readFile(), before);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::owner_write, fs::perms::none);
    uint32_t number = 0;
    EXPECT_TRUE(key->queryNumber("Ram", number));
    EXPECT_EQ(number, 1u);
    std::string text;
    EXPECT_FALSE(key->queryString("Rom0L", text));
    ASSERT_EQ(key->values().size(), 1u);
}

TEST_F(KeyStore, LineBreaksAndZerosAreRefusedWithoutTouchingTheFile) {
    auto key = keystore::Key::openForWriting();
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->setString("Rom0L", "basic.bin"));
    std::string before = readFile();
    EXPECT_FALSE(key->setString("Rom0L", "a\n\"Ram\"=dword:00000001"));
    EXPECT_FALSE(key->setString("Rom0H", std::string("a\0b", 3)));
    EXPECT_FALSE(key->setNumber("Bad\rName", 1));
    EXPECT_EQ(readFile(), before);
    std::string text;
    EXPECT_TRUE(key->queryString("Rom0L", text));
    EXPECT_EQ(text, "basic.bin");
}

// The setup program holds its writes so that OK saves the store once, not once per value.
TEST_F(KeyStore, HeldWritesReachTheFileOnlyOnCommit) {
    auto key = keystore::Key::openForWriting();
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->setNumber("Ram", 1));
    const std::string before = readFile();
    key->holdSaves();
    ASSERT_TRUE(key->setNumber("Ram", 2));
    ASSERT_TRUE(key->setString("Rom0L", "basic.bin"));
    EXPECT_FALSE(key->setString("Rom0H", "a\nb"));
    EXPECT_EQ(readFile(), before);
    ASSERT_TRUE(key->commit());
    EXPECT_EQ(storedNumber("Ram"), 2u);
    EXPECT_EQ(storedText("Rom0L"), "basic.bin");
    EXPECT_EQ(storedText("Rom0H"), std::nullopt);

    // The hold has ended: the next write is saved at once.
    ASSERT_TRUE(key->setNumber("Sync", 1));
    EXPECT_NE(readFile().find("\"Sync\"=dword:00000001"), std::string::npos);
}

TEST_F(KeyStore, FailedCommitLeavesFileAndKeyAsBeforeTheHold) {
    auto key = keystore::Key::openForWriting();
    ASSERT_TRUE(key);
    ASSERT_TRUE(key->setNumber("Ram", 1));
    const std::string before = readFile();
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    key->holdSaves();
    ASSERT_TRUE(key->setNumber("Ram", 2));
    ASSERT_TRUE(key->setNumber("Ram", 3));
    ASSERT_TRUE(key->setString("Rom0L", "x"));
    EXPECT_FALSE(key->commit());
    EXPECT_EQ(key->lastError(), path + ": is read-only");
    EXPECT_EQ(readFile(), before);
    uint32_t number = 0;
    EXPECT_TRUE(key->queryNumber("Ram", number));
    EXPECT_EQ(number, 1u);
    ASSERT_EQ(key->values().size(), 1u);
}

TEST_F(KeyStore, StoreThatIsAFolderOrFifoCannotBeOpenedAndNeverBlocks) {
    ASSERT_TRUE(fs::create_directory(path));
    EXPECT_FALSE(keystore::Key::openForReading());
    EXPECT_FALSE(keystore::Key::openForWriting());
    fs::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    EXPECT_FALSE(keystore::Key::openForReading());
    EXPECT_FALSE(keystore::Key::openForWriting());
    EXPECT_TRUE(fs::is_fifo(path));
}

TEST_F(KeyStore, PathComesFromEnvironmentInOrder) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::string savedXdg = xdg ? xdg : "", savedHome = home ? home : "";

    EXPECT_EQ(keystore::storePath(), path);
    unsetenv("VARNOK_REGISTRY");
    setenv("XDG_CONFIG_HOME", "/xdg", 1);
    EXPECT_EQ(keystore::storePath(), "/xdg/varnok/registry.reg");
    setenv("XDG_CONFIG_HOME", "", 1);
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(keystore::storePath(), "/home/someone/.config/varnok/registry.reg");

    xdg ? setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    home ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
}

}  // namespace

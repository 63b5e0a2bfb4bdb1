#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "drive/drive.h"
#include "drive/drive_media.h"
#include "host/configuration.h"
#include "port_session.h"

namespace {

class HostDirectoryDrive : public ::testing::Test {
protected:
    std::string root;  // holds the served directory and things beside it
    std::string served;

    void SetUp() override {
        resetDrive(1);
        std::string pattern = ::testing::TempDir() + "varnok_host_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        served = root + "/disk";
        ASSERT_EQ(mkdir(served.c_str(), 0700), 0);
        ASSERT_TRUE(mountHostDirectory(served));
    }
    void TearDown() override {
        const std::string command = "chmod -R u+rwx '" + root + "' && rm -rf '" + root + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    static std::vector<uint8_t> pattern(size_t bytes) {
        std::vector<uint8_t> data(bytes);
        for (size_t i = 0; i < bytes; ++i) data[i] = static_cast<uint8_t>(i * 7 + i / 256);
        return data;
    }
    static std::vector<uint8_t> readFile(const std::string& path) {
        std::vector<uint8_t> data;
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) return data;
        for (int c; (c = std::fgetc(file)) != EOF;) data.push_back(uint8_t(c));
        std::fclose(file);
        return data;
    }
    static void writeFile(const std::string& path, const std::vector<uint8_t>& data) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        if (!data.empty()) std::fwrite(data.data(), 1, data.size(), file);
        std::fclose(file);
    }
    void addProgram(const std::string& name, size_t bytes) { writeFile(served + "/" + name, pattern(bytes)); }

    // The file lines of a listing, without header and closing line.
    std::vector<std::string> fileLines() {
        const std::vector<uint8_t> all = listing();
        std::vector<std::string> lines;
        for (size_t at = 32; at + 32 < all.size(); at += 32)
            lines.emplace_back(all.begin() + at, all.begin() + at + 32);
        return lines;
    }
};

std::string fileLine(uint16_t address, uint16_t blocks, const std::string& text) {
    std::vector<uint8_t> bytes = word(address + 32);
    for (uint8_t b : word(blocks)) bytes.push_back(b);
    for (char c : text) bytes.push_back(static_cast<uint8_t>(c));
    bytes.push_back(0);
    return {bytes.begin(), bytes.end()};
}

TEST_F(HostDirectoryDrive, EmptyDirectoryListsHeaderAndFreeSpace) {
    const std::vector<uint8_t> got = listing();
    ASSERT_EQ(got.size(), 64u);
    const std::vector<uint8_t> header = bytesOf("\x01\x10\x1F\x10");
    EXPECT_EQ(std::vector<uint8_t>(got.begin(), got.begin() + 4), header);
    EXPECT_EQ(std::string(got.begin() + 4, got.begin() + 32),
              std::string("\0\0\x12\"VARNOK DIRECTORY\" 00 2A\0", 28));
    EXPECT_EQ(std::vector<uint8_t>(got.begin() + 32, got.begin() + 34), word(0x101F + 30));
    EXPECT_EQ(std::string(got.begin() + 36, got.end()), std::string("BLOCKS FREE.             \0\0\0", 28));
}

TEST_F(HostDirectoryDrive, ProgramIsListedUpperCaseWithItsBlockCount) {
    addProgram("game.prg", 2049);
    addProgram("readme.txt", 10);
    addProgram("Big.PRG", 40000);
    const std::vector<std::string> lines = fileLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], fileLine(0x101F, 157, " \"BIG\"              PRG    "));
    EXPECT_EQ(lines[1], fileLine(0x103F, 9, "   \"GAME\"             PRG  "));
}

TEST_F(HostDirectoryDrive, LoadFindsTheFileWhateverTheCaseOfTheName) {
    addProgram("game.prg", 2049);
    addProgram("OTHER.Prg", 3);
    for (const char* name : {"GAME", "game", "0:GAME", "GaMe"}) {
        const LoadResult result = loadThroughPort(name);
        EXPECT_EQ(result.firstStatus, 0) << name;
        EXPECT_EQ(result.bytes, pattern(2049)) << name;
        EXPECT_TRUE(result.endedWithStatus3) << name;
        EXPECT_TRUE(result.handshakesAnswered) << name;
    }
    EXPECT_EQ(loadThroughPort("other").bytes.size(), 3u);
}

TEST_F(HostDirectoryDrive, NameLongerThan16IsNotListedButLoads) {
    addProgram("abcdefghijklmnopq.prg", 300);
    addProgram("abcdefghijklmnop.prg", 10);
    const std::vector<std::string> lines = fileLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("\"ABCDEFGHIJKLMNOP\""), std::string::npos);
    EXPECT_EQ(request("abcdefghijklmnopq"), 0);
    EXPECT_EQ(answer().size(), 300u);
}

TEST_F(HostDirectoryDrive, AsteriskLoadsTheFirstFileInNameOrder) {
    addProgram("zebra.prg", 5);
    addProgram("averyveryverylongname.prg", 7);
    addProgram("Middle.prg", 9);
    EXPECT_EQ(request("*"), 0);
    EXPECT_EQ(answer().size(), 9u);  // "Middle" sorts first: capitals before small letters
}

TEST_F(HostDirectoryDrive, MissingNameGivesStatus2AndNoStaleAnswer) {
    addProgram("game.prg", 100);
    request("GAME");
    ASSERT_EQ(answer().size(), 100u);
    EXPECT_EQ(request("NOPE"), 2);
    EXPECT_TRUE(answer().empty());
}

TEST_F(HostDirectoryDrive, RequestCannotReachOutsideTheDirectory) {
    writeFile(root + "/secret.prg", pattern(10));
    ASSERT_EQ(mkdir((served + "/sub").c_str(), 0700), 0);
    writeFile(served + "/sub/inner.prg", pattern(10));
    for (const std::string& name :
         std::vector<std::string>{"../secret", "0:../secret", root + "/secret", "sub/inner", "./sub/inner"}) {
        EXPECT_EQ(request(name), 2) << name;
        EXPECT_TRUE(answer().empty()) << name;
    }
}

// A file nobody may read stays out even for root, who could open it anyway.
TEST_F(HostDirectoryDrive, ThingsThatAreNotReadableProgramsAreLeftOut) {
    ASSERT_EQ(mkdir((served + "/folder.prg").c_str(), 0700), 0);
    ASSERT_EQ(mkfifo((served + "/pipe.prg").c_str(), 0600), 0);
    addProgram("locked.prg", 10);
    chmod((served + "/locked.prg").c_str(), 0);
    addProgram("m.prg", 7);
    EXPECT_EQ(fileLines().size(), 1u);
    for (const char* name : {"folder", "pipe", "locked"}) {
        EXPECT_EQ(request(name), 2) << name;
    }
    request("*");
    EXPECT_EQ(answer().size(), 7u) << "the first readable file, not the locked one before it";
}

TEST_F(HostDirectoryDrive, NonAsciiNamesAreListedAndLoadedByTheirBytes) {
    addProgram("caf\xc3\xa9.prg", 20);
    const std::vector<std::string> lines = fileLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("\"CAF\xc3\xa9\""), std::string::npos);
    request("caf\xc3\xa9");
    EXPECT_EQ(answer().size(), 20u);
}

TEST_F(HostDirectoryDrive, FileBiggerThanALoadIsRefusedWithFileTooLarge) {
    addProgram("huge.prg", 70000);
    EXPECT_EQ(request("HUGE"), 2);
    EXPECT_TRUE(answer().empty());
    EXPECT_EQ(errorChannel(), "52, FILE TOO LARGE,00,00");
}

// Neither a missing folder nor a file in its place makes the drive serve the current directory.
TEST_F(HostDirectoryDrive, MissingFolderLeavesTheDriveEmpty) {
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    addProgram("here.prg", 12);
    ASSERT_EQ(chdir(served.c_str()), 0);
    EXPECT_FALSE(mountHostDirectory(root + "/does-not-exist"));
    EXPECT_EQ(loadThroughPort("HERE").bytes, pattern(12)) << "a failed mount keeps the folder mounted";
    unmountDrive();  // as at start-up
    for (const std::string& folder : {root + "/does-not-exist", served + "/here.prg", std::string()}) {
        EXPECT_FALSE(mountHostDirectory(folder)) << folder;
        EXPECT_EQ(request("HERE"), 2) << folder;
        EXPECT_TRUE(answer().empty()) << folder;
        EXPECT_EQ(errorChannel(), "74,DRIVE NOT READY,00,00") << folder;
    }
    ASSERT_EQ(chdir(previous), 0);
}

// Links whose target lies outside the folder are neither listed, loaded, chosen by "*",
// scratched nor written through; links that stay inside are served like the files they name.
TEST_F(HostDirectoryDrive, LinksOutOfTheFolderAreNotServed) {
    writeFile(root + "/secret.prg", pattern(10));
    ASSERT_EQ(mkdir((root + "/elsewhere").c_str(), 0700), 0);
    writeFile(root + "/elsewhere/far.prg", pattern(11));
    addProgram("inside.prg", 12);
    ASSERT_EQ(symlink("../secret.prg", (served + "/A_OUT.prg").c_str()), 0);
    ASSERT_EQ(symlink((root + "/secret.prg").c_str(), (served + "/ABSOLUTE.prg").c_str()), 0);
    ASSERT_EQ(symlink("../elsewhere", (served + "/sub").c_str()), 0);
    ASSERT_EQ(symlink("inside.prg", (served + "/b_link.prg").c_str()), 0);
    const std::vector<std::string> lines = fileLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("\"B_LINK\""), std::string::npos);
    EXPECT_NE(lines[1].find("\"INSIDE\""), std::string::npos);
    for (const char* name : {"A_OUT", "ABSOLUTE", "sub/far"}) {
        EXPECT_EQ(request(name), 2) << name;
    }
    request("*");
    EXPECT_EQ(answer(), pattern(12));
    EXPECT_EQ(saveThroughPort("A_OUT", {1, 2, 3}), "63, FILE EXISTS,00,00");
    EXPECT_EQ(saveThroughPort("@0:ABSOLUTE", {1, 2, 3}), "63, FILE EXISTS,00,00");
    EXPECT_EQ(diskCommand("S:*"), "01, FILES SCRATCHED,02,00");
    EXPECT_EQ(readFile(root + "/secret.prg"), pattern(10));
    EXPECT_EQ(readFile(root + "/elsewhere/far.prg"), pattern(11));
}

TEST_F(HostDirectoryDrive, FolderReachedThroughALinkIsServed) {
    addProgram("game.prg", 5);
    ASSERT_EQ(symlink(served.c_str(), (root + "/link").c_str()), 0);
    ASSERT_TRUE(mountHostDirectory(root + "/link"));
    EXPECT_EQ(fileLines().size(), 1u);
    EXPECT_EQ(loadThroughPort("GAME").bytes, pattern(5));
}

TEST_F(HostDirectoryDrive, SavedFilesTakeTheExtensionOfTheirKind) {
    EXPECT_EQ(saveThroughPort("GAME", {1, 16, 5}), "00, OK,00,00");
    for (const char* open : {"DATA,S,W", "MINE,U,W"}) {
        ASSERT_EQ(openChannelByName(2, open), 0) << open;
        writeToChannel(2, bytesOf("X"));
        closeChannelOnBus(2);
    }
    EXPECT_EQ(readFile(served + "/GAME.prg"), std::vector<uint8_t>({1, 16, 5}));
    EXPECT_EQ(readFile(served + "/DATA.seq"), bytesOf("X"));
    EXPECT_EQ(readFile(served + "/MINE.usr"), bytesOf("X"));
    const std::vector<std::string> lines = fileLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("\"DATA\"             SEQ"), std::string::npos);
    EXPECT_NE(lines[2].find("\"MINE\"             USR"), std::string::npos);
    EXPECT_EQ(diskCommand("R:NOTES=DATA"), "00, OK,00,00");
    EXPECT_EQ(readFile(served + "/NOTES.seq"), bytesOf("X"));
}

TEST_F(HostDirectoryDrive, ReplacingKeepsTheFileItsNameAlreadyHas) {
    addProgram("game.prg", 5);
    EXPECT_EQ(saveThroughPort("GAME", {1, 2}), "63, FILE EXISTS,00,00");
    EXPECT_EQ(saveThroughPort("@:GAME", {1, 2}), "00, OK,00,00");
    EXPECT_EQ(readFile(served + "/game.prg"), std::vector<uint8_t>({1, 2}));
    EXPECT_EQ(fileLines().size(), 1u);
    ASSERT_EQ(symlink("game.prg", (served + "/link.prg").c_str()), 0);
    EXPECT_EQ(saveThroughPort("@:LINK", {1, 3}), "00, OK,00,00");
    EXPECT_EQ(readFile(served + "/game.prg"), std::vector<uint8_t>({1, 3}));
    struct stat info;
    EXPECT_EQ(lstat((served + "/link.prg").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(diskCommand("N:DISK,ID"), "31,SYNTAX ERROR,00,00");
}

// What the drive serves is reached from the folder it mounted, never through a path looked
// up again: the folder moved away and a link to another put in its place, or a served file
// swapped for a link out of the folder at any moment (as an attacker racing the drive
// would), and no LOAD hands out a file outside, nor any SAVE writes to one.
TEST_F(HostDirectoryDrive, NothingOutsideIsReachedWhateverIsSwappedIn) {
    const std::vector<uint8_t> secret(100, 'S');
    writeFile(root + "/secret.prg", secret);
    ASSERT_EQ(mkdir((root + "/other").c_str(), 0700), 0);
    writeFile(root + "/other/game.prg", secret);
    addProgram("game.prg", 100);
    ASSERT_EQ(std::rename(served.c_str(), (root + "/moved").c_str()), 0);
    ASSERT_EQ(symlink("other", served.c_str()), 0);
    EXPECT_EQ(loadThroughPort("GAME").bytes, pattern(100));
    EXPECT_EQ(saveThroughPort("@:GAME", pattern(50)), "00, OK,00,00");
    EXPECT_EQ(readFile(root + "/moved/game.prg"), pattern(50));
    EXPECT_EQ(readFile(root + "/other/game.prg"), secret);

    ASSERT_TRUE(mountHostDirectory(root + "/moved"));
    std::atomic<bool> stop = false;
    std::thread swapper([&] {
        const std::string game = root + "/moved/game.prg", out = root + "/moved/.out";
        symlink("../secret.prg", out.c_str());
        while (!stop) renameat2(AT_FDCWD, game.c_str(), AT_FDCWD, out.c_str(), RENAME_EXCHANGE);
    });
    for (int i = 0; i < 1000; ++i) {
        EXPECT_NE(loadThroughPort("GAME").bytes, secret) << "round " << i;
        if (i % 50 == 0) saveThroughPort("@:GAME", pattern(100));  // each one waits for the disk
    }
    stop = true;
    swapper.join();
    EXPECT_EQ(readFile(root + "/secret.prg"), secret);
}

// A file the user may not write is kept, as a locked file on a disk is, and the drive
// answers that it may not write; the others named go.
TEST_F(HostDirectoryDrive, FilesTheUserMayNotWriteAreNeitherScratchedNorRenamedNorReplaced) {
    addProgram("kept.prg", 10);
    addProgram("loose.prg", 10);
    chmod((served + "/kept.prg").c_str(), 0444);
    EXPECT_EQ(diskCommand("R:OTHER=KEPT"), "26, WRITE PROTECT ON,00,00");
    EXPECT_EQ(saveThroughPort("@:KEPT", {1, 2}), "26, WRITE PROTECT ON,00,00");
    EXPECT_EQ(diskCommand("S:*"), "26, WRITE PROTECT ON,00,00");
    EXPECT_EQ(readFile(served + "/kept.prg"), pattern(10));
    EXPECT_EQ(fileLines().size(), 1u) << "loose.prg went";
    EXPECT_EQ(diskCommand("R:OTHER=KEPT"), "26, WRITE PROTECT ON,00,00");
}

// A large folder is read once and its listing kept while it is unchanged: LOADs then cost
// no reading of the folder, and a SAVE reads it once; any change is seen at once.
TEST_F(HostDirectoryDrive, ListingIsKeptWhileTheFolderIsUnchanged) {
    for (int i = 0; i < 200; ++i) addProgram("file" + std::to_string(i) + ".prg", 10);
    // Older than a step of the folder's clock, so its stamp can be trusted.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const uint32_t before = drive.folderReads;
    for (const char* name : {"FILE1", "FILE7", "FILE199"})
        EXPECT_EQ(loadThroughPort(name).bytes, pattern(10));
    EXPECT_EQ(drive.folderReads, before + 1);
    addProgram("late.prg", 3);
    EXPECT_EQ(loadThroughPort("LATE").bytes, pattern(3));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const uint32_t beforeSave = drive.folderReads;
    EXPECT_EQ(saveThroughPort("NEW", {1, 16, 7}), "00, OK,00,00");
    EXPECT_EQ(drive.folderReads, beforeSave + 1);
    EXPECT_EQ(loadThroughPort("NEW").bytes, std::vector<uint8_t>({1, 16, 7}));
    unlink((served + "/file3.prg").c_str());
    EXPECT_EQ(loadThroughPort("FILE3").firstStatus, 2);
}

TEST(HostFreeSpace, ShowsFreeBytesCappedAt32768) {
    struct Row {
        uint64_t freeBlocks, blockSize;
        uint16_t shown;
    };
    const Row rows[] = {
        {2560, 4096, 32768},  // 10 MB
        {1000, 1, 1000},
        {0, 4096, 0},
        {7, 4096, 28672},
        {8, 4096, 32768},
        {32768, 1, 32768},
        {32767, 1, 32767},
        {~0ull, ~0ull, 32768},  // no overflow into a small figure
        {1ull << 40, 1ull << 30, 32768},
        {5, 0, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(freeBytesShown(row.freeBlocks, row.blockSize), row.shown)
            << row.freeBlocks << " x " << row.blockSize;
}

}  // namespace

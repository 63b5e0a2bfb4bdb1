// Whole-file reads and writes: what sits at a path never blocks, misleads or gets replaced.
#include "common/host_files.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/machine_helpers.h"

namespace {

const std::vector<uint8_t> newData = {'n', 'e', 'w'};

class HostFiles : public ::testing::Test {
protected:
    void SetUp() override { dir = std::make_unique<ScratchDirectory>(); }
    std::string path(const char* name) const { return dir->file(name); }
    bool write(const std::string& target) {
        error.clear();
        return writeWholeFile(target, newData, error);
    }
    std::unique_ptr<ScratchDirectory> dir;
    std::string error;
};

// Another user to own what the test plants; the suite runs as root as often as not.
uid_t otherUser() {
    const passwd* nobody = getpwnam("nobody");
    return nobody ? nobody->pw_uid : geteuid() + 1;
}

TEST_F(HostFiles, ReadsRefuseWhatIsNotARegularFileAtOnce) {
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(path("folder"));
    writeFile(path("big"), std::vector<uint8_t>(101, 1));
    struct Case {
        std::string path;
        ReadStatus status;
        const char* reason;
    };
    const Case cases[] = {{path("fifo"), ReadStatus::notRegular, "not a regular file"},
                          {"/dev/zero", ReadStatus::notRegular, "not a regular file"},
                          {path("folder"), ReadStatus::notRegular, "a folder, not a file"},
                          {path("none"), ReadStatus::notFound, "no such file"},
                          {path("big"), ReadStatus::tooLarge, "file too large"}};
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = {9};
        std::string reason;
        EXPECT_EQ(readWholeFile(c.path, 100, bytes, reason), c.status) << c.path;
        EXPECT_EQ(reason, c.path + ": " + c.reason);
        EXPECT_TRUE(bytes.empty());
    }
}

TEST_F(HostFiles, WriteReplacesTheUsersOwnFileKeepingItsModeAndLeavesNoTemporary) {
    writeFile(path("a.prg"), {'o', 'l', 'd'});
    ASSERT_EQ(chmod(path("a.prg").c_str(), 0600), 0);
    ASSERT_TRUE(write(path("a.prg"))) << error;
    EXPECT_EQ(readFile(path("a.prg")), "new");
    struct stat info {};
    ASSERT_EQ(stat(path("a.prg").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir->path()))
        entries += !entry.is_directory();
    EXPECT_EQ(entries, 1u);
}

// Each of these leaves the old file as it was and reports failure, also for root.
TEST_F(HostFiles, TargetsTheUserMayNotWriteAreNotReplaced) {
    writeFile(path("readonly.prg"), {'o', 'l', 'd'});
    ASSERT_EQ(chmod(path("readonly.prg").c_str(), 0444), 0);
    EXPECT_FALSE(write(path("readonly.prg")));
    EXPECT_EQ(error, path("readonly.prg") + ": the file is not writable");

    writeFile(path("theirs.prg"), {'o', 'l', 'd'});
    if (geteuid() == 0) {
        ASSERT_EQ(chown(path("theirs.prg").c_str(), otherUser(), otherUser()), 0);
        EXPECT_FALSE(write(path("theirs.prg")));
        EXPECT_EQ(readFile(path("theirs.prg")), "old");
    }

    // A link someone else planted at the target is not written through.
    writeFile(path("victim"), {'o', 'l', 'd'});
    ASSERT_EQ(symlink(path("victim").c_str(), path("planted.prg").c_str()), 0);
    if (geteuid() == 0) {
        ASSERT_EQ(lchown(path("planted.prg").c_str(), otherUser(), otherUser()), 0);
        EXPECT_FALSE(write(path("planted.prg")));
        EXPECT_EQ(error, path("planted.prg") + ": a link that belongs to another user");
    }
    EXPECT_EQ(readFile(path("readonly.prg")), "old");
    EXPECT_EQ(readFile(path("victim")), "old");
    EXPECT_FALSE(write(path("missing/x.prg")));
}

}  // namespace

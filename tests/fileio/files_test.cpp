// Whole-file reads that never block, and writes that replace only what is ours.
#include "fileio/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>

#include "support/machine_helpers.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t nobody = 65534;

std::vector<uint8_t> bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

mode_t modeOf(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode;
}

class Files : public ::testing::Test {
protected:
    void TearDown() override { files::setTemporarySuffixSource(nullptr); }
    std::string file(const std::string& name) const { return scratch.file(name); }
    // Everything in the folder: a write leaves nothing of its own behind.
    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(scratch.path()))
            names.insert(entry.path().filename());
        return names;
    }
    ScratchDirectory scratch;
};

TEST_F(Files, ReadsAWholeFileUpToTheCallersLimit) {
    writeFile(file("a.prg"), bytesOf("hello"));
    writeFile(file("empty"), {});
    files::ReadResult whole = files::readFile(file("a.prg"), 5);
    ASSERT_TRUE(whole) << whole.error;
    EXPECT_EQ(whole.text(), "hello");
    EXPECT_TRUE(whole.error.empty());

    files::ReadResult over = files::readFile(file("a.prg"), 4);
    EXPECT_EQ(over.status, files::ReadStatus::tooLarge);
    EXPECT_EQ(over.error, file("a.prg") + ": larger than 4 bytes");
    EXPECT_TRUE(over.bytes.empty());

    files::ReadResult empty = files::readFile(file("empty"), 0);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty.bytes.empty());
    EXPECT_EQ(files::readFile(file("missing"), 10).status, files::ReadStatus::notFound);
    EXPECT_EQ(files::readFile(file("a.prg/inside"), 10).status, files::ReadStatus::notFound);
}

// Each of these would block a plain open, or read as an empty or endless file.
TEST_F(Files, FoldersFifosDevicesAndRefusedLinksAreNotReadNorWritten) {
    ASSERT_EQ(::mkdir(file("folder").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(file("fifo").c_str(), 0644), 0);
    writeFile(file("real"), bytesOf("x"));
    ASSERT_EQ(::symlink("real", file("link").c_str()), 0);
    struct Case {
        std::string path;
        files::Links links;
        const char* says;
    };
    const Case cases[] = {
        {file("folder"), files::Links::follow, "is a folder, not a file"},
        {file("fifo"), files::Links::follow, "is a FIFO, not a regular file"},
        {"/dev/zero", files::Links::follow, "is a device, not a regular file"},
        {file("link"), files::Links::refuse, "is a symbolic link"},
    };
    for (const Case& c : cases) {
        files::ReadResult read = files::readFile(c.path, 1 << 20, c.links);
        EXPECT_EQ(read.status, files::ReadStatus::notRegular) << c.path;
        EXPECT_EQ(read.error, c.path + ": " + c.says);
    }
    EXPECT_TRUE(files::readFile(file("link"), 1, files::Links::follow));
    for (const char* name : {"folder", "fifo"}) {
        files::WriteResult written = files::writeFile(file(name), "data");
        EXPECT_FALSE(written) << name;
        EXPECT_FALSE(written.error.empty());
    }
    EXPECT_TRUE(S_ISFIFO(modeOf(file("fifo"))));
    EXPECT_EQ(entries(), (std::set<std::string>{"folder", "fifo", "real", "link"}));
}

TEST_F(Files, WriteCreatesOrReplacesTheWholeFileKeepingItsMode) {
    ASSERT_TRUE(files::writeFile(file("new.bmp"), "first"));
    EXPECT_EQ(readFile(file("new.bmp")), "first");
    EXPECT_EQ(modeOf(file("new.bmp")) & 07777, 0644u);

    writeFile(file("old.reg"), bytesOf("a much longer old text"));
    ASSERT_EQ(::chmod(file("old.reg").c_str(), 0600), 0);
    ASSERT_TRUE(files::writeFile(file("old.reg"), std::span<const uint8_t>()));
    EXPECT_EQ(readFile(file("old.reg")), "");
    EXPECT_EQ(modeOf(file("old.reg")) & 07777, 0600u);
    EXPECT_EQ(entries(), (std::set<std::string>{"new.bmp", "old.reg"}));
    EXPECT_FALSE(files::writeFile(file("no/such/folder"), "x"));
}

// Root passes every permission check of the kernel, so these hold by the mode and owner.
TEST_F(Files, ReadOnlyOrForeignTargetIsNotReplaced) {
    writeFile(file("locked"), bytesOf("keep"));
    ASSERT_EQ(::chmod(file("locked").c_str(), 0444), 0);
    files::WriteResult written = files::writeFile(file("locked"), "lost");
    EXPECT_FALSE(written);
    EXPECT_EQ(written.error, file("locked") + ": is read-only");
    EXPECT_EQ(readFile(file("locked")), "keep");

    if (::geteuid() == 0) {
        writeFile(file("theirs"), bytesOf("keep"));
        ASSERT_EQ(::chown(file("theirs").c_str(), nobody, nobody), 0);
        written = files::writeFile(file("theirs"), "lost");
        EXPECT_EQ(written.error, file("theirs") + ": belongs to another user");
        EXPECT_EQ(readFile(file("theirs")), "keep");
    }
    EXPECT_EQ(entries().size(), ::geteuid() == 0 ? 2u : 1u);
}

// The rule on its own, as the drive asks it before it takes an image as writable.
TEST_F(Files, ReplaceRefusalSaysWhatWriteFileWouldRefuse) {
    writeFile(file("mine"), bytesOf("old"));
    writeFile(file("locked"), bytesOf("keep"));
    ASSERT_EQ(::chmod(file("locked").c_str(), 0444), 0);
    ASSERT_EQ(::mkdir(file("folder").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("mine", file("link").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", file("dangling").c_str()), 0);
    const struct {
        const char* name;
        const char* refusal;
    } cases[] = {{"mine", ""},
                 {"link", ""},
                 {"locked", "is read-only"},
                 {"folder", "is a folder, not a file"},
                 {"dangling", "is a symbolic link that leads nowhere"},
                 {"missing", "no such file"}};
    for (const auto& c : cases) EXPECT_EQ(files::replaceRefusal(file(c.name)), c.refusal) << c.name;
}

TEST_F(Files, RealPathResolvesLinksAndDotsOrIsEmpty) {
    ASSERT_EQ(::mkdir(file("disks").c_str(), 0755), 0);
    writeFile(file("disks/a.d64"), {});
    ASSERT_EQ(::symlink("disks/a.d64", file("link.d64").c_str()), 0);
    const std::string real = files::realPath(scratch.path()) + "/disks/a.d64";
    EXPECT_EQ(files::realPath(file("link.d64")), real);
    EXPECT_EQ(files::realPath(file("disks/../disks/./a.d64")), real);
    EXPECT_EQ(files::realPath(file("missing")), "");
}

TEST_F(Files, NameIsTakenByAnythingEvenALinkThatLeadsNowhere) {
    writeFile(file("file"), {});
    ASSERT_EQ(::mkdir(file("folder").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("nowhere", file("dangling").c_str()), 0);
    for (const char* name : {"file", "folder", "dangling"}) EXPECT_TRUE(files::nameTaken(file(name))) << name;
    EXPECT_FALSE(files::nameTaken(file("nowhere")));
}

TEST(FolderOf, IsThePartBeforeTheLastSlash) {
    const std::pair<const char*, const char*> cases[] = {
        {"a.d64", "."}, {"/a.d64", "/"}, {"/home/me/a.d64", "/home/me"}, {"disks/a.d64", "disks"}};
    for (const auto& [path, folder] : cases) EXPECT_EQ(files::folderOf(path), folder) << path;
}

std::string (*const fixedSuffix)() = [] { return std::string("AAAAAA"); };

// Unnamed temporaries get a name only for the rename; named ones have it from the start.
class Temporaries : public Files, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override { files::setUnnamedTemporaries(GetParam()); }
    void TearDown() override {
        files::setUnnamedTemporaries(true);
        Files::TearDown();
    }
};

TEST_P(Temporaries, LinkPlantedAtATemporaryNameIsNeverFollowed) {
    writeFile(file("victim"), bytesOf("precious"));
    ASSERT_EQ(::symlink(file("victim").c_str(), file(".save.prg.vtmp-AAAAAA").c_str()), 0);
    static int calls;
    calls = 0;
    files::setTemporarySuffixSource([] { return std::string(calls++ == 0 ? "AAAAAA" : "BBBBBB"); });
    ASSERT_TRUE(files::writeFile(file("save.prg"), "program"));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(readFile(file("save.prg")), "program");
    EXPECT_EQ(readFile(file("victim")), "precious");
    EXPECT_TRUE(S_ISLNK(modeOf(file(".save.prg.vtmp-AAAAAA"))));

    // Every name taken: the write fails and touches nothing.
    files::setTemporarySuffixSource(fixedSuffix);
    files::WriteResult written = files::writeFile(file("save.prg"), "other");
    EXPECT_EQ(written.error, file("save.prg") + ": no free temporary name beside it");
    EXPECT_EQ(readFile(file("save.prg")), "program");
    EXPECT_EQ(readFile(file("victim")), "precious");
}

// The temporary's name is cut to fit, at a character's start, so a name at the system's
// limit can still be replaced.
TEST_P(Temporaries, NameAtTheSystemsLimitIsWrittenAndReplaced) {
    const long limit = ::pathconf(scratch.path().c_str(), _PC_NAME_MAX);
    ASSERT_GT(limit, 20);
    std::string name(size_t(limit) - 8, 'x');
    for (int i = 0; i < 4; ++i) name += "\xc3\xa9";  // 'é' in UTF-8, across the cut
    ASSERT_EQ(name.size(), size_t(limit));
    ASSERT_TRUE(files::writeFile(file(name), "first"));
    const files::WriteResult again = files::writeFile(file(name), "second");
    ASSERT_TRUE(again) << again.error;
    EXPECT_EQ(readFile(file(name)), "second");
    EXPECT_EQ(entries(), (std::set<std::string>{name}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, Temporaries, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });

TEST_F(Files, LinkAtTheTargetIsWrittenThroughOnlyWhenItIsOursAndLeadsToAFile) {
    ASSERT_EQ(::mkdir(file("dotfiles").c_str(), 0755), 0);
    writeFile(file("dotfiles/registry.reg"), bytesOf("old"));
    ASSERT_EQ(::symlink("dotfiles/registry.reg", file("registry.reg").c_str()), 0);
    ASSERT_TRUE(files::writeFile(file("registry.reg"), "new"));
    EXPECT_TRUE(S_ISLNK(modeOf(file("registry.reg"))));
    EXPECT_EQ(readFile(file("dotfiles/registry.reg")), "new");

    ASSERT_EQ(::symlink("nowhere", file("dangling").c_str()), 0);
    EXPECT_EQ(files::writeFile(file("dangling"), "x").error,
              file("dangling") + ": is a symbolic link that leads nowhere");
    EXPECT_FALSE(fs::exists(file("nowhere")));

    if (::geteuid() == 0) {
        ASSERT_EQ(::lchown(file("registry.reg").c_str(), nobody, nobody), 0);
        EXPECT_EQ(files::writeFile(file("registry.reg"), "planted").error,
                  file("registry.reg") + ": is a symbolic link that belongs to another user");
        EXPECT_EQ(readFile(file("dotfiles/registry.reg")), "new");
    }
}

// The same rules for a user without root's rights, in a folder anyone may write
// to, where the kernel itself would let a rename replace root's file.
TEST_F(Files, UnprivilegedUserReplacesOnlyItsOwnWritableFiles) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to switch to an unprivileged user";
    ASSERT_EQ(::chmod(scratch.path().c_str(), 0777), 0);
    writeFile(file("roots"), bytesOf("root's"));
    writeFile(file("locked"), bytesOf("keep"));
    writeFile(file("mine"), bytesOf("old"));
    ASSERT_EQ(::symlink("roots", file("planted").c_str()), 0);
    for (const char* name : {"locked", "mine"}) ASSERT_EQ(::chown(file(name).c_str(), nobody, nobody), 0);
    ASSERT_EQ(::chmod(file("locked").c_str(), 0444), 0);

    const std::function<bool()> checks[] = {
        [&] { return !files::writeFile(file("roots"), "x"); },
        [&] { return !files::writeFile(file("locked"), "x"); },
        [&] { return !files::writeFile(file("planted"), "x"); },
        [&] { return bool(files::writeFile(file("mine"), "new")); },
        [&] { return bool(files::writeFile(file("created"), "new")); },
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int failed = ::setgid(nobody) != 0 || ::setuid(nobody) != 0 ? 1 : 0;
        for (size_t i = 0; i < std::size(checks); ++i)
            if (!checks[i]()) failed |= 2 << i;
        ::_exit(failed);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "bit 0: no user switch; bit n+1: check n";
    EXPECT_EQ(readFile(file("roots")), "root's");
    EXPECT_EQ(readFile(file("locked")), "keep");
    EXPECT_EQ(readFile(file("mine")), "new");
    struct stat created {};
    ASSERT_EQ(::stat(file("created").c_str(), &created), 0);
    EXPECT_EQ(created.st_uid, nobody);
    EXPECT_EQ(entries(), (std::set<std::string>{"roots", "locked", "mine", "planted", "created"}));
}

}  // namespace

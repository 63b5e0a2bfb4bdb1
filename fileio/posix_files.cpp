// Descriptors, the replace rule and the temporary files of every write, on POSIX.
#include "fileio/posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace files::posix {

namespace {

constexpr int temporaryNameTries = 100;
constexpr std::string_view temporaryMark = ".vtmp-";
constexpr size_t suffixLength = 6;
constexpr size_t shortestNameLimit = 14;  // POSIX's _POSIX_NAME_MAX

bool writeAll(int fd, std::span<const uint8_t> data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data = data.subspan(size_t(n));
    }
    return true;
}

size_t nameLimit(int folder) {
    const long limit = ::fpathconf(folder, _PC_NAME_MAX);
    return limit >= long(shortestNameLimit) ? size_t(limit) : 255;
}

// As much of the name as a temporary's name has room for, cut where a UTF-8 character
// begins, so a file system that insists on valid names takes it.
std::string temporaryStem(const std::string& name, size_t limit) {
    const size_t room = limit - 1 - temporaryMark.size() - suffixLength;
    if (name.size() <= room) return name;
    size_t cut = room;
    while (cut > 0 && (uint8_t(name[cut]) & 0xC0) == 0x80) --cut;
    return name.substr(0, cut);
}

std::string temporaryName(const std::string& name, size_t limit) {
    std::string temporary(1, '.');
    temporary.append(temporaryStem(name, limit)).append(temporaryMark).append(temporarySuffix());
    return temporary;
}

bool isSuffixCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// ".<stem>.vtmp-XXXXXX" with the stem of `name`, or any stem when `name` is empty.
bool isTemporaryOf(const std::string& entry, const std::string& name, size_t limit) {
    const size_t tail = temporaryMark.size() + suffixLength;
    if (entry.size() < 2 + tail || entry[0] != '.') return false;
    const size_t mark = entry.size() - tail;
    if (entry.compare(mark, temporaryMark.size(), temporaryMark) != 0) return false;
    for (size_t i = mark + temporaryMark.size(); i < entry.size(); ++i)
        if (!isSuffixCharacter(entry[i])) return false;
    return name.empty() || entry.compare(1, mark - 1, temporaryStem(name, limit)) == 0;
}

// Writers share a lock on the folder while a temporary of theirs may be in it; the
// removal of stale ones takes it alone, so it never takes a temporary still being written.
class WritingInFolder {
public:
    explicit WritingInFolder(int folder) : folder_(folder) {
        while (::flock(folder_, LOCK_SH) != 0 && errno == EINTR) {
        }
    }
    ~WritingInFolder() { ::flock(folder_, LOCK_UN); }
    WritingInFolder(const WritingInFolder&) = delete;
    WritingInFolder& operator=(const WritingInFolder&) = delete;

private:
    int folder_;
};

// Gives the unnamed file open at fd a name in the folder.
bool linkUnnamed(int fd, int folder, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
    if (errno != ENOENT) return false;  // no /proc: linking by the descriptor needs privilege
    return ::linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0;
}

// Moves `from` to `to` in the folder only when nothing is at `to`.
bool renameNew(int folder, const std::string& from, const std::string& to) {
    if (::renameat2(folder, from.c_str(), folder, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the flag: a second link, then the first one goes.
    if (::linkat(folder, from.c_str(), folder, to.c_str(), 0) != 0) return false;
    ::unlinkat(folder, from.c_str(), 0);
    return true;
}

struct Temporary {
    Descriptor file;
    std::string name;  // empty while it has none
};

bool writeContent(int fd, std::span<const uint8_t> data, mode_t mode, int& error) {
    const bool written = writeAll(fd, data) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    error = errno;
    return written;
}

// How a write went: `unnamedUnusable` when the system would not give an unnamed file a
// name, so the write is to be done again with a named one.
struct Attempt {
    WriteResult result;
    bool unnamedUnusable = false;
};

WriteResult failure(const std::string& shownPath, int error) {
    return WriteResult{error == EEXIST ? WriteStatus::exists : WriteStatus::failed,
                       describe(shownPath, systemError(error))};
}

WriteResult noFreeName(const std::string& shownPath) {
    return WriteResult{WriteStatus::failed, describe(shownPath, "no free temporary name beside it")};
}

// Names the temporary for a rename: an unnamed one is linked under a fresh name, a named
// one is created under it. False with errno set when no name could be had.
bool nameTemporary(int folder, const std::string& name, Temporary& temporary, bool unnamed) {
    const size_t limit = nameLimit(folder);
    for (int attempt = 0; attempt < temporaryNameTries; ++attempt) {
        const std::string candidate = temporaryName(name, limit);
        if (unnamed) {
            if (linkUnnamed(temporary.file.get(), folder, candidate)) {
                temporary.name = candidate;
                return true;
            }
        } else {
            const int fd =
                ::openat(folder, candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd >= 0) {
                temporary.file = Descriptor(fd);
                temporary.name = candidate;
                return true;
            }
        }
        if (errno != EEXIST) return false;
    }
    errno = EEXIST;
    return false;
}

Attempt placeThrough(int folder, const std::string& name, std::span<const uint8_t> data, mode_t mode,
                     Placing placing, const std::string& shownPath, Descriptor* keep, bool unnamed) {
    Temporary temporary;
    Attempt attempt;
    if (unnamed) {
        temporary.file = Descriptor(::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
        if (temporary.file.get() < 0) {
            attempt.unnamedUnusable = true;
            return attempt;
        }
    } else if (!nameTemporary(folder, name, temporary, false)) {
        attempt.result = errno == EEXIST ? noFreeName(shownPath) : failure(shownPath, errno);
        return attempt;
    }
    auto fail = [&](int error) {
        if (!temporary.name.empty()) ::unlinkat(folder, temporary.name.c_str(), 0);
        attempt.result = failure(shownPath, error);
        return attempt;
    };
    int error = 0;
    if (!writeContent(temporary.file.get(), data, mode, error)) return fail(error);
    // Held before anyone can open it by name, so no other writer gets in between.
    if (keep) ::flock(temporary.file.get(), LOCK_EX);

    bool placed = false;
    if (placing == Placing::createNew && unnamed) {
        placed = linkUnnamed(temporary.file.get(), folder, name);
        if (!placed && errno != EEXIST) {
            attempt.unnamedUnusable = true;
            return attempt;
        }
    } else {
        if (unnamed && !nameTemporary(folder, name, temporary, true)) {
            if (errno == EEXIST)
                attempt.result = noFreeName(shownPath);
            else
                attempt.unnamedUnusable = true;
            return attempt;
        }
        placed = placing == Placing::replace
                     ? ::renameat(folder, temporary.name.c_str(), folder, name.c_str()) == 0
                     : renameNew(folder, temporary.name, name);
    }
    if (!placed) return fail(errno);
    // The new name reaches the disk with the folder; losing that only loses the change,
    // never the old file, so a failure here is not reported.
    ::fsync(folder);
    if (keep) *keep = std::move(temporary.file);
    attempt.result = WriteResult{WriteStatus::ok, {}};
    return attempt;
}

}  // namespace

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

Descriptor::~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
}

int Descriptor::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

bool Descriptor::close() { return ::close(release()) == 0; }

std::string systemError(int error) { return std::strerror(error); }

std::string describe(const std::string& path, const std::string& what) { return path + ": " + what; }

std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "is a folder, not a file";
    if (S_ISFIFO(mode)) return "is a FIFO, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a regular file";
    if (S_ISLNK(mode)) return "is a symbolic link";
    return "is not a regular file";
}

FileStamp stampOf(const struct stat& info) {
    constexpr int64_t second = 1000000000;
    return FileStamp{uint64_t(info.st_dev), uint64_t(info.st_ino), uint64_t(info.st_size),
                     int64_t(info.st_mtim.tv_sec) * second + info.st_mtim.tv_nsec,
                     int64_t(info.st_ctim.tv_sec) * second + info.st_ctim.tv_nsec};
}

ReadResult readOpened(int fd, const std::string& path, size_t sizeLimit) {
    auto refuse = [&](ReadStatus status, const std::string& what) {
        ReadResult result;
        result.status = status;
        result.error = describe(path, what);
        return result;
    };
    const std::string tooLarge = "larger than " + std::to_string(sizeLimit) + " bytes";
    struct stat info;
    if (::fstat(fd, &info) != 0) return refuse(ReadStatus::failed, systemError(errno));
    if (!S_ISREG(info.st_mode)) return refuse(ReadStatus::notRegular, kindOf(info.st_mode));
    if (uint64_t(info.st_size) > sizeLimit) return refuse(ReadStatus::tooLarge, tooLarge);

    ReadResult result;
    result.stamp = stampOf(info);
    result.bytes.resize(size_t(info.st_size));
    size_t done = 0;
    for (;;) {
        // One byte past the limit tells a file that grew while being read.
        if (done == result.bytes.size()) {
            if (done > sizeLimit) return refuse(ReadStatus::tooLarge, tooLarge);
            const size_t grown = done + 65536;
            result.bytes.resize(sizeLimit < grown ? sizeLimit + 1 : grown);
        }
        const ssize_t n = ::read(fd, result.bytes.data() + done, result.bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return refuse(ReadStatus::failed, systemError(errno));
        if (n == 0) break;
        done += size_t(n);
    }
    if (done > sizeLimit) return refuse(ReadStatus::tooLarge, tooLarge);
    result.bytes.resize(done);
    result.status = ReadStatus::ok;
    return result;
}

std::string refusalFor(const struct stat& existing) {
    if (!S_ISREG(existing.st_mode)) return kindOf(existing.st_mode);
    // The mode bits and owner, not access(): root may write anywhere, but a file
    // marked read-only or owned by another user is not ours to replace.
    if (existing.st_uid != ::geteuid()) return "belongs to another user";
    if (!(existing.st_mode & S_IWUSR)) return "is read-only";
    return {};
}

WriteResult placeFile(int folder, const std::string& name, std::span<const uint8_t> data, mode_t mode,
                      Placing placing, const std::string& shownPath, Descriptor* keep) {
    WritingInFolder writing(folder);
    if (unnamedTemporariesAllowed()) {
        Attempt attempt = placeThrough(folder, name, data, mode, placing, shownPath, keep, true);
        if (!attempt.unnamedUnusable) return attempt.result;
    }
    return placeThrough(folder, name, data, mode, placing, shownPath, keep, false).result;
}

size_t removeStaleTemporaries(int folder, const std::string& name) {
    if (::flock(folder, LOCK_EX | LOCK_NB) != 0) return 0;  // a write is under way
    size_t removed = 0;
    const size_t limit = nameLimit(folder);
    if (DIR* entries = ::fdopendir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))) {
        while (const dirent* entry = ::readdir(entries)) {
            const std::string found = entry->d_name;
            struct stat info;
            if (!isTemporaryOf(found, name, limit) ||
                ::fstatat(folder, found.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode) ||
                info.st_uid != ::geteuid())
                continue;
            if (::unlinkat(folder, found.c_str(), 0) == 0) ++removed;
        }
        ::closedir(entries);
    }
    ::flock(folder, LOCK_UN);
    return removed;
}

}  // namespace files::posix

// Whole-file reads and writes by path; the temporary files and the replace rule they
// share with the folder held by its descriptor are fileio/posix_files.cpp's.
#include "fileio/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "fileio/posix_files.h"
#else
#include <filesystem>
#include <fstream>
#endif

namespace files {

namespace {

// Six letters or digits. Both programs write from one thread; a clash with another
// process's temporary file only costs another try, since names are taken exclusively.
std::string randomSuffix() {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof letters - 2);
    std::string suffix(6, ' ');
    for (char& c : suffix) c = letters[pick(engine)];
    return suffix;
}

std::string (*suffixSource)() = randomSuffix;
bool unnamedAllowed = true;

}  // namespace

void setTemporarySuffixSource(std::string (*suffix)()) { suffixSource = suffix ? suffix : randomSuffix; }
void setUnnamedTemporaries(bool allowed) { unnamedAllowed = allowed; }

WriteResult writeFile(const std::string& path, std::string_view text) {
    return writeFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

HeldFile::HeldFile(HeldFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      path_(std::move(other.path_)),
      error_(std::move(other.error_)),
      stamp_(other.stamp_) {}

HeldFile& HeldFile::operator=(HeldFile&& other) noexcept {
    if (this != &other) {
        // What this held goes with `taken`, and lets go of the file there.
        HeldFile taken(std::move(other));
        std::swap(fd_, taken.fd_);
        std::swap(path_, taken.path_);
        std::swap(error_, taken.error_);
        std::swap(stamp_, taken.stamp_);
    }
    return *this;
}

#ifndef _WIN32

std::string posix::temporarySuffix() { return suffixSource(); }
bool posix::unnamedTemporariesAllowed() { return unnamedAllowed; }

using posix::describe;
using posix::Descriptor;
using posix::systemError;

namespace {

ReadResult readFailure(const std::string& path, ReadStatus status, const std::string& what) {
    ReadResult result;
    result.status = status;
    result.error = describe(path, what);
    return result;
}

WriteResult writeFailure(const std::string& path, WriteStatus status, const std::string& what) {
    return WriteResult{status, describe(path, what)};
}

// Where the new file goes: the path itself, or what a link of ours leads to (links refused
// with Links::refuse). Fills `existing` when a file is there; an empty result with `error`
// set refuses.
std::string writeTarget(const std::string& path, Links links, struct stat& existing, bool& exists,
                        std::string& error) {
    exists = false;
    if (::lstat(path.c_str(), &existing) != 0) {
        if (errno == ENOENT) return path;
        error = systemError(errno);
        return {};
    }
    std::string target = path;
    if (S_ISLNK(existing.st_mode)) {
        if (links == Links::refuse) {
            error = posix::kindOf(existing.st_mode);
            return {};
        }
        // Followed only when the user made it (a settings file kept elsewhere), as
        // the kernel's protected-symlink rule does in shared folders.
        if (existing.st_uid != ::geteuid()) {
            error = "is a symbolic link that belongs to another user";
            return {};
        }
        target = realPath(path);
        if (target.empty() || ::stat(target.c_str(), &existing) != 0) {
            error = "is a symbolic link that leads nowhere";
            return {};
        }
    }
    exists = true;
    error = posix::refusalFor(existing);
    return error.empty() ? target : std::string();
}

std::string nameIn(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// Writes through the target's folder, opened once, so the file lands where the checks looked.
WriteResult placeAt(const std::string& path, Links links, std::span<const uint8_t> data, Descriptor* keep) {
    struct stat existing;
    bool exists = false;
    std::string error;
    const std::string target = writeTarget(path, links, existing, exists, error);
    if (target.empty()) return writeFailure(path, WriteStatus::refused, error);
    const std::string name = nameIn(target);  // the whole of a bare name
    if (name.empty()) return writeFailure(path, WriteStatus::refused, "names a folder, not a file");
    Descriptor folder(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) return writeFailure(path, WriteStatus::failed, systemError(errno));
    const mode_t mode = exists ? (existing.st_mode & 0777) : 0644;
    return posix::placeFile(folder.get(), name, data, mode, posix::Placing::replace, path, keep);
}

}  // namespace

std::string realPath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    std::string resolved = real ? real : "";
    std::free(real);
    return resolved;
}

bool nameTaken(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

ReadResult readFile(const std::string& path, size_t sizeLimit, Links links) {
    // Looked at before it is opened, so a device never sees an open.
    struct stat info;
    const int found = links == Links::follow ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    if (found != 0) {
        const int error = errno;
        // No file can be at a path that runs through a file or is too long for the system.
        if (error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG)
            return readFailure(path, ReadStatus::notFound, "no such file");
        return readFailure(path, ReadStatus::failed, systemError(error));
    }
    if (!S_ISREG(info.st_mode)) return readFailure(path, ReadStatus::notRegular, posix::kindOf(info.st_mode));

    const int flags =
        O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (links == Links::refuse ? O_NOFOLLOW : 0);
    Descriptor file(::open(path.c_str(), flags));
    if (file.get() < 0) {
        const int error = errno;
        if (error == ENOENT) return readFailure(path, ReadStatus::notFound, "no such file");
        if (error == ELOOP) return readFailure(path, ReadStatus::notRegular, "is a symbolic link");
        return readFailure(path, ReadStatus::failed, systemError(error));
    }
    // Whatever was swapped in since the look above is checked again.
    return posix::readOpened(file.get(), path, sizeLimit);
}

bool currentStamp(const std::string& path, FileStamp& stamp) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return false;
    stamp = posix::stampOf(info);
    return true;
}

std::string replaceRefusal(const std::string& path) {
    struct stat existing;
    bool exists = false;
    std::string error;
    if (writeTarget(path, Links::follow, existing, exists, error).empty()) return error;
    return exists ? "" : "no such file";
}

WriteResult writeFile(const std::string& path, std::span<const uint8_t> data) {
    return placeAt(path, Links::follow, data, nullptr);
}

std::FILE* createFile(const std::string& path, std::string& error) {
    Descriptor file;
    const WriteResult created = placeAt(path, Links::refuse, {}, &file);
    if (!created) {
        error = created.error;
        return nullptr;
    }
    // Only the writer's lock, which nothing else here takes, comes off.
    ::flock(file.get(), LOCK_UN);
    std::FILE* stream = ::fdopen(file.get(), "w");
    if (!stream) {
        error = describe(path, systemError(errno));
        return nullptr;
    }
    file.release();
    return stream;
}

HeldFile::~HeldFile() {
    if (fd_ >= 0) ::close(fd_);  // the lock goes with the descriptor
}

ReadResult HeldFile::read(size_t sizeLimit) const {
    if (fd_ < 0 || ::lseek(fd_, 0, SEEK_SET) != 0)
        return readFailure(path_, ReadStatus::failed, "is not held");
    return posix::readOpened(fd_, path_, sizeLimit);
}

HeldFile holdFile(const std::string& path) {
    HeldFile held;
    held.path_ = path;
    // A writer that got the lock first may have replaced the file meanwhile: then the
    // lock is on a file no longer at the path, and the new one is taken instead.
    constexpr int tries = 16;
    for (int attempt = 0; attempt < tries; ++attempt) {
        struct stat info;
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
            held.error_ = describe(path, errno == ENOENT ? "no such file" : posix::kindOf(info.st_mode));
            return held;
        }
        Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        if (file.get() < 0) {
            held.error_ = describe(path, systemError(errno));
            return held;
        }
        // A file system without locks (some network ones) still gets the check of the
        // stamp below; only the lock itself is missing there.
        while (::flock(file.get(), LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat now, locked;
        if (::fstat(file.get(), &locked) == 0 && ::stat(path.c_str(), &now) == 0 &&
            now.st_dev == locked.st_dev && now.st_ino == locked.st_ino) {
            held.stamp_ = posix::stampOf(locked);
            held.fd_ = file.release();
            held.error_.clear();
            return held;
        }
    }
    held.error_ = describe(path, "keeps being replaced");
    return held;
}

WriteResult replaceHeldFile(HeldFile& held, std::span<const uint8_t> data) {
    if (held.fd_ < 0) return writeFailure(held.path_, WriteStatus::failed, "is not held");
    Descriptor placed;
    WriteResult result = placeAt(held.path_, Links::follow, data, &placed);
    if (!result) return result;
    struct stat info;
    if (::fstat(placed.get(), &info) == 0) held.stamp_ = posix::stampOf(info);
    ::close(held.fd_);
    held.fd_ = placed.release();
    return result;
}

size_t removeStaleTemporaries(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return 0;
    const bool folder = S_ISDIR(info.st_mode);
    Descriptor opened(
        ::open(folder ? path.c_str() : folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (opened.get() < 0) return 0;
    return posix::removeStaleTemporaries(opened.get(), folder ? std::string() : nameIn(path));
}

#else  // Without POSIX calls: the same outcomes as far as the standard library can tell, no locks.

namespace {

constexpr int temporaryNameTries = 100;

std::string describe(const std::string& path, const std::string& what) { return path + ": " + what; }

ReadResult readFailure(const std::string& path, ReadStatus status, const std::string& what) {
    ReadResult result;
    result.status = status;
    result.error = describe(path, what);
    return result;
}

WriteResult writeFailure(const std::string& path, const std::string& what) {
    return WriteResult{WriteStatus::failed, describe(path, what)};
}

std::string tooLargeText(size_t sizeLimit) { return "larger than " + std::to_string(sizeLimit) + " bytes"; }

}  // namespace

ReadResult readFile(const std::string& path, size_t sizeLimit, Links links) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status =
        links == Links::follow ? fs::status(path, error) : fs::symlink_status(path, error);
    if (!fs::exists(status)) return readFailure(path, ReadStatus::notFound, "no such file");
    if (!fs::is_regular_file(status))
        return readFailure(path, ReadStatus::notRegular, "is not a regular file");
    const auto size = fs::file_size(path, error);
    if (error) return readFailure(path, ReadStatus::failed, error.message());
    if (size > sizeLimit) return readFailure(path, ReadStatus::tooLarge, tooLargeText(sizeLimit));
    std::ifstream in(path, std::ios::binary);
    if (!in) return readFailure(path, ReadStatus::failed, "cannot be opened");
    ReadResult result;
    result.bytes.resize(size_t(size));
    in.read(reinterpret_cast<char*>(result.bytes.data()), std::streamsize(size));
    if (in.gcount() != std::streamsize(size)) return readFailure(path, ReadStatus::failed, "cannot be read");
    result.status = ReadStatus::ok;
    currentStamp(path, result.stamp);
    return result;
}

bool currentStamp(const std::string& path, FileStamp& stamp) {
    namespace fs = std::filesystem;
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (error) return false;
    const auto modified = fs::last_write_time(path, error);
    if (error) return false;
    stamp = FileStamp{0, 0, uint64_t(size), int64_t(modified.time_since_epoch().count()), 0};
    return true;
}

std::string realPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path real = std::filesystem::canonical(path, error);
    return error ? std::string() : real.string();
}

bool nameTaken(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

std::string replaceRefusal(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) return "no such file";
    if (!fs::is_regular_file(status)) return "is not a regular file";
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) return "is read-only";
    return {};
}

WriteResult writeFile(const std::string& path, std::span<const uint8_t> data) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::exists(path, error)) {
        if (const std::string refusal = replaceRefusal(path); !refusal.empty())
            return writeFailure(path, refusal);
    }
    std::string temporary;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < temporaryNameTries && !file; ++attempt) {
        temporary = path + "." + suffixSource() + ".tmp";
        file = std::fopen(temporary.c_str(), "wbx");  // "x": created exclusively
    }
    if (!file) return writeFailure(path, "no temporary file can be created beside it");
    bool written = std::fwrite(data.data(), 1, data.size(), file) == data.size() && std::fflush(file) == 0;
    written = std::fclose(file) == 0 && written;
    if (written) fs::rename(temporary, path, error);
    if (!written || error) {
        fs::remove(temporary, error);
        return writeFailure(path, "cannot be written");
    }
    return WriteResult{WriteStatus::ok, {}};
}

std::FILE* createFile(const std::string& path, std::string& error) {
    if (nameTaken(path)) {
        if (const std::string refusal = replaceRefusal(path); !refusal.empty()) {
            error = describe(path, refusal);
            return nullptr;
        }
    }
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) error = describe(path, "cannot be created");
    return file;
}

HeldFile::~HeldFile() = default;

ReadResult HeldFile::read(size_t sizeLimit) const { return readFile(path_, sizeLimit); }

HeldFile holdFile(const std::string& path) {
    HeldFile held;
    held.path_ = path;
    if (currentStamp(path, held.stamp_))
        held.fd_ = 0;
    else
        held.error_ = describe(path, "no such file");
    return held;
}

WriteResult replaceHeldFile(HeldFile& held, std::span<const uint8_t> data) {
    WriteResult result = writeFile(held.path_, data);
    if (result) currentStamp(held.path_, held.stamp_);
    return result;
}

size_t removeStaleTemporaries(const std::string&) { return 0; }

#endif

}  // namespace files

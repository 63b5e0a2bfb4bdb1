#include "fileio/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#else
#include <filesystem>
#include <fstream>
#endif

namespace files {

namespace {

std::string describe(const std::string& path, const std::string& what) { return path + ": " + what; }

ReadResult readFailure(const std::string& path, ReadStatus status, const std::string& what) {
    ReadResult result;
    result.status = status;
    result.error = describe(path, what);
    return result;
}

WriteResult writeFailure(const std::string& path, const std::string& what) {
    return WriteResult{false, describe(path, what)};
}

std::string tooLargeText(size_t sizeLimit) { return "larger than " + std::to_string(sizeLimit) + " bytes"; }

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

constexpr int temporaryNameTries = 100;

}  // namespace

void setTemporarySuffixSource(std::string (*suffix)()) { suffixSource = suffix ? suffix : randomSuffix; }

WriteResult writeFile(const std::string& path, std::string_view text) {
    return writeFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

#ifndef _WIN32

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, reporting the error a delayed write may only show here.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

std::string systemError(int error) { return std::strerror(error); }

std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "is a folder, not a file";
    if (S_ISFIFO(mode)) return "is a FIFO, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a regular file";
    if (S_ISLNK(mode)) return "is a symbolic link";
    return "is not a regular file";
}

bool writeAll(int fd, std::span<const uint8_t> data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data = data.subspan(size_t(n));
    }
    return true;
}

// Where the new file goes: the path itself, or what a link of ours leads to.
// Fills `existing` when a file is there; an empty result with `error` set refuses.
std::string writeTarget(const std::string& path, struct stat& existing, bool& exists, std::string& error) {
    exists = false;
    if (::lstat(path.c_str(), &existing) != 0) {
        if (errno == ENOENT) return path;
        error = systemError(errno);
        return {};
    }
    std::string target = path;
    if (S_ISLNK(existing.st_mode)) {
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
    if (!S_ISREG(existing.st_mode)) {
        error = kindOf(existing.st_mode);
        return {};
    }
    // The mode bits and owner, not access(): root may write anywhere, but a file
    // marked read-only or owned by another user is not ours to replace.
    if (existing.st_uid != ::geteuid()) {
        error = "belongs to another user";
        return {};
    }
    if (!(existing.st_mode & S_IWUSR)) {
        error = "is read-only";
        return {};
    }
    return target;
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
    if (!S_ISREG(info.st_mode)) return readFailure(path, ReadStatus::notRegular, kindOf(info.st_mode));

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
    if (::fstat(file.get(), &info) != 0) return readFailure(path, ReadStatus::failed, systemError(errno));
    if (!S_ISREG(info.st_mode)) return readFailure(path, ReadStatus::notRegular, kindOf(info.st_mode));
    if (uint64_t(info.st_size) > sizeLimit)
        return readFailure(path, ReadStatus::tooLarge, tooLargeText(sizeLimit));

    ReadResult result;
    result.bytes.resize(size_t(info.st_size));
    size_t done = 0;
    for (;;) {
        // One byte past the limit tells a file that grew while being read.
        if (done == result.bytes.size()) {
            if (done > sizeLimit) return readFailure(path, ReadStatus::tooLarge, tooLargeText(sizeLimit));
            const size_t grown = done + 65536;
            result.bytes.resize(sizeLimit < grown ? sizeLimit + 1 : grown);
        }
        const ssize_t n = ::read(file.get(), result.bytes.data() + done, result.bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return readFailure(path, ReadStatus::failed, systemError(errno));
        if (n == 0) break;
        done += size_t(n);
    }
    if (done > sizeLimit) return readFailure(path, ReadStatus::tooLarge, tooLargeText(sizeLimit));
    result.bytes.resize(done);
    result.status = ReadStatus::ok;
    return result;
}

std::string replaceRefusal(const std::string& path) {
    struct stat existing;
    bool exists = false;
    std::string error;
    if (writeTarget(path, existing, exists, error).empty()) return error;
    return exists ? "" : "no such file";
}

WriteResult writeFile(const std::string& path, std::span<const uint8_t> data) {
    struct stat existing;
    bool exists = false;
    std::string error;
    const std::string target = writeTarget(path, existing, exists, error);
    if (target.empty()) return writeFailure(path, error);

    const std::string folder = folderOf(target);
    const std::string name = target.substr(target.rfind('/') + 1);  // the whole of a bare name
    if (name.empty()) return writeFailure(path, "names a folder, not a file");

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < temporaryNameTries && fd < 0; ++attempt) {
        temporary = (folder == "/" ? "" : folder) + "/." + name + "." + suffixSource();
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) return writeFailure(path, systemError(errno));
    }
    if (fd < 0) return writeFailure(path, "no free temporary name beside it");
    Descriptor file(fd);

    const mode_t mode = exists ? (existing.st_mode & 0777) : 0644;
    bool written = writeAll(file.get(), data) && ::fchmod(file.get(), mode) == 0 && ::fsync(file.get()) == 0;
    const int writeError = errno;
    written = file.close() && written;
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int failure = written ? errno : writeError;
        ::unlink(temporary.c_str());
        return writeFailure(path, systemError(failure));
    }
    // The rename itself reaches the disk with the folder; losing that only loses
    // the change, never the old file, so a failure here is not reported.
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0) ::fsync(directory.get());
    return WriteResult{true, {}};
}

#else  // Without POSIX calls: the same outcomes as far as the standard library can tell.

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
    return result;
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
    return WriteResult{true, {}};
}

#endif

}  // namespace files

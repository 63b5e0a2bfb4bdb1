// Whole-file reads and writes over POSIX calls: non-blocking opens checked with fstat,
// and writes through an exclusive temporary file renamed over the target.
#include "common/host_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

constexpr int temporaryNameTries = 16;

std::string (*suffixSource)() = nullptr;

std::string failure(const std::string& path, const char* what) { return path + ": " + what; }
std::string failure(const std::string& path, int number) { return failure(path, std::strerror(number)); }

std::string randomSuffix() {
    static std::mt19937_64 generator{std::random_device{}()};
    static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix(8, 'x');
    for (char& c : suffix) c = digits[generator() % (sizeof digits - 1)];
    return suffix;
}

bool writeAll(int fd, std::span<const uint8_t> data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Where the data goes: the path itself, or the file a link of the user's own leads to.
// `mode` becomes the permission bits of the new file. Empty on refusal, with `error` set.
std::string resolveTarget(const std::string& path, mode_t& mode, std::string& error) {
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0) {
        if (errno == ENOENT) return path;  // a new file
        error = failure(path, errno);
        return {};
    }
    std::string target = path;
    struct stat file = link;
    if (S_ISLNK(link.st_mode)) {
        char resolved[PATH_MAX];
        if (link.st_uid != geteuid()) {
            error = failure(path, "a link that belongs to another user");
            return {};
        }
        if (!realpath(path.c_str(), resolved) || stat(resolved, &file) != 0) {
            error = failure(path, "a link that leads nowhere");
            return {};
        }
        target = resolved;
    }
    if (!S_ISREG(file.st_mode)) {
        error = failure(path, "not a regular file");
        return {};
    }
    if (file.st_uid != geteuid() || !(file.st_mode & S_IWUSR)) {
        error = failure(path, "the file is not writable");
        return {};
    }
    mode = file.st_mode & 07777;
    return target;
}

// Creates the temporary file exclusively beside the target; -1 when no name could be had.
int createTemporary(const std::string& target, mode_t mode, std::string& temporary) {
    const size_t slash = target.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int i = 0; i < temporaryNameTries; ++i) {
        temporary = folder + "." + name + "." + (suffixSource ? suffixSource() : randomSuffix()) + ".tmp";
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

ReadStatus readWholeFile(const std::string& path, size_t sizeLimit, std::vector<uint8_t>& bytes,
                         std::string& error) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        // No file can be at a path that is too long or runs through a file.
        const bool missing = errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG;
        error = failure(path, missing ? "no such file" : std::strerror(errno));
        return missing ? ReadStatus::notFound : ReadStatus::failed;
    }
    struct stat info {};
    ReadStatus status = ReadStatus::ok;
    if (fstat(fd, &info) != 0) {
        error = failure(path, errno);
        status = ReadStatus::failed;
    } else if (!S_ISREG(info.st_mode)) {
        error = failure(path, S_ISDIR(info.st_mode) ? "a folder, not a file" : "not a regular file");
        status = ReadStatus::notRegular;
    } else if (static_cast<uint64_t>(info.st_size) > sizeLimit) {
        error = failure(path, "file too large");
        status = ReadStatus::tooLarge;
    } else {
        // The size may change while it is read: one byte more than the limit tells.
        bytes.resize(static_cast<size_t>(info.st_size) + 1);
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                error = failure(path, errno);
                status = ReadStatus::failed;
                break;
            }
            if (n == 0) break;
            done += static_cast<size_t>(n);
        }
        bytes.resize(done);
        if (status == ReadStatus::ok && done > sizeLimit) {
            error = failure(path, "file too large");
            status = ReadStatus::tooLarge;
        }
    }
    ::close(fd);
    if (status != ReadStatus::ok) bytes.clear();
    return status;
}

bool writeWholeFile(const std::string& path, std::span<const uint8_t> data, std::string& error) {
    mode_t mode = 0644;
    const std::string target = resolveTarget(path, mode, error);
    if (target.empty()) return false;
    std::string temporary;
    const int fd = createTemporary(target, mode, temporary);
    if (fd < 0) {
        error = failure(path, errno);
        return false;
    }
    bool written = writeAll(fd, data) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    const int writeError = errno;
    written = ::close(fd) == 0 && written;
    if (written && std::rename(temporary.c_str(), target.c_str()) == 0) return true;
    error = failure(path, written ? errno : writeError);
    ::unlink(temporary.c_str());
    return false;
}

void setTemporarySuffixSource(std::string (*suffix)()) { suffixSource = suffix; }

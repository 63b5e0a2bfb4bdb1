// Whole files of the host for the drive: read without ever blocking on a FIFO or device,
// and written all or nothing through a temporary file beside the target.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "drive/drive_media.h"

namespace {

bool writeAll(int fd, const std::vector<uint8_t>& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t wrote = write(fd, data.data() + done, data.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += size_t(wrote);
    }
    return true;
}

// A file that exists is replaced only when it is a regular file of this user with its
// write bit set, root included; its permission bits carry over to the new file.
bool mayReplace(const std::string& path, mode_t& mode) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) return errno == ENOENT;
    mode = info.st_mode & 07777;
    return S_ISREG(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & S_IWUSR);
}

}  // namespace

HostRead readHostFile(const std::string& path, size_t limit, std::vector<uint8_t>& out) {
    out.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? HostRead::missing : HostRead::failed;
    struct stat info;
    HostRead result = HostRead::ok;
    if (fstat(fd, &info) != 0)
        result = HostRead::failed;
    else if (!S_ISREG(info.st_mode))
        result = HostRead::notRegular;
    else if (uint64_t(info.st_size) > limit)
        result = HostRead::tooLarge;
    if (result == HostRead::ok) {
        out.resize(size_t(info.st_size));
        size_t done = 0;
        while (done < out.size()) {
            const ssize_t got = read(fd, out.data() + done, out.size() - done);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += size_t(got);
        }
        out.resize(done);  // a file that shrank while being read gives what it had
    }
    close(fd);
    if (result != HostRead::ok) out.clear();
    return result;
}

bool writeHostFile(const std::string& path, const std::vector<uint8_t>& data) {
    mode_t mode = 0644;
    if (!mayReplace(path, mode)) return false;
    std::string temporary = path + ".XXXXXX";
    // mkostemp creates the name exclusively, so a link planted there is never followed.
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    const bool written = writeAll(fd, data) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (written && closed && rename(temporary.c_str(), path.c_str()) == 0) return true;
    unlink(temporary.c_str());
    return false;
}

bool folderWritable(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    if (geteuid() == 0) return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

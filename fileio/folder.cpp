// A folder held by its descriptor, with names resolved beneath it one part at a time.
#include "fileio/folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <deque>
#include <utility>

#include "fileio/posix_files.h"

namespace files {

namespace {

using posix::describe;
using posix::Descriptor;
using posix::systemError;

constexpr int mostLinks = 40;  // as the kernel allows on one path

std::deque<std::string> partsOf(const std::string& path) {
    std::deque<std::string> parts;
    size_t at = 0;
    for (size_t slash; (slash = path.find('/', at)) != std::string::npos; at = slash + 1)
        parts.push_back(path.substr(at, slash - at));
    parts.push_back(path.substr(at));
    return parts;
}

// Where a name leads, beneath the folder: the folder that holds the last part (the held
// one itself, or one below it, open here) and the last part's name in it. Each part is
// looked at without following it; a link's text is taken in part by part, and a ".."
// goes back only through folders entered on the way, so nothing leaves the folder: an
// absolute link, or one with more ".." than depth, is refused (EXDEV).
struct Beneath {
    std::vector<Descriptor> entered;
    std::string name;
    int error = 0;
    int at(int root) const { return entered.empty() ? root : entered.back().get(); }
};

Beneath resolve(int root, const std::string& path, bool followLast) {
    Beneath where;
    std::deque<std::string> parts = partsOf(path);
    int links = 0;
    auto fail = [&](int error) {
        where.error = error;
        return std::move(where);
    };
    if (path.empty() || path[0] == '/') return fail(path.empty() ? ENOENT : EXDEV);
    while (!parts.empty()) {
        const std::string part = std::move(parts.front());
        parts.pop_front();
        const bool last = parts.empty();
        if (part.empty() || part == "." || part == "..") {
            if (part == "..") {
                if (where.entered.empty()) return fail(EXDEV);
                where.entered.pop_back();
            }
            if (last) return fail(EISDIR);
            continue;
        }
        const int at = where.at(root);
        struct stat info;
        if (::fstatat(at, part.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (!last || errno != ENOENT) return fail(errno);
            where.name = part;  // a name a new file may take
            return where;
        }
        if (S_ISLNK(info.st_mode) && (!last || followLast)) {
            if (++links > mostLinks) return fail(ELOOP);
            std::string target(PATH_MAX, '\0');
            const ssize_t length = ::readlinkat(at, part.c_str(), target.data(), target.size());
            if (length <= 0 || size_t(length) >= target.size())
                return fail(length < 0 ? errno : ENAMETOOLONG);
            target.resize(size_t(length));
            if (target[0] == '/') return fail(EXDEV);
            std::deque<std::string> inner = partsOf(target);
            parts.insert(parts.begin(), inner.begin(), inner.end());
            continue;
        }
        if (last) {
            where.name = part;
            return where;
        }
        if (!S_ISDIR(info.st_mode)) return fail(ENOTDIR);
        Descriptor folder(::openat(at, part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (folder.get() < 0) return fail(errno);
        where.entered.push_back(std::move(folder));
    }
    return fail(ENOENT);
}

ReadStatus statusOf(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
            return ReadStatus::notFound;
        case EXDEV:
        case ELOOP:
        case EISDIR:
            return ReadStatus::notRegular;
        default:
            return ReadStatus::failed;
    }
}

std::string whatOf(int error) {
    if (error == EXDEV) return "leads outside the folder";
    if (error == ELOOP) return "is a symbolic link";
    if (error == ENOENT) return "no such file";
    return systemError(error);
}

ReadResult readFailure(const std::string& path, int error) {
    ReadResult result;
    result.status = statusOf(error);
    result.error = describe(path, whatOf(error));
    return result;
}

bool readableBy(int at, const std::string& name, const struct stat& info) {
    // Root reads anything, but a file nobody may read stays out of the drive.
    if (::geteuid() == 0) return (info.st_mode & (S_IRUSR | S_IRGRP | S_IROTH)) != 0;
    return ::faccessat(at, name.c_str(), R_OK, AT_EACCESS) == 0;
}

// The regular file a name leads to, looked at before anything opens it.
Beneath findFile(int root, const std::string& name, struct stat& info) {
    Beneath where = resolve(root, name, true);
    if (where.error) return where;
    if (::fstatat(where.at(root), where.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        where.error = errno;
    else if (!S_ISREG(info.st_mode))
        where.error = S_ISLNK(info.st_mode) ? ELOOP : EISDIR;
    else if (!readableBy(where.at(root), where.name, info))
        where.error = EACCES;
    return where;
}

}  // namespace

Folder::Folder(Folder&& other) noexcept : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

Folder& Folder::operator=(Folder&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

Folder::~Folder() {
    if (fd_ >= 0) ::close(fd_);
}

Folder Folder::open(const std::string& path) {
    Folder folder;
    if (path.empty()) return folder;
    folder.fd_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder.fd_ >= 0 && ::faccessat(folder.fd_, ".", X_OK, AT_EACCESS) != 0) {
        ::close(folder.fd_);
        folder.fd_ = -1;
    }
    if (folder.fd_ >= 0) folder.path_ = path;
    return folder;
}

FileStamp Folder::stamp() const {
    struct stat info {};
    return fd_ >= 0 && ::fstat(fd_, &info) == 0 ? posix::stampOf(info) : FileStamp{};
}

std::vector<std::string> Folder::names() const {
    std::vector<std::string> found;
    DIR* entries = fd_ >= 0 ? ::fdopendir(::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) : nullptr;
    if (!entries) return found;
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") found.push_back(name);
    }
    ::closedir(entries);
    return found;
}

ReadStatus Folder::look(const std::string& name, uint64_t& size) const {
    struct stat info {};
    const Beneath where = findFile(fd_, name, info);
    if (where.error) return statusOf(where.error);
    size = uint64_t(info.st_size);
    return ReadStatus::ok;
}

ReadResult Folder::read(const std::string& name, size_t sizeLimit) const {
    const std::string shown = path_ + "/" + name;
    struct stat info {};
    const Beneath where = findFile(fd_, name, info);
    if (where.error) return readFailure(shown, where.error);
    // Not followed: a link swapped in since the look is refused here.
    Descriptor file(::openat(where.at(fd_), where.name.c_str(),
                             O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) return readFailure(shown, errno);
    return posix::readOpened(file.get(), shown, sizeLimit);
}

WriteResult Folder::write(const std::string& name, std::span<const uint8_t> data, Placing placing) const {
    const std::string shown = path_ + "/" + name;
    auto failure = [&](WriteStatus status, const std::string& what) {
        return WriteResult{status, describe(shown, what)};
    };
    if (name.empty() || name.find('/') != std::string::npos)
        return failure(WriteStatus::refused, "is no name");
    struct stat entry;
    const bool exists = ::fstatat(fd_, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0;
    if (placing == newFile) {
        if (exists) return failure(WriteStatus::exists, "exists");
        return posix::placeFile(fd_, name, data, 0644, posix::Placing::createNew, shown);
    }
    // As writeFile: a link is written through only when it is ours.
    if (exists && S_ISLNK(entry.st_mode) && entry.st_uid != ::geteuid())
        return failure(WriteStatus::refused, "is a symbolic link that belongs to another user");
    const Beneath where = resolve(fd_, name, true);
    if (where.error) return failure(WriteStatus::refused, whatOf(where.error));
    struct stat target;
    if (::fstatat(where.at(fd_), where.name.c_str(), &target, AT_SYMLINK_NOFOLLOW) != 0) {
        if (exists) return failure(WriteStatus::refused, "is a symbolic link that leads nowhere");
        return posix::placeFile(fd_, name, data, 0644, posix::Placing::createNew, shown);
    }
    if (const std::string refusal = posix::refusalFor(target); !refusal.empty())
        return failure(WriteStatus::refused, refusal);
    return posix::placeFile(where.at(fd_), where.name, data, target.st_mode & 0777, posix::Placing::replace,
                            shown);
}

WriteResult Folder::remove(const std::string& name) const {
    const std::string shown = path_ + "/" + name;
    struct stat entry;
    if (name.find('/') != std::string::npos || ::fstatat(fd_, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
        return WriteResult{WriteStatus::failed, describe(shown, "no such file")};
    const std::string refusal = !S_ISLNK(entry.st_mode) ? posix::refusalFor(entry)
                                : entry.st_uid != ::geteuid()
                                    ? "is a symbolic link that belongs to another user"
                                    : "";
    if (!refusal.empty()) return WriteResult{WriteStatus::refused, describe(shown, refusal)};
    if (::unlinkat(fd_, name.c_str(), 0) != 0)
        return WriteResult{WriteStatus::failed, describe(shown, systemError(errno))};
    return WriteResult{WriteStatus::ok, {}};
}

WriteResult Folder::rename(const std::string& from, const std::string& to) const {
    const std::string shown = path_ + "/" + from;
    if (to.empty() || to.find('/') != std::string::npos)
        return WriteResult{WriteStatus::refused, describe(path_ + "/" + to, "is no name")};
    struct stat entry;
    if (from.find('/') != std::string::npos || ::fstatat(fd_, from.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
        return WriteResult{WriteStatus::failed, describe(shown, "no such file")};
    if (!S_ISLNK(entry.st_mode))
        if (const std::string refusal = posix::refusalFor(entry); !refusal.empty())
            return WriteResult{WriteStatus::refused, describe(shown, refusal)};
    if (::renameat2(fd_, from.c_str(), fd_, to.c_str(), RENAME_NOREPLACE) != 0) {
        int error = errno;
        // A file system without the flag: a second name, then the first one goes.
        if (error == EINVAL || error == ENOSYS) {
            error = ::linkat(fd_, from.c_str(), fd_, to.c_str(), 0) == 0 ? 0 : errno;
            if (!error) ::unlinkat(fd_, from.c_str(), 0);
        }
        if (error == EEXIST) return WriteResult{WriteStatus::exists, describe(path_ + "/" + to, "exists")};
        if (error) return WriteResult{WriteStatus::failed, describe(shown, systemError(error))};
    }
    ::fsync(fd_);
    return WriteResult{WriteStatus::ok, {}};
}

bool Folder::taken(const std::string& name) const {
    struct stat info {};
    return fd_ >= 0 && ::fstatat(fd_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

bool Folder::writable() const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0) return false;
    if (::geteuid() == 0) return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return ::faccessat(fd_, ".", W_OK | X_OK, AT_EACCESS) == 0;
}

bool Folder::freeSpace(uint64_t& blocks, uint64_t& blockSize) const {
    struct statvfs info;
    if (fd_ < 0 || ::fstatvfs(fd_, &info) != 0) return false;
    blocks = info.f_bavail;
    blockSize = info.f_frsize;
    return true;
}

size_t Folder::removeStaleTemporaries() const {
    return fd_ >= 0 ? posix::removeStaleTemporaries(fd_, std::string()) : 0;
}

}  // namespace files

#pragma once
// What the calls by path (fileio/files.cpp) and the folder held by its descriptor
// (fileio/folder.cpp) share on a POSIX system: descriptors, the rule for replacing a
// file, and the temporary files every write goes through.
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "fileio/files.h"

#if !defined(RENAME_NOREPLACE)
// A C library without the call (the browser's, whose files one thread owns): the rename
// happens only when nothing has the new name, checked just before.
#define RENAME_NOREPLACE 1
inline int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned) {
    struct stat existing;
    if (::fstatat(toFolder, to, &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::renameat(fromFolder, from, toFolder, to);
}
#endif

namespace files::posix {

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor();
    int get() const { return fd_; }
    int release();
    // Closes now, reporting the error a delayed write may only show here.
    bool close();

private:
    int fd_;
};

std::string systemError(int error);
// "is a FIFO, not a regular file" and the like, for anything but a regular file.
std::string kindOf(mode_t mode);
FileStamp stampOf(const struct stat& info);
std::string describe(const std::string& path, const std::string& what);

// Reads the whole regular file open at fd from its start; `path` names it in errors.
ReadResult readOpened(int fd, const std::string& path, size_t sizeLimit);

// Why this user may not replace or remove the existing file (found without following a
// link); empty when they may. Root too is held to the mode bits.
std::string refusalFor(const struct stat& existing);

// The random part of the next temporary name, and whether unnamed temporaries may be
// used (fileio/files.cpp, where tests change them).
std::string temporarySuffix();
bool unnamedTemporariesAllowed();

enum class Placing { replace, createNew };

// Writes data to a temporary file in the folder open at `folder` and puts it in place as
// `name` in that folder: over what is there (replace), or only where nothing is
// (createNew, else WriteStatus::exists). A new file gets `mode`. `shownPath` names the
// target in errors. With `keep`, the new file is locked (flock) before it is in place and
// handed back open, still locked.
WriteResult placeFile(int folder, const std::string& name, std::span<const uint8_t> data, mode_t mode,
                      Placing placing, const std::string& shownPath, Descriptor* keep = nullptr);

// The temporaries of ours a killed write left in the folder: those of `name`, or all of
// them when it is empty. Skipped while a write of ours is under way there.
size_t removeStaleTemporaries(int folder, const std::string& name);

}  // namespace files::posix

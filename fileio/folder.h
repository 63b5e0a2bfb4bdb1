#pragma once
// A folder held open by its descriptor, as drive 8 serves one: every name is reached from
// that descriptor, never through the folder's path again, and a symbolic link is followed
// only while it stays inside the folder. Nothing outside can be read, replaced, removed
// or moved through it, whatever is swapped in while it works: a file turned into a link
// between a look and an open is refused, not followed. POSIX only.
//
//   files::Folder disk = files::Folder::open("/home/me/c16");
//   files::ReadResult game = disk.read("game.prg", 0xFFFF);
//   disk.write("copy.prg", game.bytes, files::Folder::newFile);   // exists when taken
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "fileio/files.h"

namespace files {

class Folder {
public:
    enum Placing { newFile, replaceFile };

    Folder() = default;
    Folder(Folder&& other) noexcept;
    Folder& operator=(Folder&& other) noexcept;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    ~Folder();

    // The folder at path (a link to it is followed); false when it is none this user may search.
    static Folder open(const std::string& path);
    explicit operator bool() const { return fd_ >= 0; }
    const std::string& path() const { return path_; }

    // Of the folder itself: another whenever a name in it is added, removed or renamed.
    FileStamp stamp() const;
    // Every name in it but "." and "..".
    std::vector<std::string> names() const;

    // What the name leads to: ok for a regular file this user may read, with its size.
    ReadStatus look(const std::string& name, uint64_t& size) const;
    ReadResult read(const std::string& name, size_t sizeLimit) const;
    // Writes as writeFile does. newFile puts the file only where no name is (else
    // WriteStatus::exists); replaceFile replaces the file the name leads to (a link inside
    // the folder stays and its file is replaced), under writeFile's rules.
    WriteResult write(const std::string& name, std::span<const uint8_t> data, Placing placing) const;
    // Takes the name away, or gives the file another one (never one that is taken). A file
    // this user may not replace (read-only, another user's) is refused, as is a link that
    // is not theirs.
    WriteResult remove(const std::string& name) const;
    WriteResult rename(const std::string& from, const std::string& to) const;
    bool taken(const std::string& name) const;

    // May this user create and replace files in it (root only where a write bit is set)?
    bool writable() const;
    bool freeSpace(uint64_t& blocks, uint64_t& blockSize) const;
    // The temporaries a killed write left here (see writeFile); how many went.
    size_t removeStaleTemporaries() const;

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace files

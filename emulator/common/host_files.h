#pragma once
// Whole-file reads and writes for every file the emulator takes from or gives to the
// host: ROM images, programs, snapshots, disk images, scripts and screenshots. A FIFO or
// device never blocks a read and a folder is never read as empty; a write never follows a
// link planted at its temporary name and never replaces a file the user may not write.
// Both report by return value, with "<path>: <what went wrong>" in `error`.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

enum class ReadStatus : uint8_t {
    ok,
    notFound,    // nothing at the path
    notRegular,  // a folder, FIFO, device or socket
    tooLarge,    // more bytes than the caller's limit
    failed,      // any other error (permissions, I/O)
};

// Reads the whole regular file at `path` of at most `sizeLimit` bytes into `bytes`. The
// path is opened non-blocking and checked before anything is read.
ReadStatus readWholeFile(const std::string& path, size_t sizeLimit, std::vector<uint8_t>& bytes,
                         std::string& error);

// Replaces the file at `path` with `data`, all or nothing: the data goes to a temporary
// file created exclusively beside the target (O_EXCL|O_NOFOLLOW), is flushed and renamed
// over it. A target that exists is replaced only when it is a regular file of the effective
// user with its owner-write bit set (also for root); a symbolic link at the target is
// written through only when the link belongs to the effective user and leads to such a
// file. On failure the target is unchanged and no temporary file is left.
bool writeWholeFile(const std::string& path, std::span<const uint8_t> data, std::string& error);

// Tests only: the temporary names' random part comes from `suffix` (null: random again).
void setTemporarySuffixSource(std::string (*suffix)());

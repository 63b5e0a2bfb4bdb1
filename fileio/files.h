#pragma once
// Reading and writing whole files without being led astray by what sits at a
// path: a FIFO or device never blocks a read, a folder is never read as empty, a
// symbolic link planted at a temporary name is never followed, and a file the
// user cannot write is never replaced behind their back. Every call reports by
// return value; nothing throws.
//
//   files::ReadResult rom = files::readFile(path, 0x4000);
//   if (!rom) logLine("%s\n", rom.error.c_str());       // e.g. "x.bin: not a regular file"
//   else use(rom.bytes);
//
//   files::WriteResult saved = files::writeFile(path, text);
//   if (!saved) show(saved.error);                      // the old file is untouched

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace files {

enum class ReadStatus {
    ok,
    notFound,    // nothing at the path (or a folder on the way is missing)
    notRegular,  // a folder, FIFO, device or socket; or a symbolic link when links are refused
    tooLarge,    // more bytes than the caller's limit
    failed,      // any other error (permissions, I/O)
};

// One version of a file: a change by anyone, written in place or by replacing the file,
// gives another stamp.
struct FileStamp {
    uint64_t device = 0, inode = 0, size = 0;
    int64_t modified = 0, changed = 0;  // nanoseconds since the epoch
    bool operator==(const FileStamp&) const = default;
};

struct ReadResult {
    ReadStatus status = ReadStatus::failed;
    std::vector<uint8_t> bytes;  // the whole file when status is ok
    std::string error;           // empty when ok, else "<path>: <what went wrong>"
    FileStamp stamp;             // of the file that was read
    explicit operator bool() const { return status == ReadStatus::ok; }
    std::string_view text() const { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }
};

enum class Links { follow, refuse };

// Reads a whole regular file of at most sizeLimit bytes. The path is opened
// non-blocking and checked with fstat before a byte is read, so a FIFO or device
// is refused at once. Links::refuse also refuses a symbolic link at the path
// itself (links in the folders above it are still followed).
ReadResult readFile(const std::string& path, size_t sizeLimit, Links links = Links::follow);

// The stamp of the file at the path now (links followed); false when nothing is there.
bool currentStamp(const std::string& path, FileStamp& stamp);

enum class WriteStatus {
    ok,
    exists,   // a new file was asked for and the name is taken
    refused,  // the file may not be replaced: read-only, another user's, not a regular file
    failed,   // any other error (no room, no write access to the folder, I/O)
};

struct WriteResult {
    WriteStatus status = WriteStatus::failed;
    std::string error;  // empty when ok, else "<path>: <what went wrong>"
    explicit operator bool() const { return status == WriteStatus::ok; }
};

// Replaces the file at path with data, all or nothing: the data goes to a new
// temporary file beside the target, is flushed to disk and then put in place of the
// target with one rename. A reader sees the old file or the new one, never half.
//
// - The temporary file has no name where the system allows it (O_TMPFILE) and gets
//   one only for the rename, so a program killed while writing leaves nothing behind.
//   Otherwise it is created exclusively (O_CREAT|O_EXCL|O_NOFOLLOW, so a link planted at
//   that name is never followed) as ".<name>.vtmp-XXXXXX", shortened to stay within the
//   system's limit on a name; removeStaleTemporaries takes away what a killed write left.
// - A new file gets mode 0644; a replaced file keeps its permission bits.
// - A target that exists is replaced only when it is a regular file owned by the
//   effective user with its owner-write bit set. A file of mode 0444, or one that
//   belongs to someone else, is left alone and the write fails, also for root
//   (which the kernel would let through).
// - A symbolic link at the target is written through: the file it resolves to is
//   replaced (the link stays), under the same rules, but only when the link
//   itself belongs to the effective user; a link someone else planted, or one
//   that leads nowhere, fails the write.
// - On any failure the target is unchanged and no temporary file is left behind.
WriteResult writeFile(const std::string& path, std::span<const uint8_t> data);
WriteResult writeFile(const std::string& path, std::string_view text);

// A new, empty file at path for writing as it goes (a log), put in place as writeFile
// puts its files: whatever was at the path is replaced, under the same rules, except that
// a symbolic link there is refused rather than followed. Null with `error` set when that
// cannot be done; the file is open for writing only, and never blocks.
std::FILE* createFile(const std::string& path, std::string& error);

// Why writeFile would not replace the file at path under the rules above, as its error
// says it without the path; empty when the file is there and may be replaced.
std::string replaceRefusal(const std::string& path);

// The file at a path held against every other writer that holds it the same way (an
// advisory lock on the file itself): while the object lives, nobody else replaces it
// through replaceHeldFile, so a change read, made and written back loses no one's work.
class HeldFile {
public:
    HeldFile() = default;
    HeldFile(HeldFile&& other) noexcept;
    HeldFile& operator=(HeldFile&& other) noexcept;
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile();

    explicit operator bool() const { return fd_ >= 0; }
    const FileStamp& stamp() const { return stamp_; }
    const std::string& error() const { return error_; }
    // The held file's bytes, at most sizeLimit of them.
    ReadResult read(size_t sizeLimit) const;

private:
    friend HeldFile holdFile(const std::string& path);
    friend WriteResult replaceHeldFile(HeldFile& held, std::span<const uint8_t> data);
    int fd_ = -1;
    std::string path_, error_;
    FileStamp stamp_;
};

// Waits until no other writer holds the regular file at path (links followed), then holds
// it; on a file system without locks it is taken as it is.
HeldFile holdFile(const std::string& path);
// Replaces the held file as writeFile does; the new file is held from the moment it is in
// place, and its stamp becomes the held one.
WriteResult replaceHeldFile(HeldFile& held, std::span<const uint8_t> data);

// Removes the temporary files a killed write of the file at path left beside it (all of
// them when `path` names a folder), provided they are ours: regular files of this user
// with the temporaries' names. Done only while no write of ours is under way in that
// folder; returns how many were removed.
size_t removeStaleTemporaries(const std::string& path);

// The absolute path with every link, "." and ".." resolved; empty when it cannot be
// resolved (nothing there, or a folder on the way cannot be searched).
std::string realPath(const std::string& path);

// Something is at the path, whatever it is: a folder, a FIFO, a link that leads nowhere.
bool nameTaken(const std::string& path);

// The folder part of a path: "." for a bare name, "/" for a name in the root.
std::string folderOf(const std::string& path);

// Tests only: the temporary names' random part comes from `suffix` instead (an
// empty function restores the random one), so a test can plant links at them.
void setTemporarySuffixSource(std::string (*suffix)());
// Tests only: false makes every temporary file a named one, as on a system without
// unnamed files; true (the default) uses unnamed ones where the system has them.
void setUnnamedTemporaries(bool allowed);

}  // namespace files

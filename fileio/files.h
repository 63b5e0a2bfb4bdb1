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

struct ReadResult {
    ReadStatus status = ReadStatus::failed;
    std::vector<uint8_t> bytes;  // the whole file when status is ok
    std::string error;           // empty when ok, else "<path>: <what went wrong>"
    explicit operator bool() const { return status == ReadStatus::ok; }
    std::string_view text() const { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }
};

enum class Links { follow, refuse };

// Reads a whole regular file of at most sizeLimit bytes. The path is opened
// non-blocking and checked with fstat before a byte is read, so a FIFO or device
// is refused at once. Links::refuse also refuses a symbolic link at the path
// itself (links in the folders above it are still followed).
ReadResult readFile(const std::string& path, size_t sizeLimit, Links links = Links::follow);

struct WriteResult {
    bool ok = false;
    std::string error;  // empty when ok, else "<path>: <what went wrong>"
    explicit operator bool() const { return ok; }
};

// Replaces the file at path with data, all or nothing: the data goes to a new
// temporary file created exclusively beside the target (O_CREAT|O_EXCL|O_NOFOLLOW,
// so a link planted at that name is never followed), is flushed to disk and then
// renamed over the target. A reader sees the old file or the new one, never half.
//
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

// Why writeFile would not replace the file at path under the rules above, as its error
// says it without the path; empty when the file is there and may be replaced.
std::string replaceRefusal(const std::string& path);

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

}  // namespace files

// Drive 8 serving the ".prg", ".seq" and ".usr" files of a host folder. The folder is a
// boundary: it is held by its descriptor from the mount on, a request only ever selects
// one of the files the folder lists, every file is reached from the folder's descriptor
// with links followed only while they stay inside, and a name given for a new file can
// hold no path separator. The process's current directory is never changed.
#include <time.h>

#include <algorithm>
#include <cstring>

#include "common/log.h"
#include "drive/drive.h"
#include "drive/drive_media.h"
#include "fileio/files.h"

namespace {

struct Extension {
    const char* text;
    uint8_t kind;
};
// clang-format off
constexpr Extension extensions[] = {
    {".prg", kindPrg},
    {".seq", kindSeq},
    {".usr", kindUsr},
};
// clang-format on
constexpr size_t extensionLength = 4;
constexpr uint16_t mostBlocks = 0xFFFF;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

const Extension* extensionOf(const std::string& hostName) {
    if (hostName.size() <= extensionLength) return nullptr;
    const char* end = hostName.c_str() + hostName.size() - extensionLength;
    for (const Extension& extension : extensions)
        if (std::equal(end, end + extensionLength, extension.text,
                       [](char a, char b) { return lowerAscii(a) == b; }))
            return &extension;
    return nullptr;
}

const char* extensionFor(uint8_t kind) {
    for (const Extension& extension : extensions)
        if (extension.kind == kind) return extension.text;
    return extensions[0].text;
}

constexpr int64_t second = 1000000000;

bool settledBefore(const files::FileStamp& folder, int64_t readAt) {
    const bool wholeSeconds = folder.modified % second == 0;
    return folder.modified + (wholeSeconds ? 2 * second : second / 50) <= readAt;
}

int64_t clockNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return int64_t(now.tv_sec) * second + now.tv_nsec;
}

void readFolder(const files::FileStamp& stamp) {
    const int64_t readAt = clockNow();
    drive.keptListing.files.clear();
    for (const std::string& hostName : drive.folder.names()) {
        const Extension* extension = extensionOf(hostName);
        uint64_t size = 0;
        if (!extension || drive.folder.look(hostName, size) != files::ReadStatus::ok) continue;
        FileEntry file;
        file.name = hostName.substr(0, hostName.size() - extensionLength);
        file.type = uint8_t(0x80 | extension->kind);
        file.blocks = uint16_t(std::min<uint64_t>(size / 256 + 1, mostBlocks));
        file.hostName = hostName;
        drive.keptListing.files.push_back(std::move(file));
    }
    // Sorted by name, so the listing and "*" do not depend on the order the host returns.
    std::sort(drive.keptListing.files.begin(), drive.keptListing.files.end(),
              [](const FileEntry& a, const FileEntry& b) { return a.hostName < b.hostName; });
    drive.keptListing.folder = stamp;
    drive.keptListing.trusted = settledBefore(stamp, readAt);
    ++drive.folderReads;
}

void refresh() {}

void entries(std::vector<FileEntry>& out) {
    const files::FileStamp stamp = drive.folder.stamp();
    if (!drive.keptListing.trusted || !(drive.keptListing.folder == stamp)) readFolder(stamp);
    out = drive.keptListing.files;
}

DriveResult readFile(const FileEntry& file, std::vector<uint8_t>& out, uint32_t limit) {
    files::ReadResult read = drive.folder.read(file.hostName, limit);
    out = std::move(read.bytes);
    switch (read.status) {
        case files::ReadStatus::ok:
            return {};
        case files::ReadStatus::tooLarge:
            return {statusTooLarge};
        default:
            return {statusNotFound};
    }
}

// A file the user may not replace is one the drive may not scratch or rename either.
DriveResult resultOf(const files::WriteResult& written) {
    switch (written.status) {
        case files::WriteStatus::ok:
            return {};
        case files::WriteStatus::exists:
            return {statusExists};
        case files::WriteStatus::refused:
            return {statusWriteProtect};
        default:
            return {statusWriteError};
    }
}

bool writeProtected() { return !drive.folder.writable(); }

// Nothing the drive does not serve (a link out of the folder, a folder, a FIFO) is ever
// written over: a name taken by such a thing counts as an existing file.
DriveResult writeFile(const std::string& name, uint8_t kind, const std::vector<uint8_t>& data,
                      const FileEntry* replaced) {
    // The file a link inside the folder leads to is replaced; the link stays.
    if (replaced && extensionOf(replaced->hostName)->kind == kind)
        return resultOf(drive.folder.write(replaced->hostName, data, files::Folder::replaceFile));
    const DriveResult written =
        resultOf(drive.folder.write(name + extensionFor(kind), data, files::Folder::newFile));
    if (!written.failed() && replaced) drive.folder.remove(replaced->hostName);
    return written;
}

// Files the user may not replace are kept, as a locked file on a disk is, and the answer
// then says the drive may not write.
DriveResult scratchFiles(const std::vector<FileEntry>& files, uint8_t& scratched) {
    scratched = 0;
    DriveResult result;
    for (const FileEntry& file : files) {
        const DriveResult removed = resultOf(drive.folder.remove(file.hostName));
        if (!removed.failed())
            ++scratched;
        else if (removed.code == statusWriteProtect)
            result = removed;
    }
    return result;
}

DriveResult renameFile(const FileEntry& file, const std::string& newName) {
    return resultOf(drive.folder.rename(file.hostName, newName + extensionFor(file.type & 0x07)));
}

DriveResult format(const std::string&, const std::string&, bool) { return {statusBadCommand}; }
DriveResult validate() { return {}; }

void header(uint8_t diskName[16], uint8_t id[2], uint8_t dosType[2]) {
    std::copy_n("VARNOK DIRECTORY", 16, diskName);
    std::copy_n("00", 2, id);
    std::copy_n("2A", 2, dosType);
}

uint16_t blocksFree() {
    uint64_t blocks = 0, blockSize = 0;
    return drive.folder.freeSpace(blocks, blockSize) ? freeBytesShown(blocks, blockSize) : 0;
}

void logListing() { logLine("Generating directory.\n"); }

}  // namespace

// clang-format off
const MediumOps hostFolderOps = {
    true, refresh, entries, readFile, writeFile, scratchFiles, renameFile, format, validate,
    writeProtected, header, blocksFree, logListing,
};
// clang-format on

uint16_t freeBytesShown(uint64_t freeBlocks, uint64_t blockSize) {
    constexpr uint64_t cap = 32768;
    if (blockSize == 0) return 0;
    if (freeBlocks >= cap / blockSize + 1) return cap;
    return uint16_t(std::min(freeBlocks * blockSize, cap));
}

bool mountHostDirectory(const std::string& path) {
    // Held as a real path, so the drive keeps its folder when the current directory changes.
    const std::string real = files::realPath(path);
    files::Folder folder = files::Folder::open(real);
    if (real.empty() || !folder) return false;
    unmountDrive();
    drive.attached = true;
    drive.mediumPath = real;
    drive.folder = std::move(folder);
    drive.folder.removeStaleTemporaries();
    drive.medium = hostFolderMedium;
    return true;
}

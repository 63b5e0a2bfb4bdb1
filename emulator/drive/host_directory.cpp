// Drive 8 serving the ".prg", ".seq" and ".usr" files of a host folder. The folder is a
// boundary: a request only ever selects one of the files the folder lists, a file is
// served only when its real path (links resolved) lies inside the folder, and a name
// given for a new file can hold no path separator. The process's current directory is
// never changed.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
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

std::string inFolder(const std::string& hostName) { return drive.mediumPath + "/" + hostName; }

// The real path of the folder, with a slash at its end so it is a prefix of its files' paths only.
std::string realFolder() {
    const std::string path = files::realPath(drive.mediumPath);
    return path.empty() || path == "/" ? path : path + "/";
}

bool readable(const std::string& path, const struct stat& info) {
    if (geteuid() == 0) return (info.st_mode & (S_IRUSR | S_IRGRP | S_IROTH)) != 0;
    return faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) == 0;
}

// The real path of a file the drive serves: a readable regular file inside the folder,
// reached directly or through links that stay inside; empty otherwise.
std::string servedPath(const std::string& folder, const std::string& hostName, struct stat& info) {
    if (folder.empty()) return {};
    std::string path = files::realPath(inFolder(hostName));
    if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0) return {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || !readable(path, info)) return {};
    return path;
}

void entries(std::vector<FileEntry>& out) {
    const std::string folder = realFolder();
    DIR* dir = folder.empty() ? nullptr : opendir(drive.mediumPath.c_str());
    if (!dir) return;
    while (const dirent* found = readdir(dir)) {
        const std::string hostName = found->d_name;
        const Extension* extension = extensionOf(hostName);
        struct stat info {};
        if (!extension || servedPath(folder, hostName, info).empty()) continue;
        FileEntry file;
        file.name = hostName.substr(0, hostName.size() - extensionLength);
        file.type = uint8_t(0x80 | extension->kind);
        file.blocks = uint16_t(std::min<off_t>(info.st_size / 256 + 1, mostBlocks));
        file.hostName = hostName;
        out.push_back(std::move(file));
    }
    closedir(dir);
    // Sorted by name, so the listing and "*" do not depend on the order the host returns.
    std::sort(out.begin(), out.end(),
              [](const FileEntry& a, const FileEntry& b) { return a.hostName < b.hostName; });
}

DriveResult readFile(const FileEntry& file, std::vector<uint8_t>& out, uint32_t limit) {
    struct stat info;
    const std::string path = servedPath(realFolder(), file.hostName, info);
    if (path.empty()) return {statusNotFound};
    files::ReadResult read = files::readFile(path, limit);
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

bool writeProtected() { return !folderWritable(drive.mediumPath); }

// Nothing the drive does not serve (a link out of the folder, a folder, a FIFO) is ever
// written over: a name taken by such a thing counts as an existing file.
bool nameTaken(const std::string& hostName) { return files::nameTaken(inFolder(hostName)); }

DriveResult writeFile(const std::string& name, uint8_t kind, const std::vector<uint8_t>& data,
                      const FileEntry* replaced) {
    const bool sameFile = replaced && extensionOf(replaced->hostName)->kind == kind;
    if (sameFile) {
        // The file a link inside the folder leads to is replaced; the link stays.
        struct stat info {};
        const std::string path = servedPath(realFolder(), replaced->hostName, info);
        if (path.empty()) return {statusNotFound};
        return files::writeFile(path, data) ? DriveResult{} : DriveResult{statusWriteError};
    }
    const std::string hostName = name + extensionFor(kind);
    if (nameTaken(hostName)) return {statusExists};
    if (!files::writeFile(inFolder(hostName), data)) return {statusWriteError};
    if (replaced) unlink(inFolder(replaced->hostName).c_str());
    return {};
}

DriveResult scratchFiles(const std::vector<FileEntry>& files, uint8_t& scratched) {
    scratched = 0;
    for (const FileEntry& file : files)
        if (unlink(inFolder(file.hostName).c_str()) == 0) ++scratched;
    return {};
}

DriveResult renameFile(const FileEntry& file, const std::string& newName) {
    const std::string hostName = newName + extensionFor(file.type & 0x07);
    if (nameTaken(hostName)) return {statusExists};
    if (std::rename(inFolder(file.hostName).c_str(), inFolder(hostName).c_str()) != 0)
        return {statusWriteError};
    return {};
}

DriveResult format(const std::string&, const std::string&, bool) { return {statusBadCommand}; }
DriveResult validate() { return {}; }

void header(uint8_t diskName[16], uint8_t id[2], uint8_t dosType[2]) {
    std::copy_n("VARNOK DIRECTORY", 16, diskName);
    std::copy_n("00", 2, id);
    std::copy_n("2A", 2, dosType);
}

uint16_t blocksFree() {
    struct statvfs info;
    if (statvfs(drive.mediumPath.c_str(), &info) != 0) return 0;
    return freeBytesShown(info.f_bavail, info.f_frsize);
}

void logListing() { logLine("Generating directory.\n"); }

}  // namespace

// clang-format off
const MediumOps hostFolderOps = {
    true, entries, readFile, writeFile, scratchFiles, renameFile, format, validate,
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
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    // Held as a real path, so the drive keeps its folder when the current directory changes.
    std::string real = files::realPath(path);
    if (real.empty()) return false;
    unmountDrive();
    drive.attached = true;
    drive.mediumPath = std::move(real);
    drive.medium = hostFolderMedium;
    return true;
}

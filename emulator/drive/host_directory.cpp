// Drive 8 serving the ".prg" files of a host directory. The directory is served by
// path, without changing the process's current directory, and a requested name only
// ever selects one of the directory's own entries, so no name can reach outside it.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/configuration.h"
#include "common/log.h"
#include "drive/drive.h"
#include "drive/drive_media.h"

namespace {

constexpr uint32_t extensionLength = 4;  // ".prg"
constexpr uint32_t longestName = 16;
constexpr uint32_t longestFile = 0xFFFF;  // drive.dataLength is 16-bit
constexpr uint8_t closedPrg = 0x82;
const uint8_t diskName[16] = {'V', 'A', 'R', 'N', 'O', 'K', ' ', 'D', 'I', 'R', 'E', 'C', 'T', 'O', 'R', 'Y'};
const uint8_t diskId[2] = {'0', '0'};
const uint8_t dosType[2] = {'2', 'A'};

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
char upperAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

bool sameIgnoringCase(const char* a, const char* b, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

bool isProgramName(const std::string& name) {
    return name.size() >= extensionLength &&
           sameIgnoringCase(name.c_str() + name.size() - extensionLength, ".prg", extensionLength);
}

// The configured directory, or the current one when it cannot be opened.
class ServedDirectory {
public:
    ServedDirectory() {
        fd = open(emulatorConfig.drive8PCDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) fd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    ~ServedDirectory() {
        if (fd >= 0) close(fd);
    }
    ServedDirectory(const ServedDirectory&) = delete;
    ServedDirectory& operator=(const ServedDirectory&) = delete;

    // The program files, sorted by name so listings and '*' are stable.
    std::vector<std::string> programFiles() const {
        std::vector<std::string> names;
        const int listFd = fd < 0 ? -1 : dup(fd);
        DIR* dir = listFd < 0 ? nullptr : fdopendir(listFd);
        if (!dir) {
            if (listFd >= 0) close(listFd);
            return names;
        }
        rewinddir(dir);
        while (const dirent* entry = readdir(dir)) {
            struct stat info;
            std::string name = entry->d_name;
            if (isProgramName(name) && fstatat(fd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode))
                names.push_back(std::move(name));
        }
        closedir(dir);
        std::sort(names.begin(), names.end());
        return names;
    }

    // Opens a regular file of the directory; -1 otherwise. Non-blocking so that a pipe
    // that slipped in cannot stall the machine.
    int openFile(const std::string& name, off_t& size) const {
        const int file = openat(fd, name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        struct stat info;
        if (file >= 0 && fstat(file, &info) == 0 && S_ISREG(info.st_mode)) {
            size = info.st_size;
            return file;
        }
        if (file >= 0) close(file);
        return -1;
    }

    uint16_t freeSpace() const {
        struct statvfs info;
        if (fd < 0 || fstatvfs(fd, &info) != 0) return 0;
        return freeBytesShown(info.f_bavail, info.f_frsize);
    }

private:
    int fd = -1;
};

void buildDirectoryListing(const ServedDirectory& directory, const std::vector<std::string>& files) {
    logLine("Generating directory.\n");
    beginListing(diskName, diskId, dosType);
    for (const std::string& name : files) {
        off_t size = 0;
        const int file = directory.openFile(name, size);
        if (file < 0) continue;
        close(file);
        const uint32_t nameLength = uint32_t(name.size() - extensionLength);
        if (nameLength > longestName) continue;
        uint8_t shown[longestName];
        for (uint32_t i = 0; i < nameLength; ++i) shown[i] = uint8_t(upperAscii(name[i]));
        const uint16_t blocks = uint16_t(std::min<off_t>(size / 256 + 1, 0xFFFF));
        addListingLine(blocks, shown, nameLength, closedPrg);
    }
    endListing(directory.freeSpace());
}

// The first file whose name is the request followed by ".prg", in any case.
const std::string* findProgram(const std::vector<std::string>& files) {
    const uint32_t length = requestedNameLength();
    const char* request = reinterpret_cast<const char*>(drive.commandBuffer);
    for (const std::string& name : files)
        if (name.size() == length + extensionLength && sameIgnoringCase(name.c_str(), request, length))
            return &name;
    return nullptr;
}

// Reads the whole file, cut to what a 16-bit length can hand out.
bool readProgram(const ServedDirectory& directory, const std::string& name) {
    off_t size = 0;
    const int file = directory.openFile(name, size);
    if (file < 0) return false;
    uint32_t gathered = 0;
    while (gathered < longestFile) {
        const ssize_t got = read(file, drive.transferBuffer + gathered, longestFile - gathered);
        if (got < 0) {
            close(file);
            return false;
        }
        if (got == 0) break;
        gathered += uint32_t(got);
    }
    close(file);
    drive.dataLength = uint16_t(gathered);
    return true;
}

void loadProgram(const ServedDirectory& directory, const std::vector<std::string>& files) {
    const std::string* name = findProgram(files);
    const bool loaded = name && readProgram(directory, *name);
    if (!loaded) drive.dataLength = 0;  // never hand out the previous answer for a missing file
    drive.status = loaded ? 0 : 2;
}

}  // namespace

uint16_t freeBytesShown(uint64_t freeBlocks, uint64_t blockSize) {
    constexpr uint64_t cap = 32768;
    if (blockSize == 0) return 0;
    if (freeBlocks >= cap / blockSize + 1) return cap;
    return uint16_t(std::min(freeBlocks * blockSize, cap));
}

void serveHostDirectoryCommand() {
    if (drive.commandLength == 0) {
        endTransfer();
        return;
    }
    stripDrivePrefix();
    const ServedDirectory directory;
    const std::vector<std::string> files = directory.programFiles();
    if (drive.commandBuffer[0] == '*' && !files.empty()) {
        const std::string& first = files.front();
        const size_t length = std::min<size_t>(first.size() - extensionLength, commandBufferBytes - 1);
        std::memset(drive.commandBuffer, 0, commandBufferBytes);
        std::copy_n(first.data(), length, drive.commandBuffer);
    }
    if (drive.commandBuffer[0] == '$')
        buildDirectoryListing(directory, files);
    else
        loadProgram(directory, files);
}

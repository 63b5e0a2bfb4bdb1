#pragma once
// What the channels, the command channel and the two media behind drive 8 share:
// the status codes, the file entries a medium shows, and each medium's operations.
#include <cstdint>
#include <string>
#include <vector>

#include "state/drive.h"

// Status codes as the error channel words them (drive/status.cpp holds the texts).
enum StatusCode : uint8_t {
    statusOk = 0,
    statusScratched = 1,
    statusReadError = 20,
    statusWriteError = 25,
    statusWriteProtect = 26,
    statusSyntax = 30,
    statusBadCommand = 31,
    statusLongLine = 32,
    statusBadName = 33,
    statusNoName = 34,
    statusTooLarge = 52,
    statusNotFound = 62,
    statusExists = 63,
    statusTypeMismatch = 64,
    statusIllegalBlock = 66,
    statusDiskFull = 72,
    statusPowerOn = 73,
    statusNotReady = 74,
    // Not the drive's: the image file was changed by someone else and has been read
    // again, so the change that met it is made again on what is there now
    // (changeMedium). Never reaches the error channel.
    statusChangedOnDisk = 0xFF,
};

// A status with the track and sector it names (the count for 01).
struct DriveResult {
    uint8_t code = statusOk, track = 0, sector = 0;
    bool failed() const { return code >= statusReadError; }
};

// The error channel (drive/status.cpp).
void setStatus(DriveResult result);
// The next byte of the line; `last` on its CR, after which the line is 00, OK.
uint8_t nextStatusByte(bool& last);

constexpr uint32_t longestName = 16;
// A load ends at $FFFF; other channels may read and write files up to this size.
constexpr uint32_t longestLoad = 0xFFFF;
constexpr uint32_t longestDataFile = 1u << 20;

// The operations of one medium; the channels and commands call them through mediumOps().
struct MediumOps {
    bool foldCase;  // names match whatever their case, and list in capitals
    // Takes in what someone else changed on the medium since it was last looked at.
    void (*refresh)();
    void (*entries)(std::vector<FileEntry>& out);
    // The file's bytes, at most `limit` of them (more gives 52).
    DriveResult (*read)(const FileEntry& entry, std::vector<uint8_t>& out, uint32_t limit);
    // Writes a new file; `replaced` (may be null) is an entry of the same name it replaces.
    DriveResult (*write)(const std::string& name, uint8_t kind, const std::vector<uint8_t>& data,
                         const FileEntry* replaced);
    DriveResult (*scratch)(const std::vector<FileEntry>& files, uint8_t& scratched);
    DriveResult (*rename)(const FileEntry& file, const std::string& newName);
    DriveResult (*format)(const std::string& name, const std::string& id, bool newId);
    DriveResult (*validate)();
    bool (*writeProtected)();
    // The listing's header line and its closing figure.
    void (*header)(uint8_t diskName[16], uint8_t id[2], uint8_t dosType[2]);
    uint16_t (*blocksFree)();
    void (*logListing)();
};
extern const MediumOps d64Ops, hostFolderOps;
// The mounted medium's operations; null when the drive is empty.
const MediumOps* mediumOps();
// The medium's files in directory order (a host folder's sorted by name).
std::vector<FileEntry> listFiles(const MediumOps& ops);
// Takes in what changed on the mounted medium, before a request is served.
void refreshMedium();

// Makes a change of the medium, `change(ops)`, which looks up what it needs itself; when
// it meets an image someone else has changed on disk, it runs again on that version.
template <typename Change>
DriveResult changeMedium(Change change) {
    constexpr int tries = 8;  // other writers would have to win the lock this often in a row
    for (int attempt = 0; attempt < tries; ++attempt) {
        const MediumOps* ops = mediumOps();
        if (!ops) return {statusNotReady};
        const DriveResult result = change(*ops);
        if (result.code != statusChangedOnDisk) return result;
    }
    return {statusWriteError};
}

// The listing both media send: a BASIC program loaded at $1001 (drive/listing.cpp).
void buildListing(std::vector<uint8_t>& out, const MediumOps& ops, const std::vector<FileEntry>& files,
                  const std::string& pattern);
// The host drive's free-space figure: free bytes, capped at 32768.
uint16_t freeBytesShown(uint64_t freeBlocks, uint64_t blockSize);

// Names (drive/names.cpp): what OPEN sends, "[@][0:]name[,type[,mode]]" or "$[0:pattern]".
struct FileRequest {
    bool replace = false;
    bool directory = false;
    std::string name;  // a name or a pattern, without drive prefix and suffix
    char type = 0;     // 'P', 'S', 'U', 'R' or 0
    char mode = 0;     // 'R', 'W', 'A', 'M' or 0
};
FileRequest parseFileRequest(const uint8_t* bytes, uint32_t length);
// Drops "0:" or ":" from the front of a name.
std::string withoutDrivePrefix(const std::string& name);
// `?` matches one character, `*` the rest; a pattern matches only names a listing shows.
bool matchesPattern(const std::string& pattern, const std::string& name, bool foldCase);
bool isPattern(const std::string& name);
// A name a new file may take: not empty, no pattern or separator characters.
uint8_t checkNewName(const std::string& name);
uint8_t kindOfTypeLetter(char type);
// The first entry the pattern matches, or null.
const FileEntry* findEntry(const std::vector<FileEntry>& files, const std::string& pattern, bool foldCase);

// Disk commands sent to channel 15 (drive/commands.cpp).
void executeCommand(const uint8_t* bytes, uint32_t length);
// Channels (drive/channels.cpp).
void openChannel(uint8_t channel);
void closeChannel(uint8_t channel);
void closeAllChannels();
// The next byte a channel hands out, with the port status it comes with.
uint8_t readChannelByte(uint8_t channel, uint8_t& status);
void writeChannelByte(uint8_t channel, uint8_t value);

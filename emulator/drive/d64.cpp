// Drive 8 serving a 35-track D64 image held in memory. The image is only read.
// Chains are followed with care: a link off the disk or back to a sector already
// visited ends the walk, so a damaged image can neither be read outside nor loop.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/log.h"
#include "drive/drive.h"
#include "drive/drive_media.h"

uint32_t trackOffset[37];

namespace {

constexpr int lastTrack = 35;
constexpr int sectorBytes = 256;
constexpr int imageSectors = d64ImageBytes / sectorBytes;
constexpr uint8_t bamTrack = 18;
constexpr uint32_t longestFile = 0xFFFF;  // drive.dataLength is 16-bit

struct Zone {
    int firstTrack, lastTrack, sectors;
};
// clang-format off
constexpr Zone zones[] = {
    // tracks   sectors
    {1, 17, 21},
    {18, 24, 19},
    {25, 30, 18},
    {31, 35, 17},
};
// clang-format on

int sectorsOnTrack(int track) {
    for (const Zone& zone : zones)
        if (track >= zone.firstTrack && track <= zone.lastTrack) return zone.sectors;
    return 0;
}

// Remembers the sectors a chain has passed through.
class ChainWalk {
public:
    // The sector's bytes, or null when it is not on the disk or was visited before.
    const uint8_t* enter(uint8_t track, uint8_t sector) {
        if (track < 1 || track > lastTrack || sector >= sectorsOnTrack(track)) return nullptr;
        const uint32_t offset = trackOffset[track] + uint32_t(sectorBytes) * sector;
        if (offset + sectorBytes > d64ImageBytes) return nullptr;
        const uint32_t index = offset / sectorBytes;
        if (visited[index]) return nullptr;
        visited[index] = true;
        return drive.d64Image + offset;
    }

private:
    bool visited[imageSectors] = {};
};

const uint8_t* bam() { return drive.d64Image + trackOffset[bamTrack]; }

// Directory entries are 32 bytes; `entry` points at the start of one, so the type is byte 2.
bool entryUsed(const uint8_t* entry) { return entry[2] != 0; }
const uint8_t* entryName(const uint8_t* entry) { return entry + 5; }
uint32_t entryNameLength(const uint8_t* entry) {
    const void* fill = std::memchr(entryName(entry), 0xA0, 16);
    return fill ? uint32_t(static_cast<const uint8_t*>(fill) - entryName(entry)) : 16;
}
uint16_t entryBlocks(const uint8_t* entry) { return uint16_t(entry[30] | entry[31] << 8); }

// Calls visit(entry) for each used entry in directory order until it returns true.
template <typename Visit>
void walkDirectory(Visit visit) {
    ChainWalk walk;
    uint8_t track = bam()[0], sector = bam()[1];
    while (track != 0 && sector != 0xFF) {
        const uint8_t* block = walk.enter(track, sector);
        if (!block) return;
        for (int k = 0; k < 8; ++k) {
            const uint8_t* entry = block + 32 * k;
            if (entryUsed(entry) && visit(entry)) return;
        }
        track = block[0];
        sector = block[1];
    }
}

uint16_t blocksFree() {
    uint32_t free = 0;
    for (int t = 1; t <= lastTrack; ++t) free += bam()[4 * t];
    return uint16_t(free - bam()[4 * bamTrack]);
}

void logBits(uint8_t value, const char* format) {
    logLine(format, value >> 7 & 1, value >> 6 & 1, value >> 5 & 1, value >> 4 & 1, value >> 3 & 1,
            value >> 2 & 1, value >> 1 & 1, value & 1);
}

void logBam() {
    logLine("Generating D64 directory.\n");
    for (int i = 0; i < lastTrack; ++i) {
        logLine("Block %d:%d ", i, bam()[4 + 4 * i]);
        logBits(bam()[5 + 4 * i], "%d%d%d%d%d%d%d%d ");
        logBits(bam()[6 + 4 * i], "%d%d%d%d%d%d%d%d ");
        logBits(bam()[7 + 4 * i], "%d%d%d%d%d%d%d%d\n");
    }
    logLine("Blocks:%d\n", blocksFree());
    logLine("DirTrack:%d\n", bam()[0]);
    logLine("DirSector:%d\n", bam()[1]);
}

void buildDirectoryListing() {
    logBam();
    beginListing(bam() + 144, bam() + 162, bam() + 165);
    walkDirectory([](const uint8_t* entry) {
        logLine("D64 File size: %d\n", entryBlocks(entry));
        addListingLine(entryBlocks(entry), entryName(entry), entryNameLength(entry), entry[2]);
        return false;
    });
    endListing(blocksFree());
}

// Follows the file's chain into drive.transferBuffer; false when the chain breaks off or loops,
// since then there is no last block to say where the file ends.
bool gatherFile(const uint8_t* entry) {
    ChainWalk walk;
    uint32_t gathered = 0;
    uint8_t track = entry[3], sector = entry[4];
    for (;;) {
        const uint8_t* block = walk.enter(track, sector);
        if (!block) return false;
        const bool last = block[0] == 0;
        const uint32_t bytes = !last ? 254 : block[1] >= 2 ? block[1] - 1u : 0;
        const uint32_t kept = std::min(bytes, longestFile - gathered);
        std::memcpy(drive.transferBuffer + gathered, block + 2, kept);
        gathered += kept;
        if (last) break;
        track = block[0];
        sector = block[1];
    }
    drive.dataLength = uint16_t(gathered);
    return true;
}

void loadFile() {
    const uint32_t nameLength = requestedNameLength();
    const bool wildcard = drive.commandBuffer[0] == '*';
    drive.dataLength = 0;
    bool found = false, loaded = false;
    walkDirectory([&](const uint8_t* entry) {
        found = wildcard || (entryNameLength(entry) == nameLength &&
                             std::memcmp(entryName(entry), drive.commandBuffer, nameLength) == 0);
        if (found) loaded = gatherFile(entry);
        return found;
    });
    drive.status = loaded ? 0 : 2;
}

}  // namespace

void buildTrackOffsets() {
    trackOffset[0] = 0;
    trackOffset[1] = 0;
    for (int t = 1; t <= lastTrack; ++t)
        trackOffset[t + 1] = trackOffset[t] + sectorBytes * sectorsOnTrack(t);
}

bool loadD64Image(const char* path) {
    std::memset(drive.d64Image, 0, sizeof drive.d64Image);
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    const size_t read = std::fread(drive.d64Image, 1, sizeof drive.d64Image, file);
    std::fclose(file);
    return read > 0;
}

void serveD64Command() {
    if (drive.commandLength == 0) {
        endTransfer();
        return;
    }
    stripDrivePrefix();
    if (drive.commandBuffer[0] == '$')
        buildDirectoryListing();
    else
        loadFile();
}

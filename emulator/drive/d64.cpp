// Drive 8 serving a D64 disk image held in memory: the directory, reading files along
// their chains, and mounting the image file (and reading it again when someone else
// changed it). Changes go back to the file at once (drive/d64_write.cpp).
#include <algorithm>
#include <cstring>

#include "common/log.h"
#include "disk/g64.h"
#include "drive/d64_image.h"
#include "fileio/files.h"

namespace {

// The sizes a D64 file comes in: 35 or 40 tracks, each with or without one error byte per sector.
struct ImageSize {
    uint32_t bytes;
    int tracks;
    bool errorBytes;
};
// clang-format off
constexpr ImageSize imageSizes[] = {
    {174848, 35, false},
    {175531, 35, true},
    {196608, 40, false},
    {197376, 40, true},
};
// clang-format on

uint32_t entryNameLength(const uint8_t* entry) {
    const void* fill = std::memchr(entry + entryName, 0xA0, longestName);
    return fill ? uint32_t(static_cast<const uint8_t*>(fill) - (entry + entryName)) : longestName;
}

void entries(std::vector<FileEntry>& out) {
    walkDirectorySectors([&](uint8_t, uint8_t, const uint8_t* block) {
        for (int k = 0; k < entriesPerSector; ++k) {
            const uint8_t* entry = block + entryBytes * k;
            if (entry[entryType] == 0) continue;
            FileEntry file;
            file.name.assign(reinterpret_cast<const char*>(entry + entryName), entryNameLength(entry));
            file.type = entry[entryType];
            file.blocks = uint16_t(entry[entryBlocks] | entry[entryBlocks + 1] << 8);
            file.where = uint32_t(entry - drive.d64Image);
            out.push_back(std::move(file));
        }
        return false;
    });
}

// Follows the file's chain; a chain that leaves the disk or loops is a read error, since
// then there is no last block to say where the file ends.
DriveResult readFile(const FileEntry& file, std::vector<uint8_t>& out, uint32_t limit) {
    out.clear();
    const uint8_t* entry = drive.d64Image + file.where;
    ChainWalk walk;
    uint8_t track = entry[entryTrack], sector = entry[entrySector];
    for (;;) {
        const uint8_t* block = walk.enter(track, sector);
        if (!block) return walk.error();
        const bool last = block[0] == 0;
        const uint32_t bytes = !last ? 254 : block[1] >= 2 ? block[1] - 1u : 0;
        if (out.size() + bytes > limit) return {statusTooLarge};
        out.insert(out.end(), block + 2, block + 2 + bytes);
        if (last) return {};
        track = block[0];
        sector = block[1];
    }
}

bool writeProtected() { return drive.writeProtected; }

void header(uint8_t diskName[16], uint8_t id[2], uint8_t dosType[2]) {
    std::memcpy(diskName, d64Bam() + 144, 16);
    std::memcpy(id, d64Bam() + 162, 2);
    std::memcpy(dosType, d64Bam() + 165, 2);
}

void logBits(uint8_t value, const char* format) {
    logLine(format, value >> 7 & 1, value >> 6 & 1, value >> 5 & 1, value >> 4 & 1, value >> 3 & 1,
            value >> 2 & 1, value >> 1 & 1, value & 1);
}

void logListing() {
    if (!loggingOn()) return;
    const uint8_t* bam = d64Bam();
    logLine("Generating D64 directory.\n");
    for (int i = 0; i < 35; ++i) {
        logLine("Block %d:%d ", i, bam[4 + 4 * i]);
        logBits(bam[5 + 4 * i], "%d%d%d%d%d%d%d%d ");
        logBits(bam[6 + 4 * i], "%d%d%d%d%d%d%d%d ");
        logBits(bam[7 + 4 * i], "%d%d%d%d%d%d%d%d\n");
    }
    logLine("Blocks:%d\n", d64BlocksFree());
    logLine("DirTrack:%d\n", bam[0]);
    logLine("DirSector:%d\n", bam[1]);
    std::vector<FileEntry> files;
    entries(files);
    for (const FileEntry& file : files) logLine("D64 File size: %d\n", file.blocks);
}

// The file may be replaced by this user, as writeFile would, in a folder they may write to
// (root included: a read-only image stays read-only).
bool imageReplaceable(const std::string& path) {
    return files::replaceRefusal(path).empty() && files::Folder::open(files::folderOf(path)).writable();
}

// The image file's bytes as the disk: its size says the tracks and whether error bytes
// follow. Any other size is read as the start of a 35-track image, and never written back.
void takeImage(const files::ReadResult& file) {
    const std::span<const uint8_t> bytes = file.bytes;
    if (gcr::isG64(bytes)) return takeG64Image(file, imageReplaceable(drive.mediumPath));
    drive.g64 = false;
    drive.g64File.clear();
    const ImageSize* size = std::find_if(std::begin(imageSizes), std::end(imageSizes),
                                         [&](const ImageSize& s) { return s.bytes == bytes.size(); });
    const bool standard = size != std::end(imageSizes);
    drive.tracks = standard ? size->tracks : 35;
    const uint32_t imageBytes = d64Sectors() * d64SectorBytes;
    std::memset(drive.d64Image, 0, sizeof drive.d64Image);
    std::memcpy(drive.d64Image, bytes.data(), std::min<size_t>(bytes.size(), imageBytes));
    drive.hasErrorBytes = standard && size->errorBytes;
    if (drive.hasErrorBytes) std::memcpy(drive.errorBytes, bytes.data() + imageBytes, d64Sectors());
    drive.imageStamp = file.stamp;
    drive.writeProtected = !standard || !imageReplaceable(drive.mediumPath);
}

void refresh() {
    files::FileStamp now;
    if (drive.mediumPath.empty() || !files::currentStamp(drive.mediumPath, now) || now == drive.imageStamp)
        return;
    // A file that cannot be read now is left alone: a change then fails on it.
    const files::ReadResult file = files::readFile(drive.mediumPath, d64LargestFileBytes);
    if (file && imageRefusal(file.bytes).empty()) takeImage(file);
}

}  // namespace

// clang-format off
const MediumOps d64Ops = {
    false, refresh, entries, readFile, writeD64File, scratchD64Files, renameD64File, formatD64, validateD64,
    writeProtected, header, d64BlocksFree, logListing,
};
// clang-format on

bool mountD64(const std::string& path) {
    return mountD64Image(path, files::readFile(path, d64LargestFileBytes));
}

bool mountD64Image(const std::string& path, const files::ReadResult& file) {
    if (!file) return false;
    if (const std::string why = imageRefusal(file.bytes); !why.empty()) {
        if (gcr::isG64(file.bytes)) logLine("Warning: %s: %s\n", path.c_str(), why.c_str());
        return false;
    }
    mountD64InMemory(35);
    // Held as a real path: the image is written back to the file a link leads to, and
    // stays found when the current directory changes.
    const std::string real = files::realPath(path);
    drive.mediumPath = real.empty() ? path : real;
    takeImage(file);
    files::removeStaleTemporaries(drive.mediumPath);
    return true;
}

bool reloadD64Image(const files::ReadResult& file) {
    if (!file || !imageRefusal(file.bytes).empty()) return false;
    takeImage(file);
    return true;
}

void mountD64InMemory(int tracks) {
    unmountDrive();
    drive.attached = true;
    drive.medium = d64Medium;
    drive.tracks = tracks == 40 ? 40 : 35;
}

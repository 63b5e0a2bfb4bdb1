// Changing a D64 image: new files take blocks from the BAM (track 18 stays the
// directory's), scratch and validate give them back. Every change is made in memory
// and written back to the image file whole; when the disk is full or the file cannot be
// written, the image is put back as it was.
#include <algorithm>
#include <cstring>

#include "common/log.h"
#include "drive/d64_image.h"
#include "fileio/files.h"

namespace {

constexpr int fileInterleave = 10, directoryInterleave = 3;

uint32_t imageBytes() { return d64Sectors() * d64SectorBytes; }

// The image as its file holds it: the sectors, then the error bytes when it had them.
std::vector<uint8_t> imageFile() {
    std::vector<uint8_t> bytes(drive.d64Image, drive.d64Image + imageBytes());
    if (drive.hasErrorBytes) bytes.insert(bytes.end(), drive.errorBytes, drive.errorBytes + d64Sectors());
    return bytes;
}

}  // namespace

bool writeImageFile(files::HeldFile& held, const std::vector<uint8_t>& bytes) {
    if (held) {
        if (!files::replaceHeldFile(held, bytes)) return false;
        drive.imageStamp = held.stamp();
        return true;
    }
    return files::writeFile(drive.mediumPath, bytes) &&
           files::currentStamp(drive.mediumPath, drive.imageStamp);
}

bool writeBackD64() {
    if (drive.mediumPath.empty()) return true;  // an image held only in memory
    files::HeldFile held = files::holdFile(drive.mediumPath);
    if (!held && files::nameTaken(drive.mediumPath)) return false;
    if (held && held.stamp() != drive.imageStamp) {
        logLine("Warning: %s was changed by another program; the drive's changes are not written over it.\n",
                drive.mediumPath.c_str());
        return false;
    }
    return writeImageFile(held, imageFile());
}

namespace {

// Runs the change on the image; keeps it only when it succeeded and reached the file. The
// file is held from before the change until it is written back, and a version someone
// else wrote meanwhile is read first: the change is then made again on it.
template <typename Change>
DriveResult editImage(Change change) {
    files::HeldFile held;
    if (!drive.mediumPath.empty()) {  // else an image held only in memory
        held = files::holdFile(drive.mediumPath);
        if (!held) return {statusNotReady};  // the image file has gone
        if (held.stamp() != drive.imageStamp)
            return reloadD64Image(held.read(d64LargestFileBytes)) ? DriveResult{statusChangedOnDisk}
                                                                  : DriveResult{statusNotReady};
    }
    const std::vector<uint8_t> image(drive.d64Image, drive.d64Image + imageBytes());
    const std::vector<uint8_t> errors(drive.errorBytes, drive.errorBytes + d64Sectors());
    DriveResult result = change();
    if (!result.failed() && held && !writeImageFile(held, imageFile())) result = {statusWriteError};
    if (result.failed()) {
        std::copy(image.begin(), image.end(), drive.d64Image);
        std::copy(errors.begin(), errors.end(), drive.errorBytes);
    }
    return result;
}

uint32_t freeDataBlocks() {
    uint32_t free = 0;
    for (int t = 1; t <= drive.tracks; ++t)
        for (int s = 0; t != directoryTrack && s < sectorsOnTrack(t); ++s) free += sectorFree(t, s);
    return free;
}

// The next free block for a file: on the same track `fileInterleave` sectors on, else on the
// track nearest the directory that has one, the lower side first.
bool nextFreeBlock(int& track, int& sector) {
    for (int i = 0; track != 0 && i < sectorsOnTrack(track); ++i) {
        const int s = (sector + fileInterleave + i) % sectorsOnTrack(track);
        if (sectorFree(track, s)) {
            sector = s;
            return true;
        }
    }
    for (int distance = 1; distance < drive.tracks; ++distance)
        for (int t : {directoryTrack - distance, directoryTrack + distance})
            for (int s = 0; s < sectorsOnTrack(t) && t >= 1 && t <= drive.tracks; ++s)
                if (sectorFree(t, s)) {
                    track = t;
                    sector = s;
                    return true;
                }
    return false;
}

// Gives a file's blocks back to the BAM; the chain is followed only as far as it is sound.
void freeChain(uint8_t track, uint8_t sector) {
    ChainWalk walk;
    while (track != 0) {
        const uint8_t* block = walk.enter(track, sector);
        if (!block) return;
        if (track != directoryTrack) markFree(track, sector);
        track = block[0];
        sector = block[1];
    }
}

// An empty directory entry, adding a sector on track 18 when all are taken.
DriveResult freeEntry(uint32_t& where) {
    bool found = false, ended = false;
    uint8_t lastTrack = 0, lastSector = 0;
    walkDirectorySectors([&](uint8_t track, uint8_t sector, uint8_t* block) {
        for (int k = 0; k < entriesPerSector && !found; ++k)
            if (block[entryBytes * k + entryType] == 0) {
                where = uint32_t(block + entryBytes * k - drive.d64Image);
                found = true;
            }
        lastTrack = track;
        lastSector = sector;
        ended = block[0] == 0;
        return found;
    });
    if (found) return {};
    if (!ended) return {statusIllegalBlock, d64Bam()[0], d64Bam()[1]};  // a broken directory is not extended
    const int sectors = sectorsOnTrack(directoryTrack);
    for (int i = 0; i < sectors; ++i) {
        const int s = (lastSector + directoryInterleave + i) % sectors;
        if (!sectorFree(directoryTrack, s)) continue;
        markUsed(directoryTrack, s);
        uint8_t* last = d64Block(lastTrack, lastSector);
        last[0] = directoryTrack;
        last[1] = uint8_t(s);
        uint8_t* block = d64Block(directoryTrack, s);
        std::memset(block, 0, d64SectorBytes);
        block[1] = 0xFF;
        where = uint32_t(block - drive.d64Image);
        return {};
    }
    return {statusDiskFull};
}

void putName(uint8_t* field, const std::string& name, size_t length) {
    std::memset(field, 0xA0, length);
    std::copy_n(name.begin(), std::min(name.size(), length), field);
}

// The data as a chain of blocks; the caller has made sure there are enough free ones.
void writeChain(const std::vector<uint8_t>& data, uint32_t blocks, uint8_t first[2]) {
    int track = 0, sector = 0;
    uint8_t* previous = first;
    for (uint32_t b = 0; b < blocks; ++b) {
        nextFreeBlock(track, sector);
        markUsed(track, sector);
        previous[0] = uint8_t(track);
        previous[1] = uint8_t(sector);
        uint8_t* block = d64Block(track, sector);
        const size_t offset = size_t(b) * 254;
        const size_t count = std::min<size_t>(254, data.size() - offset);
        std::memset(block, 0, d64SectorBytes);
        if (count) std::memcpy(block + 2, data.data() + offset, count);
        block[1] = uint8_t(count + 1);  // the last block's index of its last byte
        previous = block;
    }
}

// Counts and bitmaps are set, not added to, so counts that lied are put right.
void allTracksFree() {
    for (int t = 1; t <= drive.tracks; ++t) markTrackFree(t);
}

}  // namespace

DriveResult writeD64File(const std::string& name, uint8_t kind, const std::vector<uint8_t>& data,
                         const FileEntry* replaced) {
    return editImage([&]() -> DriveResult {
        // A directory sector the BAM calls free (a damaged image) is taken first, so the
        // new file is never written over the directory that names it.
        walkDirectorySectors([](uint8_t track, uint8_t sector, uint8_t*) {
            markUsed(track, sector);
            return false;
        });
        uint32_t where = 0;
        if (replaced) {
            where = replaced->where;
            freeChain(drive.d64Image[where + entryTrack], drive.d64Image[where + entrySector]);
        } else if (const DriveResult result = freeEntry(where); result.failed()) {
            return result;
        }
        const uint32_t blocks = std::max<uint32_t>(1, uint32_t(data.size() + 253) / 254);
        if (blocks > freeDataBlocks()) return {statusDiskFull};
        uint8_t* entry = drive.d64Image + where;
        // Bytes 0-1 of the first entry are the sector's link; the entry proper starts at its type.
        std::memset(entry + entryType, 0, entryBytes - entryType);
        entry[entryType] = uint8_t(0x80 | kind);
        writeChain(data, blocks, entry + entryTrack);
        putName(entry + entryName, name, longestName);
        entry[entryBlocks] = uint8_t(blocks & 0xFF);
        entry[entryBlocks + 1] = uint8_t(blocks >> 8);
        return {};
    });
}

DriveResult scratchD64Files(const std::vector<FileEntry>& files, uint8_t& scratched) {
    scratched = 0;
    return editImage([&]() -> DriveResult {
        for (const FileEntry& file : files) {
            uint8_t* entry = drive.d64Image + file.where;
            if (entry[entryType] == 0 || (entry[entryType] & 0x40)) continue;  // a locked file stays
            freeChain(entry[entryTrack], entry[entrySector]);
            entry[entryType] = 0;
            ++scratched;
        }
        return {};
    });
}

DriveResult renameD64File(const FileEntry& file, const std::string& newName) {
    return editImage([&]() -> DriveResult {
        putName(drive.d64Image + file.where + entryName, newName, longestName);
        return {};
    });
}

DriveResult formatD64(const std::string& name, const std::string& id, bool newId) {
    return editImage([&]() -> DriveResult {
        uint8_t* bam = d64Bam();
        uint8_t keptId[2] = {bam[162], bam[163]};
        if (newId) {
            std::memset(drive.d64Image, 0, imageBytes());
            std::memset(drive.errorBytes, 1, d64Sectors());  // 1: the sector reads without error
            putName(keptId, id, 2);
        }
        std::memset(bam, 0, d64SectorBytes);
        bam[0] = directoryTrack;
        bam[1] = 1;
        bam[2] = 0x41;    // 'A', the format of a 1541 disk
        allTracksFree();  // a 40-track image gets the extended entries of tracks 36-40 too
        markUsed(directoryTrack, 0);
        markUsed(directoryTrack, 1);
        std::memset(bam + 144, 0xA0, 27);
        putName(bam + 144, name, longestName);
        std::memcpy(bam + 162, keptId, 2);
        bam[165] = '2';
        bam[166] = 'A';
        uint8_t* directory = d64Block(directoryTrack, 1);
        std::memset(directory, 0, d64SectorBytes);
        directory[1] = 0xFF;
        return {};
    });
}

// Builds the BAM again from the directory: what the files and the directory use is taken,
// everything else is free; files that were never closed are removed, as the drive does.
DriveResult validateD64() {
    return editImage([&]() -> DriveResult {
        allTracksFree();
        markUsed(directoryTrack, 0);
        walkDirectorySectors([&](uint8_t track, uint8_t sector, uint8_t* block) {
            markUsed(track, sector);
            for (int k = 0; k < entriesPerSector; ++k) {
                uint8_t* entry = block + entryBytes * k;
                if (entry[entryType] == 0) continue;
                if (!(entry[entryType] & 0x80)) {
                    entry[entryType] = 0;
                    continue;
                }
                ChainWalk walk;
                for (uint8_t t = entry[entryTrack], s = entry[entrySector]; t != 0;) {
                    const uint8_t* data = walk.enter(t, s);
                    if (!data) break;
                    markUsed(t, s);
                    t = data[0];
                    s = data[1];
                }
            }
            return false;
        });
        return {};
    });
}

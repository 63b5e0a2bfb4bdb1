#pragma once
// Inside the D64 medium: sectors, chains, the directory and the BAM, shared by the
// reading side (drive/d64.cpp) and the writing side (drive/d64_write.cpp).
#include <cstdint>
#include <string>
#include <vector>

#include "drive/drive.h"
#include "drive/drive_media.h"

constexpr uint8_t directoryTrack = 18;

// The sector's bytes, or null when the image has no such sector.
uint8_t* d64Block(int track, int sector);
uint8_t* d64Bam();
uint32_t d64Sectors();  // of the mounted image: 683 or 768

// Remembers the sectors a chain has passed through, so a damaged image can neither be
// read outside nor loop; says why a chain broke as the drive would.
class ChainWalk {
public:
    uint8_t* enter(uint8_t track, uint8_t sector);
    DriveResult error() const { return why; }

private:
    bool visited[d64LargestImageBytes / d64SectorBytes] = {};
    DriveResult why;
};

// Calls visit(track, sector, block) for each directory sector in chain order until it
// returns true; a link off the disk, to the BAM or back to a visited sector ends the walk.
template <typename Visit>
void walkDirectorySectors(Visit visit) {
    ChainWalk walk;
    walk.enter(directoryTrack, 0);
    uint8_t track = d64Bam()[0], sector = d64Bam()[1];
    while (track != 0 && sector != 0xFF) {
        uint8_t* block = walk.enter(track, sector);
        if (!block || visit(track, sector, block)) return;
        track = block[0];
        sector = block[1];
    }
}

// Directory entries are 32 bytes, 8 to a sector; `entry` points at the start of one, so
// the type is byte 2.
constexpr int entriesPerSector = 8, entryBytes = 32;
constexpr int entryType = 2, entryTrack = 3, entrySector = 4, entryName = 5, entryBlocks = 30;

// The BAM: a free count and a bitmap per track; tracks 36-40 of a 40-track image where
// their entries (at $C0) are consistent, as the extended DOSes write them.
bool bamCovers(int track);
bool sectorFree(int track, int sector);
void markUsed(int track, int sector);
void markFree(int track, int sector);
// Every sector of the track free and its count set to match, whatever the count said.
void markTrackFree(int track);
uint16_t d64BlocksFree();

// Takes a version of the image file read again (drive/d64.cpp); false when it holds no image.
bool reloadD64Image(const files::ReadResult& file);
// Takes a G64 file imageRefusal accepts as the disk (drive/g64.cpp); `replaceable`: a true
// drive may write it back.
void takeG64Image(const files::ReadResult& file, bool replaceable);
// Puts an image's bytes into its file (drive/d64_write.cpp): in place of the held one, or
// written anew when the file has gone, so no one else's version is lost; the version
// written is the one the drive holds from then on.
bool writeImageFile(files::HeldFile& held, const std::vector<uint8_t>& bytes);

// The writing side (drive/d64_write.cpp): each change is written back to the image file
// at once, or undone when that fails or the disk is full.
DriveResult writeD64File(const std::string& name, uint8_t kind, const std::vector<uint8_t>& data,
                         const FileEntry* replaced);
DriveResult scratchD64Files(const std::vector<FileEntry>& files, uint8_t& scratched);
DriveResult renameD64File(const FileEntry& file, const std::string& newName);
DriveResult formatD64(const std::string& name, const std::string& id, bool newId);
DriveResult validateD64();

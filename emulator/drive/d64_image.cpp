// D64 sectors, chains and the BAM.
#include "drive/d64_image.h"

#include <bit>

namespace {

constexpr int standardTracks = 35;
constexpr int extendedBamOffset = 0xC0;  // entries of tracks 36-40

uint8_t* bamEntry(int track) {
    if (track >= 1 && track <= standardTracks) return d64Bam() + 4 * track;
    if (track > standardTracks && track <= drive.tracks)
        return d64Bam() + extendedBamOffset + 4 * (track - 36);
    return nullptr;
}

uint32_t sectorMask(int track) { return (1u << sectorsOnTrack(track)) - 1; }
uint32_t bitmapOf(const uint8_t* entry) { return entry[1] | entry[2] << 8 | entry[3] << 16; }

}  // namespace

uint8_t* d64Block(int track, int sector) {
    if (track < 1 || track > drive.tracks || sector < 0 || sector >= sectorsOnTrack(track)) return nullptr;
    return drive.d64Image + trackOffset[track] + d64SectorBytes * sector;
}

uint8_t* d64Bam() { return drive.d64Image + trackOffset[directoryTrack]; }

uint32_t d64Sectors() { return trackOffset[drive.tracks + 1] / d64SectorBytes; }

uint8_t* ChainWalk::enter(uint8_t track, uint8_t sector) {
    uint8_t* block = d64Block(track, sector);
    if (!block) {
        why = {statusIllegalBlock, track, sector};
        return nullptr;
    }
    const uint32_t index = uint32_t(block - drive.d64Image) / d64SectorBytes;
    if (visited[index]) {
        why = {statusReadError, track, sector};
        return nullptr;
    }
    visited[index] = true;
    return block;
}

bool bamCovers(int track) {
    const uint8_t* entry = bamEntry(track);
    if (!entry) return false;
    if (track <= standardTracks) return true;
    const uint32_t bits = bitmapOf(entry);
    return (bits & ~sectorMask(track)) == 0 && entry[0] == std::popcount(bits);
}

bool sectorFree(int track, int sector) {
    return bamCovers(track) && sector < sectorsOnTrack(track) && (bitmapOf(bamEntry(track)) >> sector & 1);
}

void markUsed(int track, int sector) {
    if (!sectorFree(track, sector)) return;
    uint8_t* entry = bamEntry(track);
    entry[1 + sector / 8] &= uint8_t(~(1 << sector % 8));
    if (entry[0]) --entry[0];
}

void markFree(int track, int sector) {
    if (!bamCovers(track) || sector >= sectorsOnTrack(track) || sectorFree(track, sector)) return;
    uint8_t* entry = bamEntry(track);
    entry[1 + sector / 8] |= uint8_t(1 << sector % 8);
    ++entry[0];
}

void markTrackFree(int track) {
    if (!bamCovers(track)) return;
    uint8_t* entry = bamEntry(track);
    const uint32_t all = sectorMask(track);
    entry[0] = uint8_t(sectorsOnTrack(track));
    for (int i = 0; i < 3; ++i) entry[1 + i] = uint8_t(all >> (8 * i));
}

uint16_t d64BlocksFree() {
    uint32_t free = 0;
    for (int t = 1; t <= drive.tracks; ++t)
        if (t != directoryTrack && bamCovers(t)) free += bamEntry(t)[0];
    return uint16_t(free);
}

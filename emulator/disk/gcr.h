#pragma once
// The disk's surface as a 1541 or 1551 head sees it: each track a ring of GCR bytes
// (four data bits written as five), the sectors laid out as the DOS formats them: a
// sync mark, the header block, a gap, a sync mark, the data block, a gap.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace gcr {

constexpr int maxTrack = 42;
constexpr int halfTrackCount = 2 * maxTrack + 2;  // half-tracks 2..85 (track t at 2t)

// The four speed zones: the outer tracks pass more bits per turn.
struct Zone {
    int firstTrack, lastTrack, sectors, trackBytes, density;
};
// clang-format off
inline constexpr Zone zones[] = {
    // tracks  sectors  GCR bytes per turn  density bits
    {1,  17,   21,      7692,               3},
    {18, 24,   19,      7142,               2},
    {25, 30,   18,      6666,               1},
    {31, 42,   17,      6250,               0},
};
// clang-format on

constexpr const Zone& zoneOf(int track) {
    for (const Zone& zone : zones)
        if (track <= zone.lastTrack) return zone;
    return zones[3];
}

// The GCR code of each nybble: no code has more than two zeros in a row, and ten ones
// in a row (a sync mark) never occur in data.
// clang-format off
inline constexpr uint8_t nybbleCode[16] = {
    0x0A, 0x0B, 0x12, 0x13, 0x0E, 0x0F, 0x16, 0x17, 0x09, 0x19, 0x1A, 0x1B, 0x0D, 0x1D, 0x1E, 0x15,
};
// clang-format on

// Four bytes as five GCR bytes, and back; decoding fails on a code no nybble has.
void encode(const uint8_t in[4], uint8_t out[5]);
bool decode(const uint8_t in[5], uint8_t out[4]);

// A D64 error byte's code for a sector, as the image files keep them (1 or 0 = none).
enum SectorError : uint8_t {
    noError = 1,
    headerNotFound = 2,  // 20: the header block's mark is wrong
    noSync = 3,          // 21: no sync mark before the sector
    dataNotFound = 4,    // 22: the data block's mark is wrong
    dataChecksum = 5,    // 23
    headerChecksum = 9,  // 27
    idMismatch = 11,     // 29: the header carries another disk ID
};

// Half-track h lies on track h / 2; the even ones are the tracks proper.
struct Disk {
    std::array<std::vector<uint8_t>, halfTrackCount> tracks;  // empty: nothing written there
    std::array<uint8_t, halfTrackCount> density{};            // the bit rate each was written at
    std::array<bool, halfTrackCount> changed{};               // written since the last write-back
    int trackCount = 35;
    bool writeProtected = false;
};

// The whole image as a freshly formatted disk holding its sectors; `errors` (one byte per
// sector, may be empty) marks the sectors the image says are damaged.
Disk fromD64(std::span<const uint8_t> image, int tracks, std::span<const uint8_t> errors);

// Reads the sectors of one track back into the image: each sector whose header and data
// block decode with good checksums replaces its 256 bytes. Returns how many did.
// `errors`, when not empty, are the image's error bytes (one a sector): each sector read
// back whose header carries the disk's ID `id` (as the BAM holds it) is marked sound, so
// a damaged sector the drive wrote again reads well from the image too.
int toD64(const std::vector<uint8_t>& track, int trackNumber, std::span<uint8_t> image,
          std::span<uint8_t> errors = {}, std::array<uint8_t, 2> id = {});

// The disk ID as the BAM of an image holds it (both 0 when the image is too short).
std::array<uint8_t, 2> diskId(std::span<const uint8_t> image);

// The byte offset of a sector in a D64 image.
uint32_t sectorOffset(int track, int sector);

}  // namespace gcr

#include "disk/gcr.h"

#include <algorithm>

namespace gcr {

namespace {

constexpr uint8_t headerMark = 0x08, dataMark = 0x07, gapByte = 0x55;
constexpr int syncBytes = 5, headerGap = 9;
constexpr int headerGcrBytes = 10, dataGcrBytes = 325;  // 8 and 260 bytes encoded

// The nybble of each five-bit code, 0xFF where there is none.
constexpr std::array<uint8_t, 32> nybbleOfCode = [] {
    std::array<uint8_t, 32> table{};
    table.fill(0xFF);
    for (uint8_t n = 0; n < 16; ++n) table[nybbleCode[n]] = n;
    return table;
}();

// Appends `bytes` (a multiple of four) GCR-encoded.
void append(std::vector<uint8_t>& out, const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; i += 4) {
        uint8_t five[5];
        encode(bytes + i, five);
        out.insert(out.end(), five, five + 5);
    }
}

void appendSector(std::vector<uint8_t>& out, int track, int sector, const uint8_t* data, uint8_t id1,
                  uint8_t id2, uint8_t error, int tailGap) {
    const uint8_t sync = error == noSync ? gapByte : 0xFF;
    if (error == idMismatch) id1 ^= 0xFF;
    uint8_t header[8] = {
        headerMark, uint8_t(sector ^ track ^ id2 ^ id1), uint8_t(sector), uint8_t(track), id2, id1, 0x0F,
        0x0F};
    if (error == headerNotFound) header[0] = 0;
    if (error == headerChecksum) header[1] ^= 0xFF;
    out.insert(out.end(), syncBytes, sync);
    append(out, header, sizeof header);
    out.insert(out.end(), headerGap, gapByte);
    uint8_t block[260] = {error == dataNotFound ? uint8_t(0) : dataMark};
    std::copy(data, data + 256, block + 1);
    uint8_t sum = 0;
    for (int i = 0; i < 256; ++i) sum ^= data[i];
    block[257] = error == dataChecksum ? uint8_t(sum ^ 0xFF) : sum;
    out.insert(out.end(), syncBytes, sync);
    append(out, block, sizeof block);
    out.insert(out.end(), tailGap, gapByte);
}

// The bytes after the sync mark that starts at `at`, decoded; false when they do not decode.
bool blockAfterSync(const std::vector<uint8_t>& track, size_t at, uint8_t* out, int gcrBytes) {
    const size_t length = track.size();
    size_t i = at;
    for (size_t guard = 0; track[i % length] == 0xFF && guard < length; ++guard) ++i;
    uint8_t five[5];
    for (int group = 0; group < gcrBytes / 5; ++group) {
        for (int k = 0; k < 5; ++k) five[k] = track[(i + 5 * group + k) % length];
        if (!decode(five, out + 4 * group)) return false;
    }
    return true;
}

}  // namespace

void encode(const uint8_t in[4], uint8_t out[5]) {
    uint64_t bits = 0;
    for (int i = 0; i < 4; ++i) bits = bits << 10 | nybbleCode[in[i] >> 4] << 5 | nybbleCode[in[i] & 0x0F];
    for (int i = 4; i >= 0; --i, bits >>= 8) out[i] = uint8_t(bits);
}

bool decode(const uint8_t in[5], uint8_t out[4]) {
    uint64_t bits = 0;
    for (int i = 0; i < 5; ++i) bits = bits << 8 | in[i];
    bool good = true;
    for (int i = 3; i >= 0; --i, bits >>= 10) {
        const uint8_t high = nybbleOfCode[bits >> 5 & 0x1F], low = nybbleOfCode[bits & 0x1F];
        good = good && high != 0xFF && low != 0xFF;
        out[i] = uint8_t(high << 4 | (low & 0x0F));
    }
    return good;
}

uint32_t sectorOffset(int track, int sector) {
    uint32_t offset = 0;
    for (int t = 1; t < track; ++t) offset += 256u * zoneOf(t).sectors;
    return offset + 256u * sector;
}

std::array<uint8_t, 2> diskId(std::span<const uint8_t> image) {
    const uint32_t bam = sectorOffset(18, 0);
    if (image.size() <= bam + 163) return {0, 0};
    return {image[bam + 162], image[bam + 163]};
}

Disk fromD64(std::span<const uint8_t> image, int tracks, std::span<const uint8_t> errors) {
    Disk disk;
    disk.trackCount = tracks;
    const auto [id1, id2] = diskId(image);
    int index = 0;
    for (int track = 1; track <= tracks; ++track) {
        const Zone& zone = zoneOf(track);
        const int sectorBytes = 2 * syncBytes + headerGcrBytes + headerGap + dataGcrBytes;
        const int tail = (zone.trackBytes - zone.sectors * sectorBytes) / zone.sectors;
        std::vector<uint8_t>& out = disk.tracks[2 * track];
        disk.density[2 * track] = uint8_t(zone.density);
        out.reserve(zone.trackBytes);
        for (int sector = 0; sector < zone.sectors; ++sector, ++index) {
            uint8_t data[256] = {};
            const uint32_t offset = sectorOffset(track, sector);
            if (offset + 256 <= image.size()) std::copy_n(image.begin() + offset, 256, data);
            const uint8_t error = size_t(index) < errors.size() ? errors[index] : uint8_t(noError);
            appendSector(out, track, sector, data, id1, id2, error, tail);
        }
        out.resize(zone.trackBytes, gapByte);
    }
    return disk;
}

int toD64(const std::vector<uint8_t>& track, int trackNumber, std::span<uint8_t> image,
          std::span<uint8_t> errors, std::array<uint8_t, 2> id) {
    const size_t length = track.size();
    if (length < 2 || trackNumber < 1 || trackNumber > maxTrack) return 0;
    const int sectors = zoneOf(trackNumber).sectors;
    // A sync mark starts where a $FF follows a byte that is not one.
    std::vector<size_t> syncs;
    for (size_t i = 0; i < length; ++i)
        if (track[i] == 0xFF && track[(i + length - 1) % length] != 0xFF) syncs.push_back(i);
    int read = 0;
    for (size_t k = 0; k < syncs.size(); ++k) {
        uint8_t header[8];
        if (!blockAfterSync(track, syncs[k], header, headerGcrBytes) || header[0] != headerMark) continue;
        if ((header[1] ^ header[2] ^ header[3] ^ header[4] ^ header[5]) != 0) continue;
        if (header[3] != trackNumber || header[2] >= sectors) continue;
        uint8_t block[260];
        const size_t next = syncs[(k + 1) % syncs.size()];
        if (!blockAfterSync(track, next, block, dataGcrBytes) || block[0] != dataMark) continue;
        uint8_t sum = 0;
        for (int i = 1; i <= 256; ++i) sum ^= block[i];
        if (sum != block[257]) continue;
        const uint32_t offset = sectorOffset(trackNumber, header[2]);
        if (offset + 256 > image.size()) continue;
        std::copy_n(block + 1, 256, image.begin() + offset);
        const bool diskId = header[5] == id[0] && header[4] == id[1];
        if (diskId && offset / 256 < errors.size()) errors[offset / 256] = noError;
        ++read;
    }
    return read;
}

}  // namespace gcr

#include "disk/g64.h"

#include <algorithm>
#include <cstring>

namespace gcr {

namespace {

constexpr char signature[8] = {'G', 'C', 'R', '-', '1', '5', '4', '1'};

uint32_t little(std::span<const uint8_t> file, size_t at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | file[at + i];
    return value;
}

void putLittle(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i, value >>= 8) out[at + i] = uint8_t(value);
}

G64 refused(std::string why) {
    G64 g64;
    g64.error = std::move(why);
    return g64;
}

uint8_t zoneDensity(int halfTrack) { return uint8_t(zoneOf(std::max(1, halfTrack / 2)).density); }

}  // namespace

bool isG64(std::span<const uint8_t> file) {
    return file.size() >= sizeof signature && std::memcmp(file.data(), signature, sizeof signature) == 0;
}

G64 readG64(std::span<const uint8_t> file) {
    if (!isG64(file)) return refused("not a G64 image (no GCR-1541 signature)");
    if (file.size() < size_t(g64HeaderBytes)) return refused("the G64 header is cut short");
    if (file[8] != 0) return refused("G64 version " + std::to_string(file[8]) + " is not known");
    G64 g64;
    g64.halfTracks = file[9];
    g64.trackBytes = int(little(file, 10, 2));
    if (g64.halfTracks == 0 || g64.halfTracks > g64MostHalfTracks)
        return refused("a G64 of " + std::to_string(g64.halfTracks) + " half-tracks (1 to 84 fit a drive)");
    if (g64.trackBytes == 0 || g64.trackBytes > g64LongestTrack)
        return refused("a G64 track size of " + std::to_string(g64.trackBytes) + " bytes");
    const size_t tables = g64HeaderBytes + 8u * g64.halfTracks;
    if (file.size() < tables) return refused("the G64 track tables are cut short");
    for (int i = 0; i < g64.halfTracks; ++i) {
        const int halfTrack = i + 2;
        const size_t at = little(file, g64HeaderBytes + 4u * i, 4);
        const uint32_t speed = little(file, g64HeaderBytes + 4u * (g64.halfTracks + i), 4);
        g64.disk.density[halfTrack] = speed <= 3 ? uint8_t(speed) : zoneDensity(halfTrack);
        if (at == 0) continue;
        const std::string where = "G64 half-track " + std::to_string(halfTrack);
        if (at < tables || at + 2 > file.size()) return refused(where + " lies outside the file");
        const size_t length = little(file, at, 2);
        if (length > size_t(g64.trackBytes)) return refused(where + " is longer than the file's track size");
        if (at + 2 + length > file.size()) return refused(where + " is cut short");
        if (speed > 3) {
            if (speed < tables || speed + (length + 3) / 4 > file.size())
                return refused(where + ": its speed map lies outside the file");
            g64.speedMaps = true;
        }
        g64.disk.tracks[halfTrack].assign(file.begin() + at + 2, file.begin() + at + 2 + length);
    }
    g64.disk.trackCount = std::min(maxTrack, (g64.halfTracks + 1) / 2);
    return g64;
}

std::vector<uint8_t> writeG64(const Disk& disk, int halfTracks, int trackBytes) {
    halfTracks = std::clamp(halfTracks, 1, g64MostHalfTracks);
    for (int i = 0; i < halfTracks; ++i) trackBytes = std::max(trackBytes, int(disk.tracks[i + 2].size()));
    const size_t tables = g64HeaderBytes + 8u * halfTracks;
    std::vector<uint8_t> out(tables);
    std::copy(std::begin(signature), std::end(signature), out.begin());
    out[9] = uint8_t(halfTracks);
    putLittle(out, 10, uint32_t(trackBytes), 2);
    for (int i = 0; i < halfTracks; ++i) {
        const std::vector<uint8_t>& track = disk.tracks[i + 2];
        const bool used = !track.empty();
        putLittle(out, g64HeaderBytes + 4u * i, used ? uint32_t(out.size()) : 0, 4);
        putLittle(out, g64HeaderBytes + 4u * (halfTracks + i),
                  used ? disk.density[i + 2] : zoneDensity(i + 2), 4);
        if (!used) continue;
        const size_t at = out.size();
        out.resize(at + 2 + trackBytes);
        putLittle(out, at, uint32_t(track.size()), 2);
        std::copy(track.begin(), track.end(), out.begin() + at + 2);
    }
    return out;
}

}  // namespace gcr

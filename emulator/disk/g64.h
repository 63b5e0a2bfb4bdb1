#pragma once
// G64 files: a disk's surface as raw GCR, one ring of bytes per half-track with the bit
// rate it was written at, so copy-protected layouts (odd syncs, extra sectors, long
// tracks, data on half-tracks) survive that a D64's sectors cannot hold.
//
// The layout: "GCR-1541", a version byte (0), the number of half-tracks, the largest
// track's size (16 bits, little-endian); then one 32-bit offset per half-track (0: none)
// and one 32-bit speed entry per half-track (a zone 0-3, or an offset to a map of one
// zone per byte); each track at its offset as a 16-bit length and its bytes.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "disk/gcr.h"

namespace gcr {

constexpr int g64HeaderBytes = 12;
constexpr int g64MostHalfTracks = halfTrackCount - 2;  // 84: half-tracks 2..85
// The size each track's slot gets in a G64 we write, unless a track needs more.
constexpr int g64StandardTrackBytes = 7928;
// A turn of 20% more bytes than the fastest zone holds: no drive writes a longer track.
constexpr int g64LongestTrack = 7692 * 6 / 5;

struct G64 {
    Disk disk;
    int halfTracks = g64MostHalfTracks;  // the count the file gives
    int trackBytes = g64StandardTrackBytes;
    // Some tracks gave their bit rate byte by byte; each is taken at its zone's rate.
    bool speedMaps = false;
    std::string error;  // why the file was refused; empty when it was read
};

// The file begins with the signature (whatever follows).
bool isG64(std::span<const uint8_t> file);

// The disk a G64 file holds; a file that is short, lies about its tracks or holds one
// longer than any drive writes is refused with `error` set.
G64 readG64(std::span<const uint8_t> file);

// The disk as a G64 file in the standard layout: the tracks in half-track order, each in
// a slot of `trackBytes` (or the longest track's length, if more).
std::vector<uint8_t> writeG64(const Disk& disk, int halfTracks = g64MostHalfTracks,
                              int trackBytes = g64StandardTrackBytes);

}  // namespace gcr

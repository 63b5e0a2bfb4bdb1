// Drive 8 serving a G64 image. At this level the disk is the sectors its tracks decode to,
// served as a D64's are but write-protected: only a true drive writes raw tracks, and it
// writes them back here, into the file as it stands on disk.
#include "disk/g64.h"

#include <algorithm>
#include <cstring>

#include "common/log.h"
#include "drive/d64_image.h"
#include "fileio/files.h"

namespace {

// The sectors of tracks 1-40 whose header and data decode, in place of the image's;
// 40 tracks when any beyond 35 decodes. Returns how many did.
int decodeSectors(const gcr::Disk& disk) {
    std::memset(drive.d64Image, 0, sizeof drive.d64Image);
    int decoded = 0, outer = 0;
    for (int track = 1; track <= 40; ++track) {
        const int read = gcr::toD64(disk.tracks[2 * track], track, drive.d64Image);
        decoded += read;
        if (track > 35) outer += read;
    }
    drive.tracks = outer ? 40 : 35;
    drive.hasErrorBytes = false;
    return decoded;
}

}  // namespace

std::string imageRefusal(std::span<const uint8_t> bytes) {
    if (gcr::isG64(bytes)) return gcr::readG64(bytes).error;
    const bool fits = !bytes.empty() && bytes.size() <= d64LargestImageBytes + d64LargestErrorBytes;
    return fits ? "" : "the disk image cannot be read";
}

void takeG64Image(const files::ReadResult& file, bool replaceable) {
    const gcr::G64 g64 = gcr::readG64(file.bytes);
    const int decoded = decodeSectors(g64.disk);
    drive.g64 = true;
    drive.g64File = file.bytes;
    drive.imageStamp = file.stamp;
    drive.writeProtected = true;
    drive.g64Writable = replaceable && !g64.speedMaps;
    logLine(
        "Info: G64 image of %d half-tracks, %d sectors decode; writing to it needs a true drive "
        "(TrueDrive8).\n",
        g64.halfTracks, decoded);
    if (g64.speedMaps)
        logLine(
            "Warning: the G64 gives some tracks' bit rates byte by byte; they are read at their "
            "zone's rate, and the image is not written to.\n");
}

bool writeBackG64(const gcr::Disk& disk) {
    const std::string& path = drive.mediumPath;
    if (path.empty()) return true;  // an image held only in memory
    files::HeldFile held = files::holdFile(path);
    if (!held && files::nameTaken(path)) return false;
    // Someone else's version is the base: only the half-tracks the drive wrote replace theirs.
    const bool theirs = held && held.stamp() != drive.imageStamp;
    const files::ReadResult now = theirs ? held.read(d64LargestFileBytes) : files::ReadResult{};
    gcr::G64 merged = gcr::readG64(theirs ? std::span<const uint8_t>(now.bytes) : drive.g64File);
    if (!merged.error.empty() || merged.speedMaps) {
        logLine(
            "Warning: %s was changed by another program and is no G64 the drive can write to; "
            "the drive's changes are not written over it.\n",
            path.c_str());
        return false;
    }
    if (theirs)
        logLine("Info: %s was changed by another program; the drive's tracks go into it.\n", path.c_str());
    int halfTracks = merged.halfTracks;
    for (int h = 2; h < gcr::halfTrackCount; ++h) {
        if (!disk.changed[h]) continue;
        merged.disk.tracks[h] = disk.tracks[h];
        merged.disk.density[h] = disk.density[h];
        halfTracks = std::max(halfTracks, h - 1);
    }
    std::vector<uint8_t> bytes = gcr::writeG64(merged.disk, halfTracks, merged.trackBytes);
    if (!writeImageFile(held, bytes)) return false;
    drive.g64File = std::move(bytes);
    decodeSectors(gcr::readG64(drive.g64File).disk);
    return true;
}

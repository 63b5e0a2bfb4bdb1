#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "chips/tia6523.h"
#include "disk/gcr.h"
#include "fileio/files.h"
#include "fileio/folder.h"
#include "state/machine.h"

// Drive 8 on the parallel port at $FEF0-$FEF7: a 1551 as the KERNAL sees it, with one
// channel per secondary address, serving a D64 image or a folder of the host.

// The cable's 6523 on the computer's side (chips/tia6523.h): port A carries the bytes
// both ways, port B bits 0-1 the drive's status, port C bit 6 the computer's handshake
// (DAV) and bit 7 the drive's (ACK).

// The port, called by the memory map for every access to $FE00-$FEFF: the cable's 6523
// at $FEF0-$FEF7; the rest of the page reads 0.
uint8_t readDrivePort(uint16_t address);
void writeDrivePort(uint16_t address, uint8_t value);

// Power-on: every channel closed, the error channel shows the DOS version; `attached`
// says whether a drive answers on the port at all. The medium stays as it is.
void powerOnDrive(bool attached);

// The medium, at start-up or at run time; a mount attaches the drive. A mount that fails
// returns false and leaves the drive as it was: at start-up empty, so that every request
// answers 74,DRIVE NOT READY. Unmounting closes every channel without writing.
// mountD64Image takes the image file a caller has already read from `path` (refusing
// none, or more than any image holds); mountD64 reads it itself. Either removes the
// temporary files a killed write of the image left beside it.
//
// The image is held in memory and each change is written back to the file at once, under
// a lock that other writers of the image take too. A file changed by anyone else since it
// was read (another emulator, another tool) is read again before a request is served,
// and a change meets the version on disk: no save is reported done that is not in the file.
bool mountD64(const std::string& path);
bool mountD64Image(const std::string& path, const files::ReadResult& file);
bool mountHostDirectory(const std::string& path);
void unmountDrive();

// Writes the image as drive.d64Image now holds it back to its file (a true drive changed
// it); true when it reached the file or is held only in memory. A file someone else
// changed since it was read is kept as they left it (false, and a warning in the log):
// a true drive's sectors cannot be told from theirs. A file that has gone is written anew.
bool writeBackD64();

// A G64 image (drive/g64.cpp) is mounted by the same calls, told by its signature. At
// this level its disk is the sectors that decode, write-protected; a true drive turns
// its raw tracks and writes them back with writeBackG64: the half-tracks the disk marks
// changed replace theirs in the file as it stands (someone else's changes to other
// tracks are kept), laid out anew. False, and the file left alone, when it cannot be
// written or someone made it something else.
bool writeBackG64(const gcr::Disk& disk);

// Why a medium file cannot be mounted, or empty when it can: a D64 larger than any image,
// or a G64 that is cut short or lies about its tracks.
std::string imageRefusal(std::span<const uint8_t> bytes);

// An image of 35 or 40 tracks held only in memory, as drive.d64Image holds it (tests and
// fuzzing build one there); changes are never written to a file.
void mountD64InMemory(int tracks);

// D64 geometry: tracks 1-40 in zones of equal sector counts. A 35-track image has 683
// sectors; a 40-track one adds tracks 36-40 of 17 sectors each.
struct D64Zone {
    int firstTrack, lastTrack, sectors;
};
// clang-format off
inline constexpr D64Zone d64Zones[] = {
    // tracks   sectors
    {1, 17, 21},
    {18, 24, 19},
    {25, 30, 18},
    {31, 40, 17},
};
// clang-format on

constexpr int sectorsOnTrack(int track) {
    for (const D64Zone& zone : d64Zones)
        if (track >= zone.firstTrack && track <= zone.lastTrack) return zone.sectors;
    return 0;
}

// The byte offset of each track's sector 0, tracks 1-40 (41 is the end).
inline constexpr std::array<uint32_t, 42> trackOffset = [] {
    std::array<uint32_t, 42> offset{};
    for (int t = 1; t <= 40; ++t) offset[t + 1] = offset[t] + d64SectorBytes * sectorsOnTrack(t);
    return offset;
}();
static_assert(trackOffset[36] == d64ImageBytes && trackOffset[41] == d64LargestImageBytes);

#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "chips/tia6523.h"
#include "fileio/files.h"
#include "fileio/folder.h"

// Drive 8 on the parallel port at $FEF0-$FEF7: a 1551 as the KERNAL sees it, with one
// channel per secondary address, serving a D64 image or a folder of the host.

// The cable's 6523 on the computer's side (chips/tia6523.h): port A carries the bytes
// both ways, port B bits 0-1 the drive's status, port C bit 6 the computer's handshake
// (DAV) and bit 7 the drive's (ACK).

// Where the drive is in one byte's handshake. Every byte begins with a code on the data
// lines ($81 bus command, $82 secondary address, $83 data byte, $84 "send me a byte"),
// then the computer lowers DAV with the byte, the drive answers with ACK high and a
// status, and DAV rises again; a byte read takes a second DAV cycle to hand the data
// lines back.
enum PortPhase : uint8_t { phaseIdle, phaseCode, phaseAnswered, phaseReleased, phaseClosing };

// The status the drive answers a byte with, on port B: a byte read from a channel that
// has nothing to send (not open, or its file not found) comes with 2, which the KERNAL
// takes as a read time-out; the last byte of a file or line comes with 3, the end mark.
enum PortStatus : uint8_t { portReady = 0, portNothing = 2, portLast = 3 };

// What the bytes of the current LISTEN are for: a name (after OPEN, or with no secondary
// address at all), data for a channel, or nothing (after CLOSE, or once UNLISTEN ended it).
enum ListenTarget : uint8_t { listenName, listenData, listenClose, listenDone };

enum ChannelMode : uint8_t { channelClosed, channelReading, channelWriting };

// File kinds as the low bits of a directory entry's type byte.
enum FileKind : uint8_t { kindDel = 0, kindSeq = 1, kindPrg = 2, kindUsr = 3, kindRel = 4 };

enum Medium : uint8_t { noMedium, hostFolderMedium, d64Medium };

constexpr int channelCount = 16;
constexpr uint8_t loadChannel = 0, saveChannel = 1, commandChannel = 15;
constexpr int commandBufferBytes = 256;
constexpr int statusTextBytes = 48;

constexpr int d64SectorBytes = 256;
constexpr int d64ImageBytes = 174848;         // 35 tracks, 683 sectors
constexpr int d64LargestImageBytes = 196608;  // 40 tracks, 768 sectors
constexpr int d64LargestErrorBytes = 768;
// How much of an image file is read: far above any image, with or without error bytes, so
// that a larger image file is refused by mountD64Image and a huge one by the read.
constexpr size_t d64LargestFileBytes = 1 << 20;

struct Channel {
    ChannelMode mode = channelClosed;
    uint8_t kind = kindPrg;     // the kind a write creates
    bool replace = false;       // "@": the write replaces a file of the same name
    bool overflow = false;      // more was written than any file may hold
    std::string name;           // the file a write creates
    std::vector<uint8_t> data;  // what a read hands out, or what a write has collected
    uint32_t position = 0;      // the next byte a read hands out
};

// The drive's state, one instance: the port, the bus, the channels, the error channel
// and the medium. A machine reset leaves it alone, as it does the real drive.
struct Drive {
    bool attached = false;   // a drive answers on the port (it may still be empty)
    bool cableOnly = false;  // a true 1551 answers on the cable: the port holds only its chip
    Tia6523 tia;
    // The drive's side of the lines: ACK, the status bits and the byte it talks.
    bool ack = true, talkingData = false;
    uint8_t statusLines = 0, dataOut = 0;
    bool dav = true;  // the computer's handshake as the drive last saw it
    PortPhase phase = phaseIdle;
    uint8_t code = 0;  // the code byte of the handshake in progress

    bool talking = false;  // a TALK is on: a $6n secondary address names the channel read
    ListenTarget listenTarget = listenName;
    uint8_t listenChannel = 0, talkChannel = 0;
    uint8_t commandBuffer[commandBufferBytes] = {};  // a name or a disk command
    uint32_t commandLength = 0;
    uint8_t lastChannelCommand = 0;  // the last OPEN or CLOSE byte, for the log
    Channel channels[channelCount];

    char statusText[statusTextBytes] = {};  // the error channel's line, without its CR
    uint8_t statusLength = 0, statusPosition = 0;

    Medium medium = noMedium;
    std::string mediumPath;       // the folder or image file; empty for an image held only in memory
    files::Folder folder;         // the host folder, reached only through its descriptor
    uint32_t folderReads = 0;     // how often the folder was read whole: its listing is kept while unchanged
    files::FileStamp imageStamp;  // the version of the image file held in d64Image
    bool writeProtected = false;
    int tracks = 35;
    bool hasErrorBytes = false;
    uint8_t d64Image[d64LargestImageBytes] = {};
    uint8_t errorBytes[d64LargestErrorBytes] = {};
};

// defined in drive/drive_port.cpp
extern Drive drive;

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

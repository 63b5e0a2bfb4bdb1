#pragma once
// Drive 8 at port level: the cable's side, the channels and the medium (drive/drive.h).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "chips/tia6523.h"
#include "fileio/files.h"
#include "fileio/folder.h"

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

// A file as the medium's directory shows it.
struct FileEntry {
    std::string name;     // the name a request matches (host: the file name less its extension)
    uint8_t type = 0x82;  // as a directory entry's type byte: bit 7 closed, bit 6 locked, kind
    uint16_t blocks = 0;
    uint32_t where = 0;    // D64: offset of the entry in the image
    std::string hostName;  // host: the file's name in the folder
};

// The folder's files as last read, kept while the folder's stamp stays the same: a large
// folder is then read once, not at every LOAD. A stamp is trusted only once the folder's
// last change lies further back than its clock's step, so a change in the same step as
// the reading still shows as a new stamp later (two seconds for stamps in whole seconds).
struct KeptListing {
    files::FileStamp folder;
    bool trusted = false;
    std::vector<FileEntry> files;
};

struct Channel {
    ChannelMode mode = channelClosed;
    uint8_t kind = kindPrg;     // the kind a write creates
    bool replace = false;       // "@": the write replaces a file of the same name
    bool overflow = false;      // more was written than any file may hold
    std::string name;           // the file a write creates
    std::vector<uint8_t> data;  // what a read hands out, or what a write has collected
    uint32_t position = 0;      // the next byte a read hands out
};

// The drive's state, a member of the machine: the port, the bus, the channels, the error
// channel and the medium. A machine reset leaves it alone, as it does the real drive.
// NOLINTNEXTLINE(bugprone-reserved-identifier): a false report on the implicit move
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
    KeptListing keptListing;      // the folder's files as last read
    uint32_t folderReads = 0;     // how often the folder was read whole: its listing is kept while unchanged
    files::FileStamp imageStamp;  // the version of the image file held in d64Image
    bool writeProtected = false;
    int tracks = 35;
    bool hasErrorBytes = false;
    uint8_t d64Image[d64LargestImageBytes] = {};
    uint8_t errorBytes[d64LargestErrorBytes] = {};
    // A G64 image: d64Image holds the sectors its tracks decode to (write-protected at
    // this level), g64File the file as last read or written, which a true drive turns.
    bool g64 = false;
    bool g64Writable = false;  // a true drive may write it back
    std::vector<uint8_t> g64File;
};

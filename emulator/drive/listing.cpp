// The directory listing both media send: a tokenless BASIC program loaded at $1001
// whose line numbers are the block counts, so LIST shows it like a 1551 would.
#include <algorithm>
#include <cstring>

#include "drive/drive.h"
#include "drive/drive_media.h"

namespace {

constexpr uint16_t listingAddress = 0x1001;
// Loaded at $1001 the listing ends before $FD00, the end of BASIC's RAM: above it lie the
// I/O registers, which a load must never reach.
constexpr uint16_t basicRamEnd = 0xFD00;
constexpr uint32_t longestListing = 2 + basicRamEnd - listingAddress;
constexpr uint32_t closingBytes = 32;  // the "BLOCKS FREE." line and the end marker

constexpr const char* kindNames[8] = {"DEL", "SEQ", "PRG", "USR", "REL", "???", "???", "???"};

struct Line {
    uint8_t bytes[48];
    uint32_t length = 0;
    void put(uint8_t value) { bytes[length++] = value; }
    void text(const char* chars) {
        while (*chars) put(static_cast<uint8_t>(*chars++));
    }
    void put(const uint8_t* data, uint32_t count) {
        for (uint32_t i = 0; i < count; ++i) put(data[i]);
    }
    void spaces(uint32_t count) {
        for (uint32_t i = 0; i < count; ++i) put(' ');
    }
    void word(uint16_t value) {
        put(value & 0xFF);
        put(value >> 8);
    }
};

uint16_t addressAt(size_t index) { return static_cast<uint16_t>(listingAddress - 2 + index); }

void append(std::vector<uint8_t>& listing, const Line& line) {
    listing.insert(listing.end(), line.bytes, line.bytes + line.length);
}

// Names line up under each other in a LIST as long as the count has at most three digits.
uint32_t leadingSpaces(uint16_t blocks) { return blocks < 10 ? 3 : blocks < 100 ? 2 : blocks < 1000 ? 1 : 0; }
uint32_t trailingSpaces(uint16_t blocks) { return (blocks >= 100 ? 1 : 0) + (blocks >= 10 ? 1 : 0); }

void addHeader(std::vector<uint8_t>& listing, const MediumOps& ops) {
    uint8_t diskName[16], id[2], dosType[2];
    ops.header(diskName, id, dosType);
    Line line;
    line.word(listingAddress);
    line.word(addressAt(32));
    line.word(0);
    line.put(0x12);  // reverse on
    line.put('"');
    line.put(diskName, 16);
    line.put('"');
    line.put(' ');
    line.put(id, 2);
    line.put(' ');
    line.put(dosType, 2);
    line.put(0x00);
    append(listing, line);
}

// False once the listing is full.
bool addFileLine(std::vector<uint8_t>& listing, const FileEntry& file, bool capitals) {
    const uint32_t nameLength = uint32_t(file.name.size());
    uint8_t name[longestName];
    for (uint32_t i = 0; i < nameLength; ++i) {
        const char c = file.name[i];
        name[i] = uint8_t(capitals && c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    Line line;
    line.word(0);  // link, set below once the length is known
    line.word(file.blocks);
    line.spaces(leadingSpaces(file.blocks));
    line.put('"');
    line.put(name, nameLength);
    line.put('"');
    line.spaces(16 - nameLength);
    line.put(file.type & 0x80 ? ' ' : '*');  // an unclosed file is marked
    line.text(kindNames[file.type & 0x07]);
    line.put(file.type & 0x40 ? '<' : ' ');
    line.put(' ');
    line.spaces(trailingSpaces(file.blocks));
    line.put(0x00);
    if (listing.size() + line.length + closingBytes > longestListing) return false;
    // A count of four digits or more makes the line one byte short of 32; the link
    // follows the real length, or LIST would run into the middle of the next line.
    const uint16_t next = addressAt(listing.size() + line.length);
    line.bytes[0] = next & 0xFF;
    line.bytes[1] = next >> 8;
    append(listing, line);
    return true;
}

void addClosing(std::vector<uint8_t>& listing, uint16_t blocksFree) {
    Line line;
    line.word(addressAt(listing.size() + 30));
    line.word(blocksFree);
    line.text("BLOCKS FREE.");
    line.spaces(13);
    line.put(0x00);
    line.word(0x0000);  // end of program
    append(listing, line);
}

}  // namespace

void buildListing(std::vector<uint8_t>& out, const MediumOps& ops, const std::vector<FileEntry>& files,
                  const std::string& pattern) {
    ops.logListing();
    out.clear();
    addHeader(out, ops);
    for (const FileEntry& file : files) {
        // A host name too long for a directory entry can be loaded by name but is not shown.
        if (file.name.size() > longestName || !matchesPattern(pattern, file.name, ops.foldCase)) continue;
        if (!addFileLine(out, file, ops.foldCase)) break;
    }
    addClosing(out, ops.blocksFree());
}

// The directory listing both media send: a tokenless BASIC program loaded at $1001
// whose line numbers are the block counts, so LIST shows it like a 1551 would.
#include <algorithm>
#include <cstring>

#include "drive/drive.h"
#include "drive/drive_media.h"

namespace {

constexpr uint16_t listingAddress = 0x1001;
constexpr uint32_t closingBytes = 32;       // the "BLOCKS FREE." line and the end marker
constexpr uint32_t longestAnswer = 0xFFFF;  // drive.dataLength is 16-bit

constexpr const char* kindNames[8] = {"DEL", "SEQ", "PRG", "USR", "REL", "???", "???", "???"};

uint32_t listingLength;

uint16_t addressAt(uint32_t index) { return static_cast<uint16_t>(listingAddress - 2 + index); }

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

void append(const Line& line) {
    std::memcpy(drive.transferBuffer + listingLength, line.bytes, line.length);
    listingLength += line.length;
}

// Names line up under each other in a LIST as long as the count has at most three digits.
uint32_t leadingSpaces(uint16_t blocks) { return blocks < 10 ? 3 : blocks < 100 ? 2 : blocks < 1000 ? 1 : 0; }
uint32_t trailingSpaces(uint16_t blocks) { return (blocks >= 100 ? 1 : 0) + (blocks >= 10 ? 1 : 0); }

}  // namespace

void beginListing(const uint8_t diskName[16], const uint8_t id[2], const uint8_t dosType[2]) {
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
    listingLength = 0;
    append(line);
}

void addListingLine(uint16_t blocks, const uint8_t* name, uint32_t nameLength, uint8_t typeByte) {
    nameLength = std::min<uint32_t>(nameLength, 16);
    Line line;
    line.word(0);  // link, set below once the length is known
    line.word(blocks);
    line.spaces(leadingSpaces(blocks));
    line.put('"');
    line.put(name, nameLength);
    line.put('"');
    line.spaces(16 - nameLength);
    line.put(typeByte & 0x80 ? ' ' : '*');  // an unclosed file is marked
    line.text(kindNames[typeByte & 0x07]);
    line.put(typeByte & 0x40 ? '<' : ' ');
    line.put(' ');
    line.spaces(trailingSpaces(blocks));
    line.put(0x00);
    if (listingLength + line.length + closingBytes > longestAnswer) return;
    // A count of four digits or more makes the line one byte short of 32; the link
    // follows the real length, or LIST would run into the middle of the next line.
    const uint16_t next = addressAt(listingLength + line.length);
    line.bytes[0] = next & 0xFF;
    line.bytes[1] = next >> 8;
    append(line);
}

void endListing(uint16_t blocksFree) {
    Line line;
    line.word(addressAt(listingLength + 30));
    line.word(blocksFree);
    line.text("BLOCKS FREE.");
    line.spaces(13);
    line.put(0x00);
    line.word(0x0000);  // end of program
    append(line);
    drive.dataLength = static_cast<uint16_t>(listingLength);
}

#pragma once
#include <cstdint>

// What the two media behind drive 8 share: the name rules of the port, the end of a
// transfer, and the directory listing in the form of a BASIC program at $1001.

// Drops a drive prefix such as "0:" from the name in drive.commandBuffer.
void stripDrivePrefix();
// The empty UNLISTEN after CLOSE: nothing left to read.
void endTransfer();
// Length of the zero-terminated name in drive.commandBuffer; never beyond the buffer.
uint32_t requestedNameLength();

// The listing is built into drive.transferBuffer; lines that no longer fit are left out so
// the closing line and end marker always do.
void beginListing(const uint8_t diskName[16], const uint8_t id[2], const uint8_t dosType[2]);
// A file line; typeByte as in a directory entry (0x82 is a closed, unlocked PRG).
void addListingLine(uint16_t blocks, const uint8_t* name, uint32_t nameLength, uint8_t typeByte);
// The "BLOCKS FREE." line and the end of the program; sets drive.dataLength.
void endListing(uint16_t blocksFree);

// The host drive's free-space figure: free bytes, capped at 32768.
uint16_t freeBytesShown(uint64_t freeBlocks, uint64_t blockSize);

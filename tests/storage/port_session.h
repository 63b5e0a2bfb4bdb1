#pragma once
// Plays the computer's side of the 1551 protocol, as the KERNAL does it, through the
// drive port's registers.
#include <cstdint>
#include <string>
#include <vector>

#include "drive/drive.h"

// Puts the drive back to its power-on state: type 1 attaches it empty (mount a folder),
// type 2 with an empty 35-track image in memory, anything else detaches it.
void resetDrive(int32_t driveType);

// One byte to $FEF0, as the KERNAL sends codes, bus commands and name bytes.
void sendToDrive(uint8_t value);
void busCommand(uint8_t command);  // 0x83 and the command

// False once any code or bus command of the helpers below went unanswered.
extern bool handshakesAnswered;

struct LoadResult {
    uint8_t statusAfterName = 0;  // $FEF1 after UNLISTEN
    std::vector<uint8_t> bytes;   // delivered until status 3
    bool endedWithStatus3 = false;
    bool handshakesAnswered = true;  // every code and bus command was acknowledged
};

// LISTEN, OPEN, name, UNLISTEN, TALK, DATA, reads until status 3, UNTALK, LISTEN, CLOSE, UNLISTEN.
LoadResult loadThroughPort(const std::string& name);

// The channel operations of the KERNAL's 1551 routines:
// LISTEN, SECOND $F0+channel, the name, UNLISTEN; returns $FEF1 (2: the channel did not open).
uint8_t openChannelByName(uint8_t channel, const std::string& name);
// LISTEN, SECOND $60+channel, one CIOUT per byte, UNLISTEN (PRINT#).
void writeToChannel(uint8_t channel, const std::vector<uint8_t>& bytes);
// TALK, TKSA $60+channel, ACPTR until status 3 or `limit` bytes, UNTALK.
std::vector<uint8_t> readFromChannel(uint8_t channel, size_t limit = 0x20000);
// TALK, TKSA, one ACPTR, UNTALK (GET#); `last` is whether status 3 came with it.
uint8_t getByte(uint8_t channel, bool& last);
// LISTEN, SECOND $E0+channel, UNLISTEN.
void closeChannelOnBus(uint8_t channel);
// The error channel's line without its CR, as DS$ reads it.
std::string errorChannel();
// A disk command on channel 15, then the error channel.
std::string diskCommand(const std::string& command);
// SAVE as the KERNAL does it (OPEN 1 with the name, the bytes, CLOSE 1); the error channel.
std::string saveThroughPort(const std::string& name, const std::vector<uint8_t>& bytes);

// LISTEN, the name, UNLISTEN: the drive prepares its answer on channel 0.
void request(const std::string& name);
std::vector<uint8_t> listing();  // the answer to "$"

// A string as the bytes a listing or file holds.
std::vector<uint8_t> bytesOf(const std::string& text);
std::vector<uint8_t> answer();              // what channel 0 holds for reading
std::vector<uint8_t> word(uint16_t value);  // little-endian

#pragma once
// Plays the computer's side of the 1551 protocol, as the KERNAL does it, through the
// drive port's registers (support/kernal_cable.h does each byte's handshake).
#include <cstdint>
#include <string>
#include <vector>

#include "drive/drive.h"

// Puts the drive back to its power-on state: type 1 attaches it empty (mount a folder),
// type 2 with an empty 35-track image in memory, anything else detaches it.
void resetDrive(int32_t driveType);

void busCommand(uint8_t command);  // code $81 and the command

// False once any handshake of the helpers below went unanswered.
extern bool handshakesAnswered;

// What OPEN leaves: the channel open, or not (the KERNAL learns it at the first read).
constexpr uint8_t opened = 0, notOpened = 2;

struct LoadResult {
    uint8_t firstStatus = 0;     // the status of the first byte: 2 when the file was not found
    std::vector<uint8_t> bytes;  // delivered until status 3
    bool endedWithStatus3 = false;
    bool handshakesAnswered = true;  // every handshake was answered
};

// LISTEN, OPEN, name, UNLISTEN, TALK, DATA, reads until status 3, UNTALK, LISTEN, CLOSE,
// UNLISTEN; as the KERNAL's LOAD, it reads no further when the first byte says 2.
LoadResult loadThroughPort(const std::string& name);

// The channel operations of the KERNAL's 1551 routines:
// LISTEN, SECOND $F0+channel, the name, UNLISTEN; returns `opened` or `notOpened`.
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

// LISTEN, the name, UNLISTEN: the drive prepares its answer on channel 0; returns
// `opened` or `notOpened`.
uint8_t request(const std::string& name);
std::vector<uint8_t> listing();  // the answer to "$"

// A string as the bytes a listing or file holds.
std::vector<uint8_t> bytesOf(const std::string& text);
std::vector<uint8_t> answer();              // what channel 0 holds for reading
std::vector<uint8_t> word(uint16_t value);  // little-endian

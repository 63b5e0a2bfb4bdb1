#pragma once
// Plays the computer's side of the 1551 protocol, as the KERNAL does it, through the
// drive port's registers.
#include <cstdint>
#include <string>
#include <vector>

#include "drive/drive.h"

// Puts the drive back to its power-on state.
void resetDrive(int32_t driveType);

// One byte to $FEF0, as the KERNAL sends codes, bus commands and name bytes.
void sendToDrive(uint8_t value);
void busCommand(uint8_t command);  // 0x83 and the command

struct LoadResult {
    uint8_t statusAfterName = 0;  // $FEF1 after UNLISTEN
    std::vector<uint8_t> bytes;   // delivered until status 3
    bool endedWithStatus3 = false;
    bool handshakesAnswered = true;  // every code and bus command was acknowledged
};

// LISTEN, OPEN, name, UNLISTEN, TALK, DATA, reads until status 3, UNTALK, LISTEN, CLOSE, UNLISTEN.
LoadResult loadThroughPort(const std::string& name);

// LISTEN, the name, UNLISTEN: the drive prepares its answer.
void request(const std::string& name);
std::vector<uint8_t> listing();  // the answer to "$"

// A string as the bytes a listing or file holds.
std::vector<uint8_t> bytesOf(const std::string& text);
std::vector<uint8_t> answer();              // drive.transferBuffer up to drive.dataLength
std::vector<uint8_t> word(uint16_t value);  // little-endian

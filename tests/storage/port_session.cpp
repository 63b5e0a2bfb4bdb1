#include "port_session.h"

#include <cstring>

#include "host/configuration.h"
#include "support/fake_platform.h"

bool handshakesAnswered = true;

void resetDrive(int32_t driveType) {
    resetFakePlatform();
    emulatorConfig.driveType8 = driveType;
    unmountDrive();
    powerOnDrive(driveType == 1 || driveType == 2);
    std::memset(drive.d64Image, 0, sizeof drive.d64Image);
    if (driveType == 2) mountD64InMemory(35);
    handshakesAnswered = true;
}

namespace {

bool handshakeReads(uint8_t expected) { return readDrivePort(0xFEF2) == expected; }
void check(bool ok) { handshakesAnswered = handshakesAnswered && ok; }

// The computer toggles its handshake bit after each byte and waits for the drive's answer.
bool toggleHandshake() {
    writeDrivePort(0xFEF2, 0x40);
    const bool low = handshakeReads(0x00);
    writeDrivePort(0xFEF2, 0x00);
    return low && handshakeReads(0xFF);
}

void listen() {
    busCommand(0x20);
    check(handshakeReads(0xFF));
}
void unlisten() {
    busCommand(0x3F);
    check(handshakeReads(0xFF));
}
void secondary(uint8_t value) {
    sendToDrive(0x82);
    check(handshakeReads(0x00));
    sendToDrive(value);
}
void dataByte(uint8_t value) {
    sendToDrive(0x81);
    check(handshakeReads(0x00));
    sendToDrive(value);
    check(toggleHandshake());
}
// One ACPTR: the byte, and whether the drive marked it the last.
uint8_t acptr(bool& last) {
    sendToDrive(0x84);
    check(handshakeReads(0x00));
    const uint8_t value = readDrivePort(0xFEF0);
    last = readDrivePort(0xFEF1) == 3;
    check(toggleHandshake());
    return value;
}

}  // namespace

void sendToDrive(uint8_t value) { writeDrivePort(0xFEF0, value); }

void busCommand(uint8_t command) {
    sendToDrive(0x83);
    sendToDrive(command);
}

LoadResult loadThroughPort(const std::string& name) {
    handshakesAnswered = true;
    LoadResult result;
    result.statusAfterName = openChannelByName(0, name);
    if (result.statusAfterName == 0) {
        busCommand(0x40);  // TALK
        secondary(0x60);   // DATA channel 0
        for (int guard = 0; guard < 0x10000 && !result.endedWithStatus3; ++guard)
            result.bytes.push_back(acptr(result.endedWithStatus3));
        busCommand(0x5F);  // UNTALK
        check(readDrivePort(0xFEF1) == 0);
    }
    closeChannelOnBus(0);
    result.handshakesAnswered = handshakesAnswered;
    return result;
}

uint8_t openChannelByName(uint8_t channel, const std::string& name) {
    listen();
    secondary(uint8_t(0xF0 | channel));
    check(handshakeReads(0xFF));
    for (char c : name) dataByte(static_cast<uint8_t>(c));
    unlisten();
    return readDrivePort(0xFEF1);
}

void writeToChannel(uint8_t channel, const std::vector<uint8_t>& bytes) {
    listen();
    secondary(uint8_t(0x60 | channel));
    for (uint8_t b : bytes) dataByte(b);
    unlisten();
}

std::vector<uint8_t> readFromChannel(uint8_t channel, size_t limit) {
    std::vector<uint8_t> bytes;
    busCommand(0x40);
    secondary(uint8_t(0x60 | channel));
    for (bool last = false; !last && bytes.size() < limit;) bytes.push_back(acptr(last));
    busCommand(0x5F);
    return bytes;
}

uint8_t getByte(uint8_t channel, bool& last) {
    busCommand(0x40);
    secondary(uint8_t(0x60 | channel));
    const uint8_t value = acptr(last);
    busCommand(0x5F);
    return value;
}

void closeChannelOnBus(uint8_t channel) {
    listen();
    secondary(uint8_t(0xE0 | channel));
    unlisten();
}

std::string errorChannel() {
    const std::vector<uint8_t> line = readFromChannel(15, 80);
    std::string text(line.begin(), line.end());
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

std::string diskCommand(const std::string& command) {
    writeToChannel(15, bytesOf(command));
    return errorChannel();
}

std::string saveThroughPort(const std::string& name, const std::vector<uint8_t>& bytes) {
    if (openChannelByName(1, name) == 0) writeToChannel(1, bytes);
    closeChannelOnBus(1);
    return errorChannel();
}

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> answer() {
    const Channel& channel = drive.channels[0];
    return channel.mode == channelReading ? channel.data : std::vector<uint8_t>{};
}

void request(const std::string& name) {
    busCommand(0x20);
    for (char c : name) {
        sendToDrive(0x81);
        sendToDrive(static_cast<uint8_t>(c));
    }
    busCommand(0x3F);
}

std::vector<uint8_t> listing() {
    request("$");
    return answer();
}

std::vector<uint8_t> word(uint16_t value) { return {uint8_t(value & 0xFF), uint8_t(value >> 8)}; }

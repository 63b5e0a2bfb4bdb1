#include "port_session.h"

#include <cstring>

#include "host/configuration.h"
#include "support/fake_platform.h"

void resetDrive(int32_t driveType) {
    resetFakePlatform();
    emulatorConfig.driveType8 = driveType;
    drive.dataLatch = drive.status = drive.handshake = 0;
    drive.portState = portIdle;
    std::memset(drive.commandBuffer, 0, sizeof drive.commandBuffer);
    std::memset(drive.transferBuffer, 0, sizeof drive.transferBuffer);
    drive.commandLength = 0;
    drive.readPosition = drive.dataLength = 0;
    drive.lastChannelCommand = 0;
    std::memset(drive.d64Image, 0, sizeof drive.d64Image);
    buildTrackOffsets();
}

namespace {

bool handshakeReads(uint8_t expected) { return readDrivePort(0xFEF2) == expected; }

// The computer toggles its handshake bit after each byte and waits for the drive's answer.
bool toggleHandshake() {
    writeDrivePort(0xFEF2, 0x40);
    const bool low = handshakeReads(0x00);
    writeDrivePort(0xFEF2, 0x00);
    return low && handshakeReads(0xFF);
}

}  // namespace

void sendToDrive(uint8_t value) { writeDrivePort(0xFEF0, value); }

void busCommand(uint8_t command) {
    sendToDrive(0x83);
    sendToDrive(command);
}

LoadResult loadThroughPort(const std::string& name) {
    LoadResult result;
    auto check = [&](bool ok) { result.handshakesAnswered = result.handshakesAnswered && ok; };
    busCommand(0x20);  // LISTEN
    check(handshakeReads(0xFF));
    sendToDrive(0x82);
    check(handshakeReads(0x00));
    sendToDrive(0xF0);  // OPEN channel 0
    check(handshakeReads(0xFF));
    for (char c : name) {
        sendToDrive(0x81);
        check(handshakeReads(0x00));
        sendToDrive(static_cast<uint8_t>(c));
        check(toggleHandshake());
    }
    busCommand(0x3F);  // UNLISTEN
    check(handshakeReads(0xFF));
    result.statusAfterName = readDrivePort(0xFEF1);
    if (result.statusAfterName == 0) {
        busCommand(0x40);  // TALK
        sendToDrive(0x82);
        sendToDrive(0x60);  // DATA channel 0
        for (int guard = 0; guard < 0x10000; ++guard) {
            sendToDrive(0x84);
            check(handshakeReads(0x00));
            result.bytes.push_back(readDrivePort(0xFEF0));
            if (readDrivePort(0xFEF1) == 3) {
                result.endedWithStatus3 = true;
                break;
            }
            check(toggleHandshake());
        }
        busCommand(0x5F);  // UNTALK
        check(readDrivePort(0xFEF1) == 0);
    }
    busCommand(0x20);
    sendToDrive(0x82);
    sendToDrive(0xE0);  // CLOSE channel 0
    busCommand(0x3F);
    check(handshakeReads(0xFF));
    return result;
}

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> answer() { return {drive.transferBuffer, drive.transferBuffer + drive.dataLength}; }

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

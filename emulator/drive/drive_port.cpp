// Drive 8 as the computer sees it through the 1551 parallel port at $FEF0-$FEF2.
// No drive processor runs: the port collects the name, builds the whole answer when
// the LISTEN ends and then hands it out byte by byte.
#include <cstring>

#include "common/configuration.h"
#include "common/log.h"
#include "drive/drive.h"
#include "drive/drive_media.h"

Drive drive;

namespace {

enum DriveType : int32_t { noDrive = 0, hostDirectoryDrive = 1, d64Drive = 2 };

bool driveAttached() {
    return emulatorConfig.driveType8 == hostDirectoryDrive || emulatorConfig.driveType8 == d64Drive;
}

void clearCommandBuffer() {
    std::memset(drive.commandBuffer, 0, sizeof drive.commandBuffer);
    drive.commandLength = 0;
}

// Command codes and channel bytes.
void writeIdle(uint8_t value) {
    switch (value) {
        case 0x55:
            drive.dataLatch = 0x55;
            clearCommandBuffer();
            drive.status = 0;
            break;
        case 0x81:
            drive.handshake = 0x00;
            drive.portState = portExpectDataByte;
            break;
        case 0x82:  // the channel byte that follows is taken in this state too
            drive.handshake = 0x00;
            break;
        case 0x83:
            drive.handshake = 0x00;
            drive.portState = portExpectBusCommand;
            break;
        case 0x84:
            // The KERNAL polls the handshake after every byte, so the byte is ready at once.
            drive.handshake = 0x00;
            drive.dataLatch = drive.transferBuffer[drive.readPosition];
            ++drive.readPosition;
            drive.status = drive.readPosition == drive.dataLength ? 3 : 0;
            break;
        case 0xE0:
            drive.status = 0;
            drive.lastChannelCommand = 0xE0;
            drive.handshake = 0xFF;
            break;
        case 0xF0:
            drive.lastChannelCommand = 0xF0;
            drive.handshake = 0xFF;
            break;
        default:
            break;
    }
}

void writeBusCommand(uint8_t value) {
    switch (value) {
        case 0x20:  // LISTEN
            clearCommandBuffer();
            break;
        case 0x40:  // TALK
            drive.readPosition = 0;
            break;
        case 0x3F:  // UNLISTEN: the whole answer is built now
            interpretCommand();
            break;
        case 0x5F:  // UNTALK
            drive.status = 0;
            break;
        default:
            return;  // still waiting for a bus command
    }
    drive.portState = portIdle;
    drive.handshake = 0xFF;
}

// Bytes beyond the buffer (the data of a SAVE, which the drive does not take) are dropped.
void writeDataByte(uint8_t value) {
    if (drive.commandLength < commandBufferBytes) drive.commandBuffer[drive.commandLength++] = value;
    drive.portState = portIdle;
}

}  // namespace

uint8_t readDrivePort(uint16_t address) {
    if (!driveAttached()) return 0;
    switch (address) {
        case 0xFEF0:
            return drive.dataLatch;
        case 0xFEF1:
            return drive.status;
        case 0xFEF2:
            return drive.handshake;
        default:
            return 0;
    }
}

void writeDrivePort(uint16_t address, uint8_t value) {
    if (!driveAttached()) return;
    if (address == 0xFEF2) {
        if (value == 0x00) drive.handshake = 0xFF;
        if (value == 0x40) drive.handshake = 0x00;
        return;
    }
    if (address != 0xFEF0) return;
    switch (drive.portState) {
        case portIdle:
            writeIdle(value);
            break;
        case portExpectBusCommand:
            writeBusCommand(value);
            break;
        case portExpectDataByte:
            writeDataByte(value);
            break;
    }
}

void interpretCommand() {
    logLine("Interpreting buffer... Length: %d\n", static_cast<int>(drive.commandLength));
    if (emulatorConfig.driveType8 == hostDirectoryDrive) serveHostDirectoryCommand();
    if (emulatorConfig.driveType8 == d64Drive) serveD64Command();
}

void stripDrivePrefix() {
    if (drive.commandLength <= 2 || drive.commandBuffer[1] != ':') return;
    std::memmove(drive.commandBuffer, drive.commandBuffer + 2, commandBufferBytes - 2);
    // Keeps the name a zero-terminated string even when the buffer was full.
    drive.commandBuffer[commandBufferBytes - 2] = 0;
    drive.commandBuffer[commandBufferBytes - 1] = 0;
}

void endTransfer() {
    drive.readPosition = 0;
    drive.dataLength = 0;
    logLine("End of transfer... Last Command: %x\n", drive.lastChannelCommand);
}

uint32_t requestedNameLength() {
    const void* end = std::memchr(drive.commandBuffer, 0, commandBufferBytes);
    return end ? static_cast<uint32_t>(static_cast<const uint8_t*>(end) - drive.commandBuffer)
               : commandBufferBytes;
}

// Drive 8 as the computer sees it through the 1551 parallel port at $FEF0-$FEF2.
// No drive processor runs: the port follows the bus (LISTEN/TALK, the secondary
// address, data bytes) and hands each request to the channel it names; an OPEN is
// served whole when its LISTEN ends, and reads are then answered byte by byte.
#include <cstring>

#include "common/log.h"
#include "drive/drive.h"
#include "drive/drive_media.h"

Drive drive;

namespace {

enum BusCommand : uint8_t { busListen = 0x20, busUnlisten = 0x3F, busTalk = 0x40, busUntalk = 0x5F };
// The device number in a LISTEN or TALK is optional: the port itself selects drive 8.
constexpr uint8_t deviceNumber = 8;

// The status the computer reads at $FEF1.
constexpr uint8_t portReady = 0, portNotOpened = 2, portLastByte = 3;

void clearCommandBuffer() {
    std::memset(drive.commandBuffer, 0, sizeof drive.commandBuffer);
    drive.commandLength = 0;
}

// A secondary address: $6n data, $En close, $Fn open (n the channel).
void secondaryAddress(uint8_t value) {
    const uint8_t channel = value & 0x0F;
    switch (value & 0xF0) {
        case 0x60:
            if (drive.talking) {
                drive.talkChannel = channel;
            } else {
                drive.listenChannel = channel;
                drive.listenTarget = listenData;
            }
            break;
        case 0xE0:
            drive.lastChannelCommand = value;
            drive.listenTarget = listenClose;
            closeChannel(channel);
            drive.status = portReady;
            drive.handshake = 0xFF;
            break;
        case 0xF0:
            drive.lastChannelCommand = value;
            drive.listenChannel = channel;
            drive.listenTarget = listenName;
            drive.handshake = 0xFF;
            break;
        default:
            break;
    }
}

// Code bytes, and the secondary address that follows code 0x82 (taken in this state too).
void writeIdle(uint8_t value) {
    switch (value) {
        case 0x55:  // the KERNAL's presence check
            drive.dataLatch = 0x55;
            clearCommandBuffer();
            drive.status = portReady;
            break;
        case 0x81:
            drive.handshake = 0x00;
            drive.portState = portExpectDataByte;
            break;
        case 0x82:
            drive.handshake = 0x00;
            break;
        case 0x83:
            drive.handshake = 0x00;
            drive.portState = portExpectBusCommand;
            break;
        case 0x84: {
            // The KERNAL polls the handshake after every byte, so the byte is ready at once.
            drive.handshake = 0x00;
            bool last = false;
            drive.dataLatch = readChannelByte(drive.talkChannel, last);
            drive.status = last ? portLastByte : portReady;
            break;
        }
        default:
            secondaryAddress(value);
            break;
    }
}

// The LISTEN ends: an OPEN is served now, and so is a command sent to channel 15.
void endListen() {
    const ListenTarget target = drive.listenTarget;
    drive.listenTarget = listenDone;  // a second UNLISTEN neither reopens nor runs anything again
    if (target == listenDone) return;
    logLine("Interpreting buffer... Length: %d\n", static_cast<int>(drive.commandLength));
    const uint8_t channel = drive.listenChannel;
    const bool named = target == listenName;
    if (target == listenClose || (named && channel == loadChannel && drive.commandLength == 0)) {
        if (target != listenClose) closeChannel(loadChannel);
        logLine("End of transfer... Last Command: %x\n", drive.lastChannelCommand);
        return;
    }
    if (channel == commandChannel && (named || target == listenData)) {
        executeCommand(drive.commandBuffer, drive.commandLength);
        drive.status = portReady;
    } else if (named) {
        openChannel(channel);
        drive.status = drive.channels[channel].mode == channelClosed ? portNotOpened : portReady;
    }
}

void writeBusCommand(uint8_t value) {
    if (value == busListen || value == (busListen | deviceNumber)) {
        drive.talking = false;
        clearCommandBuffer();
        drive.listenChannel = loadChannel;  // no secondary address: a name for channel 0
        drive.listenTarget = listenName;
    } else if (value == busTalk || value == (busTalk | deviceNumber)) {
        drive.talking = true;
        drive.talkChannel = loadChannel;
    } else if (value == busUnlisten) {
        endListen();
    } else if (value == busUntalk) {
        drive.talking = false;
        drive.status = portReady;
    } else {
        return;  // still waiting for a bus command
    }
    drive.portState = portIdle;
    drive.handshake = 0xFF;
}

// A name or command byte, or data for the channel the LISTEN named.
void writeDataByte(uint8_t value) {
    const bool toChannel = drive.listenTarget == listenData && drive.listenChannel != commandChannel;
    if (toChannel)
        writeChannelByte(drive.listenChannel, value);
    else if (drive.commandLength < commandBufferBytes)
        drive.commandBuffer[drive.commandLength++] = value;
    drive.portState = portIdle;
}

}  // namespace

uint8_t readDrivePort(uint16_t address) {
    if (!drive.attached) return 0;
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
    if (!drive.attached) return;
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

void powerOnDrive(bool attached) {
    closeAllChannels();
    drive.attached = attached;
    drive.dataLatch = drive.status = drive.handshake = 0;
    drive.portState = portIdle;
    drive.listenTarget = listenName;
    drive.listenChannel = drive.talkChannel = loadChannel;
    drive.talking = false;
    clearCommandBuffer();
    drive.lastChannelCommand = 0;
    setStatus({statusPowerOn});
}

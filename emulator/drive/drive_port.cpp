// Drive 8 as the computer sees it through the 1551 cable: the 6523 at $FEF0-$FEF7 and
// the drive's side of its lines. No drive processor runs: the drive answers each
// handshake at once, follows the bus (LISTEN/TALK, the secondary address, data bytes)
// and hands each request to the channel it names; an OPEN is served whole when its
// LISTEN ends, and reads are then answered byte by byte.
#include <cstring>

#include "common/log.h"
#include "drive/drive.h"
#include "drive/drive_media.h"

namespace {

enum CodeByte : uint8_t { codeBusCommand = 0x81, codeSecondary = 0x82, codeData = 0x83, codeRead = 0x84 };
enum BusCommand : uint8_t { busListen = 0x20, busUnlisten = 0x3F, busTalk = 0x40, busUntalk = 0x5F };
// The device number in a LISTEN or TALK is optional: the cable itself selects drive 8.
constexpr uint8_t deviceNumber = 8;

constexpr uint8_t davBit = 0x40, ackBit = 0x80, statusBits = 0x03;

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
            break;
        case 0xF0:
            drive.lastChannelCommand = value;
            drive.listenChannel = channel;
            drive.listenTarget = listenName;
            clearCommandBuffer();
            break;
        default:
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
    if (channel == commandChannel && (named || target == listenData))
        executeCommand(drive.commandBuffer, drive.commandLength);
    else if (named)
        openChannel(channel);
}

void busCommand(uint8_t value) {
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
    }
}

// A name or command byte, or data for the channel the LISTEN named; returns the status.
// A data channel that is not open for writing answers 2, as the 1551 does (the save
// channel excepted: a refused SAVE shows on the error channel).
uint8_t dataByte(uint8_t value) {
    const uint8_t channel = drive.listenChannel;
    if (drive.listenTarget != listenData || channel == commandChannel) {
        if (drive.commandLength < commandBufferBytes) drive.commandBuffer[drive.commandLength++] = value;
        return portReady;
    }
    if (drive.channels[channel].mode != channelWriting)
        return channel == saveChannel ? portReady : portNothing;
    writeChannelByte(channel, value);
    return portReady;
}

enum TiaPort { portA, portB, portC };

// What the computer puts on the lines.
uint8_t computerData() { return tiaOutput(drive.tia, portA); }
bool computerDav() { return tiaOutput(drive.tia, portC) & davBit; }

// DAV fell: the byte after the code is on the lines (or, for $84, the computer waits for one).
void davFell() {
    switch (drive.phase) {
        case phaseCode:
            if (drive.code == codeRead) {
                drive.dataOut = readChannelByte(drive.talkChannel, drive.statusLines);
                drive.talkingData = true;
            } else {
                const uint8_t value = computerData();
                drive.statusLines = portReady;
                if (drive.code == codeBusCommand) busCommand(value);
                if (drive.code == codeSecondary) secondaryAddress(value);
                if (drive.code == codeData) drive.statusLines = dataByte(value);
            }
            drive.ack = true;
            drive.phase = phaseAnswered;
            break;
        case phaseReleased:  // the last DAV cycle of a read
            drive.ack = true;
            drive.phase = phaseClosing;
            break;
        default:
            break;
    }
}

void davRose() {
    if (drive.phase == phaseAnswered && drive.code == codeRead) {
        drive.talkingData = false;      // the computer has the byte: the lines are its again
        drive.statusLines = portReady;  // a status left standing would read as "no drive" at the next check
        drive.ack = false;
        drive.phase = phaseReleased;
    } else if (drive.phase == phaseAnswered || drive.phase == phaseClosing) {
        drive.statusLines = portReady;
        drive.phase = phaseIdle;
    }
}

// The computer changed its outputs: a code starts a handshake, DAV edges move it on.
void linesChanged() {
    if (drive.phase == phaseIdle) {
        const uint8_t value = computerData();
        if (drive.tia.ddr[portA] == 0xFF && value >= codeBusCommand && value <= codeRead) {
            drive.code = value;
            drive.ack = false;  // ready: the computer may put its byte on the lines
            drive.phase = phaseCode;
        }
    }
    const bool dav = computerDav();
    if (dav == drive.dav) return;
    drive.dav = dav;
    dav ? davRose() : davFell();
}

}  // namespace

uint8_t readDrivePort(uint16_t address) {
    if (!drive.attached || address < 0xFEF0 || address > 0xFEF7) return 0;
    const uint8_t lines[3] = {drive.talkingData ? drive.dataOut : uint8_t(0xFF),
                              uint8_t(drive.statusLines & statusBits), drive.ack ? ackBit : uint8_t(0)};
    const unsigned reg = address & 7;
    return tiaRead(drive.tia, reg, reg < 3 ? lines[reg] : 0);
}

void writeDrivePort(uint16_t address, uint8_t value) {
    if (!drive.attached || address < 0xFEF0 || address > 0xFEF7) return;
    tiaWrite(drive.tia, address & 7, value);
    if (!drive.cableOnly) linesChanged();
}

void powerOnDrive(bool attached) {
    closeAllChannels();
    drive.attached = attached;
    drive.cableOnly = false;
    drive.tia = Tia6523{};
    drive.ack = true;
    drive.talkingData = false;
    drive.statusLines = drive.dataOut = 0;
    drive.dav = true;
    drive.phase = phaseIdle;
    drive.code = 0;
    drive.listenTarget = listenName;
    drive.listenChannel = drive.talkChannel = loadChannel;
    drive.talking = false;
    clearCommandBuffer();
    drive.lastChannelCommand = 0;
    setStatus({statusPowerOn});
}

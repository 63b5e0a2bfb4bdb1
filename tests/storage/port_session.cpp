#include "port_session.h"

#include <cstring>

#include "host/configuration.h"
#include "support/fake_platform.h"
#include "support/kernal_cable.h"

bool handshakesAnswered = true;

void resetDrive(int32_t driveType) {
    resetFakePlatform();
    emulatorConfig.driveType8 = driveType;
    unmountDrive();
    powerOnDrive(driveType == 1 || driveType == 2);
    std::memset(drive.d64Image, 0, sizeof drive.d64Image);
    if (driveType == 2) mountD64InMemory(35);
    cable::init();
    handshakesAnswered = true;
}

namespace {

void check(bool ok) { handshakesAnswered = handshakesAnswered && ok && cable::answered; }

void handshake(cable::Code code, uint8_t value) {
    check(code != cable::busCommand || value == 0x3F || value == 0x5F || cable::present());
    check(cable::send(code, value) == 0);
}
void secondary(uint8_t value) { handshake(cable::secondary, value); }
void dataByte(uint8_t value) { handshake(cable::data, value); }
void listen() { busCommand(0x20); }
void unlisten() { busCommand(0x3F); }
uint8_t channelState(uint8_t channel) {
    return drive.channels[channel].mode == channelClosed ? notOpened : opened;
}

// One ACPTR: the byte, and whether the drive marked it the last.
uint8_t acptr(bool& last, uint8_t* statusOut = nullptr) {
    uint8_t status = 0;
    const uint8_t value = cable::receive(status);
    check(true);
    last = status != 0;
    if (statusOut) *statusOut = status;
    return value;
}

}  // namespace

void busCommand(uint8_t command) { handshake(cable::busCommand, command); }

LoadResult loadThroughPort(const std::string& name) {
    handshakesAnswered = true;
    LoadResult result;
    openChannelByName(0, name);
    busCommand(0x40);  // TALK
    secondary(0x60);   // DATA channel 0
    bool last = false;
    const uint8_t first = acptr(last, &result.firstStatus);
    if (result.firstStatus != 2) {
        result.bytes.push_back(first);
        result.endedWithStatus3 = result.firstStatus == 3;
        for (int guard = 0; guard < 0x10000 && !result.endedWithStatus3; ++guard) {
            uint8_t status = 0;
            result.bytes.push_back(acptr(last, &status));
            result.endedWithStatus3 = status == 3;
            check(status == 0 || status == 3);
        }
    }
    busCommand(0x5F);  // UNTALK
    closeChannelOnBus(0);
    result.handshakesAnswered = handshakesAnswered;
    return result;
}

uint8_t openChannelByName(uint8_t channel, const std::string& name) {
    listen();
    secondary(uint8_t(0xF0 | channel));
    for (char c : name) dataByte(static_cast<uint8_t>(c));
    unlisten();
    return channelState(channel);
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
    openChannelByName(1, name);  // the KERNAL sends the bytes whether or not the drive opened it
    writeToChannel(1, bytes);
    closeChannelOnBus(1);
    return errorChannel();
}

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<uint8_t> answer() {
    const Channel& channel = drive.channels[0];
    return channel.mode == channelReading ? channel.data : std::vector<uint8_t>{};
}

uint8_t request(const std::string& name) {
    listen();
    for (char c : name) dataByte(static_cast<uint8_t>(c));
    unlisten();
    return channelState(0);
}

std::vector<uint8_t> listing() {
    request("$");
    return answer();
}

std::vector<uint8_t> word(uint16_t value) { return {uint8_t(value & 0xFF), uint8_t(value >> 8)}; }

// The drive port at $FEF0-$FEF7 under byte sequences shaped like the KERNAL's 1551
// routines, and broken where the fuzzer likes: each handshake as the firmware makes it (the
// code byte, ACK low, the byte with DAV low, ACK high, the status, DAV high), bus commands,
// secondary addresses, names, data and reads, mixed with lone register writes and reads
// and handshakes left half done. No sequence may crash the drive or take its state out of
// range; and after one made of whole handshakes only, the KERNAL's start-up values and
// one exchange read the error channel. (A handshake left half done leaves the drive a
// step behind, as it would leave the real one until both are reset.)
//
// Input: one operation per byte, its operands in the bytes after it (see `run`). The
// drive serves a formatted image held in memory with a program, a data file and a
// locked file on it.
#include <cstring>
#include <string>
#include <vector>

#include "drive/drive.h"
#include "support/kernal_cable.h"

namespace {

constexpr uint16_t portA = 0xFEF0, portC = 0xFEF2;
constexpr uint8_t davHigh = 0x40;

void require(bool condition) {
    if (!condition) __builtin_trap();
}

// The operands of the operation being run; zero once the input has run out.
struct Input {
    const uint8_t* data;
    size_t size, at = 0;
    uint8_t next() { return at < size ? data[at++] : 0; }
    bool more() const { return at < size; }
};

void sendText(const std::string& text) {
    for (char c : text) cable::send(cable::data, uint8_t(c));
}

void listen(uint8_t secondary) {
    cable::send(cable::busCommand, 0x28);
    cable::send(cable::secondary, secondary);
}

// The image every input starts from: formatted, a program, a data file and a locked file.
const std::vector<uint8_t>& preparedImage() {
    static const std::vector<uint8_t> image = [] {
        mountD64InMemory(35);
        powerOnDrive(true);
        cable::init();
        auto command = [](const std::string& text) {
            listen(0x6F);
            sendText(text);
            cable::send(cable::busCommand, 0x3F);
        };
        auto save = [](const std::string& name, uint8_t secondary, size_t length) {
            listen(uint8_t(0xF0 | (secondary & 0x0F)));
            sendText(name);
            cable::send(cable::busCommand, 0x3F);
            listen(uint8_t(0x60 | (secondary & 0x0F)));
            for (size_t i = 0; i < length; ++i) cable::send(cable::data, uint8_t(i * 7));
            cable::send(cable::busCommand, 0x3F);
            listen(uint8_t(0xE0 | (secondary & 0x0F)));
            cable::send(cable::busCommand, 0x3F);
        };
        command("N:FUZZ,ID");
        save("GAME", 1, 700);
        save("NOTES,S,W", 2, 300);
        save("KEEP", 1, 10);
        uint8_t* directory = drive.d64Image + trackOffset[18] + 256;
        directory[2 * 32 + 2] |= 0x40;  // KEEP is locked
        return std::vector<uint8_t>(drive.d64Image, drive.d64Image + d64ImageBytes);
    }();
    return image;
}

// The secondary address of an operand: $6n data, $En close, $Fn open, or the byte as it is.
uint8_t secondaryOf(uint8_t operand) {
    constexpr uint8_t kinds[4] = {0x60, 0xE0, 0xF0, 0x00};
    const uint8_t kind = kinds[operand >> 6];
    return kind ? uint8_t(kind | (operand & 0x0F)) : uint8_t(operand << 2);
}

// A bus command of an operand: LISTEN or TALK with or without the device number, their
// ends, or the next byte as it is.
uint8_t busCommandOf(uint8_t operand, Input& in) {
    constexpr uint8_t commands[8] = {0x20, 0x28, 0x40, 0x48, 0x3F, 0x5F, 0x29, 0x00};
    const uint8_t command = commands[operand & 7];
    return command ? command : in.next();
}

// Runs one operation; false when it left the handshake's lines as no whole handshake does.
bool run(uint8_t operation, Input& in) {
    switch (operation % 12) {
        case 0:
            cable::send(cable::busCommand, busCommandOf(in.next(), in));
            break;
        case 1:
            cable::send(cable::secondary, secondaryOf(in.next()));
            break;
        case 2:
            cable::send(cable::data, in.next());
            break;
        case 3: {  // a name or a disk command, a byte at a time
            const uint8_t length = in.next() & 31;
            for (uint8_t i = 0; i < length; ++i) cable::send(cable::data, in.next());
            break;
        }
        case 4: {  // reads until the drive marks the last byte, as LOAD does
            uint8_t status = 0;
            for (int count = in.next() * 4; count >= 0 && status == 0; --count) cable::receive(status);
            break;
        }
        case 5:
            cable::present();
            break;
        case 6: {  // one register written outside any handshake
            const uint8_t address = in.next();
            writeDrivePort(uint16_t(0xFE00 | (address & 0x80 ? address : 0xF0 | (address & 7))), in.next());
            return false;
        }
        case 7:
            readDrivePort(uint16_t(0xFE00 | in.next()));
            break;
        case 8:  // a handshake begun and left: the code, DAV low, and nothing more
            writeDrivePort(portA, in.next());
            writeDrivePort(portC, 0x00);
            return false;
        case 9:
            writeDrivePort(portC, davHigh);
            return false;
        case 10:
            cable::init();
            break;
        default: {  // any code byte, then a byte, in a whole handshake
            const uint8_t code = in.next();
            cable::send(cable::Code(code), in.next());
            break;
        }
    }
    return true;
}

// Whatever the sequence, the drive's state stays within its buffers.
void stateInRange() {
    require(drive.commandLength <= commandBufferBytes);
    require(drive.statusPosition <= drive.statusLength && drive.statusLength < statusTextBytes);
    require(drive.listenChannel < channelCount && drive.talkChannel < channelCount);
    for (const Channel& channel : drive.channels)
        require(channel.mode != channelReading || channel.position <= channel.data.size());
}

// The KERNAL after a reset: its start-up values, then the error channel read as DS$ does.
void errorChannelAnswers() {
    cable::init();
    cable::send(cable::busCommand, 0x3F);
    cable::send(cable::busCommand, 0x5F);
    require(cable::present());
    cable::send(cable::busCommand, 0x48);
    cable::send(cable::secondary, 0x6F);
    uint8_t status = 0, value = 0;
    for (int length = 0; length < 64 && status == 0; ++length) value = cable::receive(status);
    cable::send(cable::busCommand, 0x5F);
    require(cable::answered);
    require(status == 3 && value == 0x0D);  // the rest of a line read in part, or a whole one
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t>& image = preparedImage();
    mountD64InMemory(35);
    std::memcpy(drive.d64Image, image.data(), image.size());
    powerOnDrive(true);
    cable::init();
    Input in{data, size};
    bool whole = true;
    while (in.more()) whole = run(in.next(), in) && whole;
    stateInRange();
    if (whole) errorChannelAnswers();
    return 0;
}

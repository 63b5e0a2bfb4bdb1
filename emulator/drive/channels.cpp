// The drive's channels, one per secondary address: 0 loads, 1 saves, 2-14 read or
// write data files, 15 is the command and error channel. A read channel holds the
// whole file from its OPEN on; a write channel collects its bytes and the file is
// written when the channel is closed, so a medium never holds half a file.
#include "drive/drive.h"
#include "drive/drive_media.h"

namespace {

constexpr uint8_t noData = 0x0D;  // what a read past the end, or of a channel not open, gives

// A load stores its bytes from the file's own address on; one that would run past $FFFF
// would wrap into the zero page and the stack.
bool loadFits(const std::vector<uint8_t>& data) {
    if (data.size() < 2) return true;
    const uint32_t address = data[0] | data[1] << 8;
    return address + (data.size() - 2) <= 0x10000;
}

DriveResult openForReading(Channel& channel, uint8_t number, const FileRequest& request,
                           const MediumOps& ops) {
    if (request.name.empty()) return {statusNoName};
    const std::vector<FileEntry> files = listFiles(ops);
    const FileEntry* file = findEntry(files, request.name, ops.foldCase);
    if (!file) return {statusNotFound};
    if (request.type && kindOfTypeLetter(request.type) != (file->type & 0x07)) return {statusTypeMismatch};
    const uint32_t limit = number == loadChannel ? longestLoad : longestDataFile;
    const DriveResult result = ops.read(*file, channel.data, limit);
    if (result.failed()) return result;
    if (number == loadChannel && !loadFits(channel.data)) return {statusTooLarge};
    channel.mode = channelReading;
    return {};
}

DriveResult openForWriting(Channel& channel, uint8_t number, const FileRequest& request,
                           const MediumOps& ops) {
    const std::string name = request.name.substr(0, longestName);
    if (const uint8_t code = checkNewName(name)) return {code};
    if (request.type == 'R') return {statusBadCommand};  // relative files take records, not streams
    if (ops.writeProtected()) return {statusWriteProtect};
    const std::vector<FileEntry> files = listFiles(ops);
    const FileEntry* existing = findEntry(files, name, ops.foldCase);
    channel.kind = request.type            ? kindOfTypeLetter(request.type)
                   : number <= saveChannel ? uint8_t(kindPrg)
                                           : uint8_t(kindSeq);
    if (request.mode == 'A') {
        if (!existing) return {statusNotFound};
        const DriveResult result = ops.read(*existing, channel.data, longestDataFile);
        if (result.failed()) return result;
        channel.kind = existing->type & 0x07;
        channel.replace = true;
    } else {
        if (existing && !request.replace) return {statusExists};
        channel.replace = request.replace;
    }
    channel.data.reserve(longestLoad + 1);  // a SAVE's bytes arrive without a new allocation
    channel.name = name;
    channel.mode = channelWriting;
    return {};
}

DriveResult openFile(Channel& channel, uint8_t number, const FileRequest& request) {
    const MediumOps* ops = mediumOps();
    if (!ops) return {statusNotReady};
    const bool writing =
        request.mode == 'W' || request.mode == 'A' || (number == saveChannel && request.mode == 0);
    if (request.directory) {
        if (writing) return {statusBadName};  // the directory is read, never written
        buildListing(channel.data, *ops, listFiles(*ops), request.name);
        channel.mode = channelReading;
        return {};
    }
    return writing ? openForWriting(channel, number, request, *ops)
                   : openForReading(channel, number, request, *ops);
}

DriveResult commitWrite(const Channel& channel) {
    if (channel.overflow) return {statusTooLarge};
    return changeMedium([&](const MediumOps& ops) -> DriveResult {
        const std::vector<FileEntry> files = listFiles(ops);
        const FileEntry* existing = findEntry(files, channel.name, ops.foldCase);
        if (existing && !channel.replace) return {statusExists};
        return ops.write(channel.name, channel.kind, channel.data, existing);
    });
}

void discard(Channel& channel) { channel = Channel{}; }

}  // namespace

void openChannel(uint8_t number) {
    closeChannel(number);  // a secondary address opened again starts afresh
    Channel& channel = drive.channels[number];
    const FileRequest request = parseFileRequest(drive.commandBuffer, drive.commandLength);
    refreshMedium();
    const DriveResult result = openFile(channel, number, request);
    if (result.failed()) discard(channel);
    setStatus(result);
}

void closeChannel(uint8_t number) {
    Channel& channel = drive.channels[number];
    if (channel.mode == channelWriting) setStatus(commitWrite(channel));
    discard(channel);
}

void closeAllChannels() {
    for (Channel& channel : drive.channels) discard(channel);
}

uint8_t readChannelByte(uint8_t number, uint8_t& status) {
    bool last = true;
    if (number == commandChannel) {
        const uint8_t value = nextStatusByte(last);
        status = last ? portLast : portReady;
        return value;
    }
    Channel& channel = drive.channels[number];
    if (channel.mode != channelReading) {
        status = portNothing;
        return noData;
    }
    if (channel.position >= channel.data.size()) {
        status = portLast;
        return noData;
    }
    const uint8_t value = channel.data[channel.position++];
    status = channel.position == channel.data.size() ? portLast : portReady;
    return value;
}

void writeChannelByte(uint8_t number, uint8_t value) {
    Channel& channel = drive.channels[number];
    if (channel.mode != channelWriting) return;
    if (channel.data.size() >= longestDataFile)
        channel.overflow = true;
    else
        channel.data.push_back(value);
}

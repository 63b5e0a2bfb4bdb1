// Disk commands written to channel 15, as BASIC's SCRATCH, RENAME, HEADER and COLLECT
// send them: S:NAME[,NAME...], R:NEW=OLD, I, N:NAME,ID, V, and UJ to reset the drive.
// Only the first letter names the command; the answer is left on the error channel.
#include <algorithm>
#include <cstring>

#include "drive/drive.h"
#include "drive/drive_media.h"

namespace {

constexpr size_t longestCommand = 58;  // the drive's command buffer

// What follows the colon, or nothing when there is none.
bool parameters(const std::string& command, std::string& out) {
    const size_t colon = command.find(':');
    if (colon == std::string::npos) return false;
    out = command.substr(colon + 1);
    return true;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t at = 0;
    for (size_t next; (next = text.find(separator, at)) != std::string::npos; at = next + 1)
        parts.push_back(text.substr(at, next - at));
    parts.push_back(text.substr(at));
    return parts;
}

DriveResult scratch(const std::string& command, const MediumOps& ops) {
    std::string names;
    if (!parameters(command, names)) return {statusNoName};
    if (ops.writeProtected()) return {statusWriteProtect};
    const std::vector<FileEntry> files = listFiles(ops);
    std::vector<FileEntry> chosen;
    bool named = false;
    for (const std::string& part : split(names, ',')) {
        const std::string pattern = withoutDrivePrefix(part);
        if (pattern.empty()) continue;
        named = true;
        for (const FileEntry& file : files)
            if (matchesPattern(pattern, file.name, ops.foldCase) &&
                std::none_of(chosen.begin(), chosen.end(), [&](const FileEntry& c) {
                    return c.where == file.where && c.hostName == file.hostName;
                }))
                chosen.push_back(file);
    }
    if (!named) return {statusNoName};
    uint8_t scratched = 0;
    const DriveResult result = ops.scratch(chosen, scratched);
    if (result.failed()) return result;
    return {statusScratched, scratched, 0};
}

DriveResult rename(const std::string& command, const MediumOps& ops) {
    std::string names;
    if (!parameters(command, names)) return {statusNoName};
    const size_t equals = names.find('=');
    if (equals == std::string::npos) return {statusSyntax};
    const std::string newName = withoutDrivePrefix(names.substr(0, equals)).substr(0, longestName);
    const std::string oldName = withoutDrivePrefix(names.substr(equals + 1));
    if (const uint8_t code = checkNewName(newName)) return {code};
    if (const uint8_t code = checkNewName(oldName)) return {code};
    if (ops.writeProtected()) return {statusWriteProtect};
    const std::vector<FileEntry> files = listFiles(ops);
    const FileEntry* file = findEntry(files, oldName, ops.foldCase);
    if (!file) return {statusNotFound};
    if (findEntry(files, newName, ops.foldCase)) return {statusExists};
    return ops.rename(*file, newName);
}

DriveResult format(const std::string& command, const MediumOps& ops) {
    std::string header;
    if (!parameters(command, header)) return {statusNoName};
    const size_t comma = header.find(',');
    const std::string name = header.substr(0, std::min<size_t>(comma, longestName));
    if (name.empty()) return {statusNoName};
    if (ops.writeProtected()) return {statusWriteProtect};
    const bool newId = comma != std::string::npos;
    return ops.format(name, newId ? header.substr(comma + 1, 2) : "", newId);
}

DriveResult validate(const MediumOps& ops) {
    if (ops.writeProtected()) return {statusWriteProtect};
    return ops.validate();
}

DriveResult run(const std::string& command) {
    if (command.size() > longestCommand) return {statusLongLine};
    if (command[0] == 'U') {
        if (command.size() < 2 || (command[1] != 'J' && command[1] != ':')) return {statusBadCommand};
        closeAllChannels();
        return {statusPowerOn};
    }
    if (!std::strchr("SRINV", command[0])) return {statusBadCommand};
    if (!mediumOps()) return {statusNotReady};
    refreshMedium();
    return changeMedium([&](const MediumOps& ops) -> DriveResult {
        switch (command[0]) {
            case 'S':
                return scratch(command, ops);
            case 'R':
                return rename(command, ops);
            case 'N':
                return format(command, ops);
            case 'V':
                return validate(ops);
            default:  // 'I': an image changed on disk has just been read again
                return {};
        }
    });
}

}  // namespace

void executeCommand(const uint8_t* bytes, uint32_t length) {
    const void* end = std::memchr(bytes, 0, length);
    if (end) length = uint32_t(static_cast<const uint8_t*>(end) - bytes);
    std::string command(reinterpret_cast<const char*>(bytes), length);
    while (!command.empty() && command.back() == '\r') command.pop_back();
    if (command.empty()) return;  // OPEN 15,8,15 without a command
    setStatus(run(command));
}

// Drive 8 under any disk image, name, file and disk command, driven through the cable as
// the KERNAL drives it. Every byte the drive hands out is checked against what it holds,
// reads past the end give nothing stale, a load never runs past $FFFF, the error channel
// always ends, and a file saved loads back byte for byte and gives its blocks back.
//
// One input in eight runs the name and the command against a host folder instead: no
// name may write, rename or scratch anything outside it, nor follow a link out of it.
//
// Input: byte 0 chooses the image size, a formatted disk, the host folder and the saved
// file's length, bytes 1-16 are a name, bytes 17-40 a disk command, the rest the image
// from the BAM on (wrapping round to track 1) so that even short inputs reach the
// directory; on a formatted disk they land from the first directory sector on, behind a
// sound BAM.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "drive/drive.h"
#include "support/kernal_cable.h"

namespace {

constexpr size_t nameBytes = 16, commandBytes = 24, headerBytes = 1 + nameBytes + commandBytes;
constexpr size_t savedLengths[8] = {0, 1, 253, 254, 255, 509, 5000, 70000};

void require(bool condition) {
    if (!condition) __builtin_trap();
}

void bus(uint8_t command) {
    if (command == 0x20 || command == 0x40) require(cable::present());
    require(cable::send(cable::busCommand, command) == 0);
}
void secondary(uint8_t value) { require(cable::send(cable::secondary, value) == 0); }
void sendBytes(const std::string& bytes) {
    for (char c : bytes) require(cable::send(cable::data, uint8_t(c)) == 0);
}

// Whether the drive opened the channel (the KERNAL learns it at the first read).
uint8_t openChannel(uint8_t channel, const std::string& name) {
    bus(0x20);
    secondary(uint8_t(0xF0 | channel));
    sendBytes(name);
    bus(0x3F);
    return drive.channels[channel].mode == channelClosed ? 2 : 0;
}

void closeChannel(uint8_t channel) {
    bus(0x20);
    secondary(uint8_t(0xE0 | channel));
    bus(0x3F);
}

// Reads the channel to its end: exactly the bytes it holds, the last one marked, and
// nothing stale after it; a channel that is not open has nothing to send.
std::vector<uint8_t> readChannel(uint8_t channel) {
    const std::vector<uint8_t> held = drive.channels[channel].data;
    const bool open = drive.channels[channel].mode == channelReading;
    std::vector<uint8_t> got;
    bus(0x40);
    secondary(uint8_t(0x60 | channel));
    uint8_t status = 0;
    for (size_t guard = 0; guard <= held.size(); ++guard) {
        got.push_back(cable::receive(status));
        if (status != 0) break;
    }
    require(status == (open ? 3 : 2));
    require(cable::receive(status) == 0x0D && status == (open ? 3 : 2));
    bus(0x5F);
    require(cable::answered);
    if (!open || held.empty()) {
        require(got == std::vector<uint8_t>{0x0D});
        return {};
    }
    require(got == held);
    return got;
}

// The error channel: "NN,TEXT,TT,SS" and a CR that ends it.
std::string errorChannel() {
    bus(0x40);
    secondary(0x6F);
    std::string line;
    for (int guard = 0; guard < 64; ++guard) {
        uint8_t status = 0;
        const uint8_t value = cable::receive(status);
        if (status == 3) {
            require(value == 0x0D);
            bus(0x5F);
            require(line.size() >= 11 && line[2] == ',' && std::count(line.begin(), line.end(), ',') == 3);
            return line;
        }
        require(status == 0);
        line.push_back(char(value));
    }
    __builtin_trap();
}

void command(const std::string& text) {
    bus(0x20);
    secondary(0x6F);
    sendBytes(text);
    bus(0x3F);
}

// A load's answer stays within memory: at most 65,535 bytes, never past $FFFF.
void checkLoad(const std::string& name) {
    if (openChannel(0, name) != 0) return;
    const std::vector<uint8_t> data = readChannel(0);
    require(data.size() <= 0xFFFF);
    if (data.size() >= 2) require((data[0] | data[1] << 8) + data.size() - 2 <= 0x10000);
    closeChannel(0);
}

// The listing is a BASIC program at $1001 that ends below $FD00 with its BLOCKS FREE line.
void checkListing() {
    require(openChannel(0, "$") == 0);
    const std::vector<uint8_t> listing = readChannel(0);
    require(listing.size() >= 64 && 0x1001 + listing.size() - 2 <= 0xFD00);
    require(std::memcmp(listing.data() + listing.size() - 28, "BLOCKS FREE.", 12) == 0);
    closeChannel(0);
}

uint32_t bitmap(const uint8_t* entry) { return entry[1] | entry[2] << 8 | entry[3] << 16; }

// The blocks-free figure can be checked only on a disk whose BAM counts match their bitmaps
// and whose directory lies on track 18, marked used; on any other the saves still run.
bool soundDisk() {
    const uint8_t* bam = drive.d64Image + trackOffset[18];
    for (int t = 1; t <= 35; ++t)
        if (bam[4 * t] != std::popcount(bitmap(bam + 4 * t) & ((1u << sectorsOnTrack(t)) - 1))) return false;
    bool sound = true;
    std::vector<bool> seen(19);
    for (uint8_t t = bam[0], s = bam[1]; t != 0 && sound;) {
        sound = t == 18 && s < 19 && !seen[s] && !(bitmap(bam + 4 * 18) >> s & 1);
        if (!sound) break;
        seen[s] = true;
        const uint8_t* block = drive.d64Image + trackOffset[18] + 256 * s;
        t = block[0];
        s = block[1];
    }
    return sound;
}

uint16_t blocksFree() {
    require(openChannel(0, "$") == 0);
    const std::vector<uint8_t>& listing = drive.channels[0].data;
    const uint16_t free = uint16_t(listing[listing.size() - 30] | listing[listing.size() - 29] << 8);
    closeChannel(0);
    return free;
}

// A SAVE as the KERNAL does it; true when the error channel says 00.
bool save(const std::string& name, const std::vector<uint8_t>& file) {
    if (openChannel(1, name) == 0) {
        bus(0x20);
        secondary(0x61);
        sendBytes(std::string(file.begin(), file.end()));
        bus(0x3F);
    }
    closeChannel(1);
    return errorChannel().compare(0, 2, "00") == 0;
}

size_t blocksOf(const std::vector<uint8_t>& file) { return std::max<size_t>(1, (file.size() + 253) / 254); }

void checkReadBack(const std::string& name, const std::vector<uint8_t>& file) {
    require(openChannel(2, name + ",P,R") == 0);
    require(readChannel(2) == file);
    closeChannel(2);
    if (file.size() > 0xFFFF) require(openChannel(0, name) == 2 && errorChannel().compare(0, 2, "52") == 0);
}

// A file saved under a plain name loads back byte for byte, replaces with "@", and
// scratching it gives back every block it took.
void checkSaveRoundTrip(const std::string& name, const std::vector<uint8_t>& file) {
    const bool plain = !name.empty() && name.find_first_of("$@:,=*?/\\\"\xA0") == std::string::npos &&
                       std::none_of(name.begin(), name.end(), [](char c) { return uint8_t(c) < 0x20; });
    if (!plain) {
        save(name, file);
        return;
    }
    const bool sound = soundDisk();
    const uint16_t before = blocksFree();
    if (!save(name, file)) return;
    checkReadBack(name, file);
    if (sound) require(before - blocksFree() == int(blocksOf(file)));
    const std::vector<uint8_t> shorter(file.begin(), file.begin() + file.size() / 2);
    require(!save(name, shorter));  // 63: the name is taken
    if (save("@0:" + name, shorter)) {
        checkReadBack(name, shorter);
        if (sound) require(before - blocksFree() == int(blocksOf(shorter)));
    }
    command("S:" + name);
    require(errorChannel().compare(0, 2, "01") == 0);
    if (sound) require(blocksFree() == before);
}

std::vector<std::string> folderEntries(const std::string& path) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(path.c_str())) {
        while (const dirent* entry = readdir(dir))
            if (std::strcmp(entry->d_name, ".") && std::strcmp(entry->d_name, ".."))
                names.push_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A sandbox of this process: the served folder "disk" with a link out to "secret.prg"
// beside it. Removed when the process ends.
struct Sandbox {
    std::string root, folder, secret;
    Sandbox() {
        char pattern[] = "/tmp/varnok_fuzz_drive_XXXXXX";
        require(mkdtemp(pattern) != nullptr);
        root = pattern;
        folder = root + "/disk";
        secret = root + "/secret.prg";
        require(mkdir(folder.c_str(), 0700) == 0);
        std::FILE* file = std::fopen(secret.c_str(), "wb");
        require(file && std::fputs("SECRET", file) >= 0 && std::fclose(file) == 0);
    }
    ~Sandbox() { std::system(("rm -rf '" + root + "'").c_str()); }
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;
    static Sandbox& sandbox() {
        static Sandbox instance;
        return instance;
    }
    // The folder holds the link out and nothing else.
    void reset() const {
        for (const std::string& name : folderEntries(folder)) unlink((folder + "/" + name).c_str());
        require(symlink("../secret.prg", (folder + "/OUT.prg").c_str()) == 0);
    }
};

std::string secretText(const Sandbox& box) {
    char bytes[16] = {};
    std::FILE* file = std::fopen(box.secret.c_str(), "rb");
    const size_t read = file ? std::fread(bytes, 1, sizeof bytes, file) : 0;
    if (file) std::fclose(file);
    return std::string(bytes, read);
}

// Saves, renames and scratches by the fuzzed name and runs the fuzzed command in a host
// folder: afterwards nothing beside the folder has changed and the link out is unfollowed.
void checkHostFolder(const std::string& name, const std::string& diskCommand,
                     const std::vector<uint8_t>& file) {
    const Sandbox& box = Sandbox::sandbox();
    box.reset();
    require(mountHostDirectory(box.folder));
    save(name, file);
    save("@0:" + name, file);
    save("OUT", file);
    command("R:" + name + "=OUT");
    command("R:OUT=" + name);
    command(diskCommand);
    errorChannel();
    checkListing();
    checkLoad(name);
    checkLoad("OUT");
    command("S:" + name + ",*");
    errorChannel();
    require(folderEntries(box.root) == (std::vector<std::string>{"disk", "secret.prg"}));
    require(secretText(box) == "SECRET");
    struct stat info;
    require(lstat((box.folder + "/OUT.prg").c_str(), &info) == 0 && S_ISLNK(info.st_mode));
    unmountDrive();
}

std::string text(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    return bytes.substr(0, bytes.find('\0'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < headerBytes) return 0;
    const uint8_t flags = data[0];
    const std::string name = text(data + 1, nameBytes);
    std::vector<uint8_t> file(savedLengths[flags >> 5 & 7]);
    for (size_t i = 0; i < file.size(); ++i) file[i] = data[i % size];
    if ((flags & 0x1C) == 0x1C) {
        powerOnDrive(true);
        cable::init();
        checkHostFolder(name, text(data + 1 + nameBytes, commandBytes), file);
        return 0;
    }
    mountD64InMemory(flags & 1 ? 40 : 35);
    powerOnDrive(true);
    cable::init();
    std::memset(drive.d64Image, 0, sizeof drive.d64Image);
    require(errorChannel() == "73,CBM DOS V2.6 TDISK,00,00");
    const bool formatted = flags & 2;
    if (formatted) {
        command("N:FUZZ,ID");
        require(errorChannel() == "00, OK,00,00");
    }
    const uint32_t imageBytes = trackOffset[drive.tracks + 1];
    const uint32_t start = trackOffset[18] + (formatted ? 256 : 0);
    const size_t given = std::min<size_t>(size - headerBytes, imageBytes - (formatted ? 256 : 0));
    for (size_t i = 0; i < given; ++i) drive.d64Image[(start + i) % imageBytes] = data[headerBytes + i];

    checkListing();
    checkLoad("*");
    checkLoad(name);

    checkSaveRoundTrip(name, file);

    command(text(data + 1 + nameBytes, commandBytes));
    errorChannel();
    checkListing();
    checkLoad("*");
    return 0;
}

#include "support/machine_helpers.h"

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/main_loop.h"
#include "machine/step.h"
#include "ted/raster.h"

namespace fs = std::filesystem;

ScratchDirectory::ScratchDirectory() {
    std::string pattern = (fs::temp_directory_path() / "varnok-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    previous_ = fs::current_path().string();
    fs::current_path(path_);
    setenv("VARNOK_REGISTRY", file("registry.reg").c_str(), 1);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code error;
    fs::current_path(previous_, error);
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(path_, error);
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool fileExists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

void writeSettingsStore(std::initializer_list<Setting> settings) {
    writeSettingsStore(std::vector<Setting>(settings));
}

void writeSettingsStore(const std::vector<Setting>& settings) {
    std::ofstream out(std::getenv("VARNOK_REGISTRY"), std::ios::binary);
    out << "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Varnok]\n";
    for (const Setting& s : settings) {
        out << '"' << s.name << "\"=";
        if (const auto* number = std::get_if<uint32_t>(&s.value)) {
            char digits[9];
            std::snprintf(digits, sizeof digits, "%08x", *number);
            out << "dword:" << digits << '\n';
            continue;
        }
        out << '"';
        for (char c : std::get<std::string>(s.value)) {
            if (c == '\\' || c == '"') out << '\\';
            out << c;
        }
        out << "\"\n";
    }
}

void RomImage::place(uint16_t address, std::initializer_list<uint8_t> code) {
    size_t offset = static_cast<size_t>(address - base);
    for (uint8_t byte : code) bytes.at(offset++) = byte;
}

void RomImage::setWord(uint16_t address, uint16_t value) {
    place(address, {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
}

RomImage palKernal(uint16_t resetEntry, uint16_t irqEntry) {
    RomImage kernal(0xC000);
    kernal.place(0xFF80, {0x80});
    kernal.setWord(0xFFFC, resetEntry);
    kernal.setWord(0xFFFE, irqEntry);
    return kernal;
}

int runFrames(int frames, long stepBudget) {
    int seen = 0;
    uint16_t line = ted.beamY;
    for (long step = 0; step < stepBudget && seen < frames; ++step) {
        stepAndServe();  // as the main loop does
        if (ted.beamY < line) ++seen;
        line = ted.beamY;
    }
    return seen;
}

size_t d64Offset(int track, int sector) {
    size_t offset = 0;
    for (int t = 1; t < track; ++t) offset += 256u * d64Sectors(t);
    return offset + 256u * sector;
}

namespace {

// Each used directory entry: its name (up to the first $A0) and the offset of the entry.
template <class Visit>
void eachD64Entry(const std::vector<uint8_t>& image, Visit visit) {
    if (image.size() < d64Offset(36, 0)) return;
    int track = 18, sector = 1;
    for (int guard = 0; track == 18 && sector < 19 && guard < 19; ++guard) {
        const size_t block = d64Offset(track, sector);
        for (size_t entry = block; entry < block + 256; entry += 32) {
            if (image[entry + 2] == 0) continue;
            std::string name;
            for (size_t i = 5; i < 21 && image[entry + i] != 0xA0; ++i) name += char(image[entry + i]);
            visit(name, entry);
        }
        track = image[block];
        sector = image[block + 1];
    }
}

}  // namespace

std::vector<uint8_t> formattedD64(const std::string& name, const std::string& id) {
    std::vector<uint8_t> image(d64Offset(36, 0), 0);
    uint8_t* bam = image.data() + d64Offset(18, 0);
    bam[0] = 18, bam[1] = 1, bam[2] = 0x41;
    for (int t = 1; t <= 35; ++t) {
        uint32_t free = (1u << d64Sectors(t)) - 1;
        if (t == 18) free &= ~3u;  // the BAM and the first directory sector
        bam[4 * t] = uint8_t(std::popcount(free));
        for (int i = 0; i < 3; ++i) bam[4 * t + 1 + i] = uint8_t(free >> (8 * i));
    }
    std::fill_n(bam + 144, 27, 0xA0);
    std::copy(name.begin(), name.begin() + std::min<size_t>(name.size(), 16), bam + 144);
    std::copy(id.begin(), id.begin() + std::min<size_t>(id.size(), 2), bam + 162);
    bam[165] = '2', bam[166] = 'A';
    image[d64Offset(18, 1) + 1] = 0xFF;
    return image;
}

std::vector<uint8_t> d64Holding(const std::string& name, const std::string& id,
                                const std::vector<D64File>& files) {
    std::vector<uint8_t> image = formattedD64(name, id);
    uint8_t* bam = image.data() + d64Offset(18, 0);
    auto take = [&](int track, int sector) {
        bam[4 * track] -= 1;
        bam[4 * track + 1 + sector / 8] &= uint8_t(~(1 << (sector % 8)));
    };
    auto isFree = [&](int track, int sector) {
        return (bam[4 * track + 1 + sector / 8] >> (sector % 8)) & 1;
    };
    int track = 17, sector = 0;
    // The block after the last one taken: ten sectors on, or the next free one after that;
    // on the next track when this one is full.
    auto next = [&](bool first) {
        if (!first) sector = (sector + 10) % d64Sectors(track);
        while (bam[4 * track] == 0) {
            track = track == 1 ? 19 : track > 18 ? track + 1 : track - 1;
            sector = 0;
        }
        while (!isFree(track, sector)) sector = (sector + 1) % d64Sectors(track);
        take(track, sector);
    };
    uint8_t* entry = image.data() + d64Offset(18, 1);
    bool first = true;
    for (const D64File& file : files) {
        next(first);
        first = false;
        entry[2] = 0x82, entry[3] = uint8_t(track), entry[4] = uint8_t(sector);
        std::fill_n(entry + 5, 16, 0xA0);
        std::copy_n(file.name.begin(), std::min<size_t>(file.name.size(), 16), entry + 5);
        const size_t blockCount = std::max<size_t>(1, (file.bytes.size() + 253) / 254);
        entry[30] = uint8_t(blockCount), entry[31] = uint8_t(blockCount >> 8);
        entry += 32;
        for (size_t at = 0; at < file.bytes.size() || at == 0; at += 254) {
            uint8_t* block = image.data() + d64Offset(track, sector);
            const size_t count = std::min<size_t>(254, file.bytes.size() - at);
            std::copy_n(file.bytes.begin() + at, count, block + 2);
            if (at + 254 < file.bytes.size()) {
                next(false);
                block[0] = uint8_t(track), block[1] = uint8_t(sector);
            } else {
                block[0] = 0, block[1] = uint8_t(count + 1);
                break;
            }
        }
    }
    return image;
}

std::vector<uint8_t> d64File(const std::vector<uint8_t>& image, const std::string& name) {
    std::vector<uint8_t> bytes;
    bool found = false;
    eachD64Entry(image, [&](const std::string& entryName, size_t entry) {
        if (found || entryName != name) return;
        found = true;
        int track = image[entry + 3], sector = image[entry + 4];
        for (int guard = 0; track != 0 && track <= 35 && guard < 683; ++guard) {
            const size_t block = d64Offset(track, sector);
            const size_t end = image[block] == 0 ? size_t(image[block + 1]) + 1 : 256;
            bytes.insert(bytes.end(), image.begin() + block + 2,
                         image.begin() + block + std::max<size_t>(end, 2));
            track = image[block];
            sector = image[block + 1];
        }
    });
    return bytes;
}

std::vector<std::string> d64Names(const std::vector<uint8_t>& image) {
    std::vector<std::string> names;
    eachD64Entry(image, [&](const std::string& name, size_t) { names.push_back(name); });
    return names;
}

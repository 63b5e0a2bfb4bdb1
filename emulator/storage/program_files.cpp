// Programs and whole machine states moved straight between host files and the machine,
// without the KERNAL: PRG files and ".FRE" snapshots.
#include "storage/program_files.h"

#include <cstdio>
#include <initializer_list>
#include <string>

#include "cpu/registers.h"
#include "ted/memory_map.h"
#include "ted/ted.h"

namespace {

constexpr uint32_t addressSpace = 0x10000;
constexpr uint32_t basicStart = 0x1001;
constexpr uint32_t highestBasicEnd = 60000;

void storeWord(uint16_t address, uint32_t value) {
    memory.ram[address] = value & 0xFF;
    memory.ram[address + 1] = (value >> 8) & 0xFF;
}

// Writes the new file beside the old one and puts it in place only when it is
// complete, so a save that fails half-way never destroys the file it replaces.
template <class Write>
bool writeWholeFile(const char* path, Write write) {
    const std::string temporary = std::string(path) + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return false;
    bool written = write(file);
    written = std::fclose(file) == 0 && written;
    if (written && std::rename(temporary.c_str(), path) == 0) return true;
    std::remove(temporary.c_str());
    return false;
}

long fileSize(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long size = std::ftell(file);
    return std::fseek(file, 0, SEEK_SET) == 0 ? size : -1;
}

// The snapshot header in file order, one row per field: its size, what is written and
// what reading it does to the machine.
struct SnapshotField {
    uint32_t size;
    uint32_t (*save)();
    void (*load)(uint32_t value);
};
void ignored(uint32_t) {}
// clang-format off
const SnapshotField snapshotFields[] = {
    {2, [] { return 0u; },                              ignored},
    {2, [] { return 1u; },                              ignored},
    {4, [] { return uint32_t(reg.PC); },                [](uint32_t v) { reg.PC = uint16_t(v); }},
    {4, [] { return uint32_t(packStatus() & ~0x20); },  [](uint32_t v) { unpackStatus(uint8_t(v)); }},
    {4, [] { return uint32_t(reg.AC); },                [](uint32_t v) { reg.AC = uint8_t(v); }},
    {4, [] { return uint32_t(reg.XR); },                [](uint32_t v) { reg.XR = uint8_t(v); }},
    {4, [] { return uint32_t(reg.YR); },                [](uint32_t v) { reg.YR = uint8_t(v); }},
    {4, [] { return uint32_t(reg.SP); },                [](uint32_t v) { reg.SP = uint8_t(v); }},
    {4, [] { return 0x400u; },                          ignored},
    {4, [] { return memory.romEnabled ? 1u : 0u; },            [](uint32_t v) { memory.romEnabled = v != 0; }},
    {4, [] { return uint32_t(ted.timer1.counter); },         [](uint32_t v) { ted.timer1.counter = int32_t(v); }},
    {4, [] { return uint32_t(ted.timer1.reload); },          [](uint32_t v) { ted.timer1.reload = uint16_t(v); }},
    {4, [] { return uint32_t(ted.timer1.running); },         [](uint32_t) { ted.timer1.running = 1; }},
    {4, [] { return uint32_t(ted.timer2.counter); },         [](uint32_t v) { ted.timer2.counter = int32_t(v); }},
    {4, [] { return 0u; },                              ignored},
    {4, [] { return uint32_t(ted.timer2.running); },         [](uint32_t) { ted.timer2.running = 1; }},
    {4, [] { return uint32_t(ted.timer3.counter); },         [](uint32_t v) { ted.timer3.counter = int32_t(v); }},
    {4, [] { return 0u; },                              ignored},
    {4, [] { return uint32_t(ted.timer3.running); },         [](uint32_t) { ted.timer3.running = 1; }},
};
// clang-format on

}  // namespace

void loadProgramFile(const char* path) {
    if (!memory.ram) return;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return;
    const long size = fileSize(file);
    const int low = std::fgetc(file);
    const int high = size < 2 ? EOF : std::fgetc(file);
    if (low == EOF || high == EOF) {
        std::fclose(file);
        return;
    }
    const uint32_t address = uint32_t(low | high << 8);
    // The data may end at $FFFE at the latest; anything longer is refused whole.
    if (uint64_t(address) + uint64_t(size - 2) > addressSpace - 1) {
        std::fclose(file);
        return;
    }
    const size_t read = std::fread(memory.ram + address, 1, size_t(size - 2), file);
    std::fclose(file);
    const uint32_t end = basicStart + uint32_t(read);
    if (end > highestBasicEnd) return;
    for (uint16_t pointer : {0x2D, 0x2F, 0x31, 0x9D}) storeWord(pointer, end);
}

bool saveProgramFile(const char* path, uint16_t start, uint32_t end) {
    if (!memory.ram || start >= end || end > addressSpace) return false;
    return writeWholeFile(path, [start, end](std::FILE* file) {
        const uint8_t address[2] = {uint8_t(start & 0xFF), uint8_t(start >> 8)};
        return std::fwrite(address, 1, 2, file) == 2 &&
               std::fwrite(memory.ram + start, 1, end - start, file) == end - start;
    });
}

bool saveSnapshot(const char* path) {
    if (!memory.ram) return false;
    return writeWholeFile(path, [](std::FILE* file) {
        for (const SnapshotField& field : snapshotFields) {
            const uint32_t value = field.save();
            const uint8_t bytes[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                                      uint8_t(value >> 24)};
            if (std::fwrite(bytes, 1, field.size, file) != field.size) return false;
        }
        return std::fwrite(memory.ram, 1, addressSpace, file) == addressSpace;
    });
}

// Restores field after field; a field the file no longer holds whole ends the load and
// keeps what was set so far. The RAM comes last and may be filled only partly.
void loadSnapshot(const char* path) {
    if (!memory.ram) return;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return;
    for (const SnapshotField& field : snapshotFields) {
        uint8_t bytes[4] = {};
        if (std::fread(bytes, 1, field.size, file) != field.size) {
            std::fclose(file);
            return;
        }
        field.load(uint32_t(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | uint32_t(bytes[3]) << 24));
    }
    std::fread(memory.ram, 1, addressSpace, file);
    std::fclose(file);
}

void typeRun() { typeKeys("RUN\r"); }

void typeKeys(const char* keys) {
    constexpr uint16_t buffer = 0x0527, count = 0xEF;
    constexpr uint8_t bufferLength = 10;
    if (!memory.ram || !keys) return;
    uint8_t typed = 0;
    for (; typed < bufferLength && keys[typed]; ++typed)
        memory.ram[buffer + typed] = static_cast<uint8_t>(keys[typed]);
    memory.ram[count] = typed;
}

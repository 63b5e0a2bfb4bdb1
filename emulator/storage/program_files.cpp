// Programs and whole machine states moved straight between host files and the machine,
// without the KERNAL: PRG files and ".FRE" snapshots.
#include "storage/program_files.h"

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "bus/processor.h"
#include "fileio/files.h"
#include "memory/memory.h"
#include "ted/sound.h"
#include "ted/ted.h"

namespace {

constexpr uint32_t addressSpace = 0x10000;
constexpr uint32_t basicStart = 0x1001;
constexpr uint32_t highestBasicEnd = 60000;
constexpr size_t minimumProgramBytes = 3;  // the load address and at least one byte
constexpr size_t largestProgramFile = 2 + addressSpace;

void storeWord(uint16_t address, uint32_t value) {
    memory.ram[address] = value & 0xFF;
    memory.ram[address + 1] = (value >> 8) & 0xFF;
}

// The machine sees a file only once it has been read whole and checked; a file over
// `limit` bytes is refused as `tooLarge`.
files::ReadResult readWholeFile(const std::string& path, size_t limit, LoadStatus tooLarge,
                                LoadStatus& status) {
    files::ReadResult read = files::readFile(path, limit);
    status = read                                         ? LoadStatus::loaded
             : read.status == files::ReadStatus::tooLarge ? tooLarge
                                                          : LoadStatus::unreadable;
    return read;
}

void putField(std::vector<uint8_t>& out, uint32_t value, uint32_t size) {
    for (uint32_t i = 0; i < size; ++i) out.push_back(uint8_t(value >> (8 * i)));
}

// The snapshot header in file order, one row per field: its size, what is written and
// what reading it does to the machine.
struct SnapshotField {
    uint32_t size;
    uint32_t (*save)();
    void (*load)(uint32_t value);
};
void ignored(uint32_t) {}
// The raster compare and single clock ride in two fields other writers leave 0 (or fill with
// 16-bit reloads), marked in the upper half, so a file without the mark loads as it always did.
constexpr uint32_t carriedMark = 0x564B0000;
uint32_t carried(uint32_t value) { return carriedMark | value; }
bool isCarried(uint32_t field) { return (field & 0xFFFF0000) == carriedMark; }
void loadRasterCompare(uint32_t v) {
    if (isCarried(v)) ted.rasterCompare = uint16_t(v & 0x1FF);
}
void loadSingleClock(uint32_t v) {
    if (isCarried(v)) ted.singleClock = v & 1;
}
// A timer counts 16 bits; a wider field from any writer would overflow the count.
int32_t timerCount(uint32_t field) { return int32_t(field & 0xFFFF); }
// The TED goes on from the restored registers: the voices play what $FF0E-$FF12 say and
// the interrupt line follows $FF09/$FF0A.
void resumeTed() {
    resumeVoices();
    updateInterruptLine();
}
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
    {4, [] { return uint32_t(ted.timer1.counter); },         [](uint32_t v) { ted.timer1.counter = timerCount(v); }},
    {4, [] { return uint32_t(ted.timer1.reload); },          [](uint32_t v) { ted.timer1.reload = uint16_t(v); }},
    {4, [] { return uint32_t(ted.timer1.running); },         [](uint32_t) { ted.timer1.running = 1; }},
    {4, [] { return uint32_t(ted.timer2.counter); },         [](uint32_t v) { ted.timer2.counter = timerCount(v); }},
    {4, [] { return carried(ted.rasterCompare); },           loadRasterCompare},
    {4, [] { return uint32_t(ted.timer2.running); },         [](uint32_t) { ted.timer2.running = 1; }},
    {4, [] { return uint32_t(ted.timer3.counter); },         [](uint32_t v) { ted.timer3.counter = timerCount(v); }},
    {4, [] { return carried(ted.singleClock); },             loadSingleClock},
    {4, [] { return uint32_t(ted.timer3.running); },         [](uint32_t) { ted.timer3.running = 1; }},
};
// clang-format on

}  // namespace

LoadStatus checkProgram(std::span<const uint8_t> file) {
    if (file.size() < minimumProgramBytes) return LoadStatus::tooShort;
    const uint32_t address = uint32_t(file[0] | file[1] << 8);
    // The data may end at $FFFE at the latest; anything longer is refused whole.
    if (uint64_t(address) + (file.size() - 2) > addressSpace - 1) return LoadStatus::pastMemoryEnd;
    return LoadStatus::loaded;
}

LoadStatus loadProgram(std::span<const uint8_t> file) {
    if (!memory.ram) return LoadStatus::unreadable;
    if (const LoadStatus status = checkProgram(file); status != LoadStatus::loaded) return status;
    const uint32_t address = uint32_t(file[0] | file[1] << 8);
    const size_t dataBytes = file.size() - 2;
    std::memcpy(memory.ram + address, file.data() + 2, dataBytes);
    const uint32_t end = basicStart + uint32_t(dataBytes);
    if (end <= highestBasicEnd)
        for (uint16_t pointer : {0x2D, 0x2F, 0x31, 0x9D}) storeWord(pointer, end);
    return LoadStatus::loaded;
}

files::ReadResult readProgramFile(const std::string& path, LoadStatus& status) {
    return readWholeFile(path, largestProgramFile, LoadStatus::pastMemoryEnd, status);
}

LoadStatus loadProgramFile(const char* path) {
    LoadStatus status;
    const files::ReadResult read = readProgramFile(path, status);
    return read ? loadProgram(read.bytes) : status;
}

bool saveProgramFile(const char* path, uint16_t start, uint32_t end) {
    if (!memory.ram || start >= end || end > addressSpace) return false;
    std::vector<uint8_t> file = {uint8_t(start & 0xFF), uint8_t(start >> 8)};
    file.insert(file.end(), memory.ram + start, memory.ram + end);
    return bool(files::writeFile(path, file));
}

bool saveSnapshot(const char* path) {
    if (!memory.ram) return false;
    std::vector<uint8_t> file;
    file.reserve(snapshotFileBytes);
    for (const SnapshotField& field : snapshotFields) putField(file, field.save(), field.size);
    file.insert(file.end(), memory.ram, memory.ram + addressSpace);
    return bool(files::writeFile(path, file));
}

// Only a file of exactly the snapshot's size is taken; then the fields are restored in
// order and the RAM last.
LoadStatus loadSnapshotData(std::span<const uint8_t> file) {
    if (!memory.ram) return LoadStatus::unreadable;
    if (file.size() != snapshotFileBytes) return LoadStatus::wrongSize;
    size_t at = 0;
    for (const SnapshotField& field : snapshotFields) {
        uint32_t value = 0;
        for (uint32_t i = 0; i < field.size; ++i) value |= uint32_t(file[at + i]) << (8 * i);
        field.load(value);
        at += field.size;
    }
    std::memcpy(memory.ram, file.data() + at, addressSpace);
    resumeTed();  // the interrupt line and the voices follow the restored registers
    return LoadStatus::loaded;
}

files::ReadResult readSnapshotFile(const std::string& path, LoadStatus& status) {
    return readWholeFile(path, snapshotFileBytes, LoadStatus::wrongSize, status);
}

LoadStatus loadSnapshot(const char* path) {
    LoadStatus status;
    const files::ReadResult read = readSnapshotFile(path, status);
    return read ? loadSnapshotData(read.bytes) : status;
}

const char* loadStatusText(LoadStatus status) {
    switch (status) {
        case LoadStatus::loaded:
            return "";
        case LoadStatus::unreadable:
            return "the file cannot be read";
        case LoadStatus::tooShort:
            return "too short for a program file";
        case LoadStatus::pastMemoryEnd:
            return "the program runs past $FFFF";
        case LoadStatus::wrongSize:
            return "not a snapshot: wrong size";
    }
    return "";
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

#pragma once
// Helpers for tests that start the whole machine: a scratch current directory, a
// settings store, small ROM images and a way to run frames.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>
#include <vector>

// A fresh temporary directory that is the current directory while the object lives.
// It also points $VARNOK_REGISTRY at "registry.reg" inside it.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_, previous_;
};

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
// The whole file as text; empty when it does not exist.
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// A doubleword or a string value of the settings store.
struct Setting {
    std::string name;
    std::variant<uint32_t, std::string> value;
};
// Writes the store at $VARNOK_REGISTRY in the registry export format.
void writeSettingsStore(std::initializer_list<Setting> settings);
void writeSettingsStore(const std::vector<Setting>& settings);

// A 16 KB ROM image for $8000-$BFFF (low) or $C000-$FFFF (high) of bank 0.
struct RomImage {
    uint16_t base;
    std::vector<uint8_t> bytes = std::vector<uint8_t>(0x4000, 0);

    explicit RomImage(uint16_t baseAddress) : base(baseAddress) {}
    void place(uint16_t address, std::initializer_list<uint8_t> code);
    void setWord(uint16_t address, uint16_t value);
};

// A KERNAL image that passes the PAL check, with the reset vector at `resetEntry`
// and the interrupt vector at `irqEntry` ($FF80 bit 7 set).
RomImage palKernal(uint16_t resetEntry = 0xF000, uint16_t irqEntry = 0xF100);

// Runs emulation steps until `frames` frames have begun or `stepBudget` steps ran;
// returns the frames seen.
int runFrames(int frames, long stepBudget = 200000);

// The sectors of a track, and the byte offset of a sector in a D64 image.
constexpr int d64Sectors(int track) { return track <= 17 ? 21 : track <= 24 ? 19 : track <= 30 ? 18 : 17; }
size_t d64Offset(int track, int sector);
// A freshly formatted 35-track D64 image, as a 1541 leaves it after N:name,id: every
// block free but the BAM and the first directory sector on track 18.
std::vector<uint8_t> formattedD64(const std::string& name, const std::string& id);
// A formatted image holding `files` as closed PRG files in directory order (at most
// eight), each stored as the DOS stores one: the first file from track 17's sector 0,
// every tenth sector of a track (or the next free one), then the next track outwards from
// the directory (17 down to 1, then 19 up), each next file on from the last; the BAM
// counts them as used.
struct D64File {
    std::string name;
    std::vector<uint8_t> bytes;  // load address first
};
std::vector<uint8_t> d64Holding(const std::string& name, const std::string& id,
                                const std::vector<D64File>& files);
// The bytes of the named file of a D64 image, following its chain; empty when the
// directory has no such file.
std::vector<uint8_t> d64File(const std::vector<uint8_t>& image, const std::string& name);
// The names in a D64 image's directory, in directory order.
std::vector<std::string> d64Names(const std::vector<uint8_t>& image);

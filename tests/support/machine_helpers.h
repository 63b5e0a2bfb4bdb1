#pragma once
// Helpers for tests that start the whole machine: a scratch current directory, a
// settings store, small ROM images and a way to run frames.

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

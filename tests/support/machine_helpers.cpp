#include "support/machine_helpers.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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
        emulationStep();
        if (ted.beamY < line) ++seen;
        line = ted.beamY;
    }
    return seen;
}

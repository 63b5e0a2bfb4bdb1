#pragma once
// The file-based loaders take a path, so each input goes through a file of this process.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "memory/memory.h"

inline void loadThroughFile(const uint8_t* data, size_t size, void (*load)(const char* path)) {
    if (!memory.ram && !allocateRamBlock()) return;
    static const std::string path = "/tmp/varnok_fuzz_" + std::to_string(getpid());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    if (size) std::fwrite(data, 1, size, file);
    std::fclose(file);
    load(path.c_str());
    std::remove(path.c_str());
}

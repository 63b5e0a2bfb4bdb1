#pragma once
// The load and save menus work on the process's current directory, and the load
// menu changes it for good: each test runs inside a fresh temporary directory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "host/program.h"
#include "machine/power.h"
#include "memory/memory.h"
#include "menus/menu_screen.h"
#include "support/menu_script.h"

class FileMenuTest : public ::testing::Test {
public:
    void SetUp() override {
        resetFakePlatform();
        resetKeyRepeat();
        freshMachine();
        allocateRamBlock();
        installMarkerCharset();
        openFakeDisplay(320, 200);
        shell.windowActive = 1;
        shell.quitRequested = 0;
        previous = std::filesystem::current_path();
        char pattern[] = "/tmp/varnok-menus-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        home = std::filesystem::canonical(pattern);
        std::filesystem::current_path(home);
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(home);
    }

    static void writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes = {1, 0x10}) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static size_t fileSize(const std::filesystem::path& path) {
        std::error_code error;
        const auto size = std::filesystem::file_size(path, error);
        return error ? 0 : static_cast<size_t>(size);
    }
    // Each key held for some presented frames, then released for one.
    static std::vector<MenuStep> taps(const std::vector<uint8_t>& keys, int frames = 1) {
        std::vector<MenuStep> steps;
        for (uint8_t k : keys) steps.insert(steps.end(), {{k, frames}, {0, 1}});
        return steps;
    }

    std::filesystem::path previous, home;
};

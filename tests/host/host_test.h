#pragma once
// A machine ready to start: a scratch current directory with a BASIC and a KERNAL image
// and a settings store naming them.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "host/program.h"
#include "machine/power.h"
#include "platform/platform.h"
#include "support/fake_platform.h"
#include "support/machine_helpers.h"

class HostTest : public ::testing::Test {
public:
    void SetUp() override {
        resetFakePlatform();
        freshMachine();
        dir = std::make_unique<ScratchDirectory>();
        basic = dir->file("basic.bin");
        kernal = dir->file("kernal.bin");
        writeFile(basic, {1, 2, 3, 4, 5, 6, 7, 8});
        writeKernal(palKernal());
    }
    void TearDown() override { dir.reset(); }

    // The KERNAL loops at its reset entry unless a test gives it other code.
    void writeKernal(RomImage image) {
        if (image.bytes[0x3000] == 0) image.place(0xF000, {0x4C, 0x00, 0xF0});
        writeFile(kernal, image.bytes);
    }

    // Log on, the two required images, no speed synchronisation (the fake clock stands
    // still), plus whatever the test adds or overrides.
    void writeSettings(std::vector<Setting> extra = {}) {
        std::vector<Setting> settings = {{"Log", 1u}, {"Rom0L", basic}, {"Rom0H", kernal}};
        if (std::none_of(extra.begin(), extra.end(), [](const Setting& s) { return s.name == "Sync"; }))
            settings.push_back({"Sync", 0u});
        settings.insert(settings.end(), extra.begin(), extra.end());
        writeSettingsStore(settings);
    }

    // Queues the window's activation, `idle` harmless messages and then the quit message,
    // so the loop runs about 257 passes per message and then ends with `exitCode`.
    void queueRun(int idle, uint32_t exitCode = 0) {
        fake.messages.push_back({platform::msgActivate, 1});
        for (int i = 0; i < idle; ++i) fake.messages.push_back({platform::msgSetCursor, 0});
        fake.messages.push_back({platform::msgQuit, exitCode});
    }

    int start(const char* commandLine = "") { return startEmulator(commandLine, 1); }
    std::string log() const { return readFile(dir->file("Varnok.log")); }

    std::unique_ptr<ScratchDirectory> dir;
    std::string basic, kernal;
    std::string commandLine;  // for cases that name a file on the command line
};

#pragma once
// Runs the real varnok binary headless: SDL's dummy video driver, its disk audio
// driver, a key script and the debug cartridge, in a scratch folder of its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "support/machine_helpers.h"

struct Outcome {
    int status = -1;  // exit status, or -1 when killed or not started
    std::string errors;
};

class BinaryRun : public ::testing::Test {
public:
    void SetUp() override { dir = std::make_unique<ScratchDirectory>(); }
    void TearDown() override { dir.reset(); }

    void script(const std::string& text) { writeFile(dir->file("script.txt"), {text.begin(), text.end()}); }

    // Runs the program in the scratch directory with `arguments`; kills it after `seconds`.
    // An empty videoDriver leaves SDL to choose its driver.
    Outcome run(std::vector<std::string> arguments = {}, int seconds = 60);
    // Runs one program per key script at the same time, all on the same settings.
    std::vector<Outcome> runTogether(const std::vector<std::string>& scripts, int seconds = 60);

    std::unique_ptr<ScratchDirectory> dir;
    std::string videoDriver = "dummy";

private:
    void prepareEnvironment();
};

// The text of a 320 x 200 screenshot, read back cell by cell through a character set of
// 8 bytes per screen code (the open ROM's, or the real KERNAL's at its $D000); '?' where
// no character matches. Screen codes 0-63 are told apart, in normal or reverse video
// (so the cursor's cell reads as the character under it). A pixel is ink where it
// differs from the top-left pixel, or, given `ink`, where it has that colour (the status
// line's texts, say).
std::string screenshotText(const std::string& bmp, const uint8_t* charset, int ink = -1);

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <vector>

#include "host/configuration.h"
#include "host/main_loop.h"
#include "host/program.h"
#include "ted/raster.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> readFile(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

uint8_t framePattern(int x, int y) { return static_cast<uint8_t>(x * 7 + y * 13); }

class Screenshot : public ::testing::Test {
protected:
    void SetUp() override {
        previous = fs::current_path();
        directory = fs::temp_directory_path() / ("varnok_shots_" + std::to_string(getpid()));
        fs::remove_all(directory);
        fs::create_directories(directory);
        fs::current_path(directory);
        emulatorConfig = EmulatorConfig{};
        shell.shiftHeld = 0;
        for (int y = 0; y < frameHeight; ++y)
            for (int x = 0; x < frameWidth; ++x) frameBuffer[y * frameWidth + x] = framePattern(x, y);
    }
    void TearDown() override {
        fs::current_path(previous);
        fs::remove_all(directory);
    }
    static void touch(const char* name) { std::ofstream(name) << "x"; }
    fs::path previous, directory;
};

TEST_F(Screenshot, TakesFirstFreeNumber) {
    touch("Output000.bmp");
    touch("Output002.bmp");
    shell.requests.screenshot = 1;
    serveScreenshot();
    EXPECT_EQ(shell.requests.screenshot, 0);
    EXPECT_EQ(readFile("Output001.bmp").size(), 65078u);
    serveScreenshot();
    EXPECT_TRUE(fs::exists("Output003.bmp"));
}

struct SizeCase {
    uint16_t shift;
    uint32_t fileSize, width, height, imageSize, resolution;
    int top, left;
};

class ScreenshotSize : public Screenshot, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ScreenshotSize, HeaderAndBottomUpRows) {
    const SizeCase& c = GetParam();
    shell.shiftHeld = c.shift;
    serveScreenshot();
    const std::vector<uint8_t> file = readFile("Output000.bmp");
    ASSERT_EQ(file.size(), c.fileSize);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(le32(file, 2), c.fileSize);
    EXPECT_EQ(le32(file, 6), 0u);
    EXPECT_EQ(le32(file, 10), 1078u);
    EXPECT_EQ(le32(file, 14), 40u);
    EXPECT_EQ(le32(file, 18), c.width);
    EXPECT_EQ(le32(file, 22), c.height);
    EXPECT_EQ(le16(file, 26), 1);
    EXPECT_EQ(le16(file, 28), 8);
    EXPECT_EQ(le32(file, 30), 0u);
    EXPECT_EQ(le32(file, 34), c.imageSize);
    EXPECT_EQ(le32(file, 38), c.resolution);
    EXPECT_EQ(le32(file, 42), c.resolution);
    EXPECT_EQ(le32(file, 46), 0u);
    EXPECT_EQ(le32(file, 50), 0u);
    for (uint32_t row = 0; row < c.height; ++row)
        for (uint32_t x = 0; x < c.width; x += 37) {
            const int line = c.top + static_cast<int>(c.height - 1 - row);
            ASSERT_EQ(file[1078 + row * c.width + x], framePattern(c.left + static_cast<int>(x), line))
                << "file row " << row << " pixel " << x;
        }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScreenshotSize,
                         ::testing::Values(SizeCase{0, 65078, 320, 200, 64000, 0, 56, 64},
                                           SizeCase{1, 121078, 400, 300, 120000, 3780, 6, 24}));

struct TableCase {
    int setting;
    uint8_t index, blue, green, red;
};

class ScreenshotPalette : public Screenshot, public ::testing::WithParamInterface<TableCase> {};

TEST_P(ScreenshotPalette, ColourTableIsBlueGreenRedZero) {
    emulatorConfig.palette = GetParam().setting;
    serveScreenshot();
    const std::vector<uint8_t> file = readFile("Output000.bmp");
    const size_t at = 54 + 4 * GetParam().index;
    ASSERT_GT(file.size(), at + 3);
    EXPECT_EQ(file[at], GetParam().blue);
    EXPECT_EQ(file[at + 1], GetParam().green);
    EXPECT_EQ(file[at + 2], GetParam().red);
    EXPECT_EQ(file[at + 3], 0);
}

INSTANTIATE_TEST_SUITE_P(Palettes, ScreenshotPalette,
                         ::testing::Values(TableCase{0, 0x02, 0x05, 0x05, 0x30},
                                           TableCase{1, 0x00, 0x03, 0x01, 0x06},
                                           TableCase{1, 0xF1, 0xFF, 0xFF, 0xFF},
                                           TableCase{0, 0xCA, 0x40, 0x9C, 0x80}));

TEST_F(Screenshot, ALinkAtAFreeLookingNameIsNeverWrittenThrough) {
    // A link into a missing directory: the picture takes the next name instead.
    fs::create_symlink("missing/picture.bmp", "Output000.bmp");
    shell.requests.screenshot = 1;
    serveScreenshot();
    EXPECT_EQ(shell.requests.screenshot, 0);
    EXPECT_TRUE(fs::is_symlink("Output000.bmp"));
    EXPECT_EQ(readFile("Output001.bmp").size(), 65078u);
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator{}), 2);
    EXPECT_FALSE(fs::exists("missing"));
}

TEST_F(Screenshot, GoesToTheStartFolderWhereverTheLoadMenuWent) {
    shell.startFolder = directory.string();
    fs::create_directory("games");
    fs::current_path("games");
    serveScreenshot();
    fs::current_path(directory);
    shell.startFolder.clear();
    EXPECT_EQ(readFile("Output000.bmp").size(), 65078u);
    EXPECT_TRUE(fs::is_empty("games"));
}

}  // namespace

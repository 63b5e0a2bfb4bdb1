// The images compiled into the program are the ones the assembler built.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "rom/open_rom.h"

namespace {

std::vector<uint8_t> fileBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Embedded {
    const char* built;
    const uint8_t* bytes;
    size_t size;
};

class EmbeddedOpenRom : public ::testing::TestWithParam<Embedded> {};

TEST_P(EmbeddedOpenRom, EqualsTheBuiltFileByteForByte) {
    const std::vector<uint8_t> built = fileBytes(GetParam().built);
    ASSERT_FALSE(built.empty()) << GetParam().built;
    EXPECT_EQ(std::vector<uint8_t>(GetParam().bytes, GetParam().bytes + GetParam().size), built);
}

INSTANTIATE_TEST_SUITE_P(Files, EmbeddedOpenRom,
                         ::testing::Values(Embedded{OPEN_ROM_BASIC, openBasicImage, openRomImageSize},
                                           Embedded{OPEN_ROM_KERNAL, openKernalImage, openRomImageSize},
                                           Embedded{OPEN_ROM_DEMO, demoProgram, demoProgramSize}));

TEST(EmbeddedOpenRomKernal, IsMarkedPalAndStartsInItsOwnCode) {
    EXPECT_NE(openKernalImage[0xFF80 - 0xC000] & 0x80, 0);
    const unsigned reset = openKernalImage[0xFFFC - 0xC000] | openKernalImage[0xFFFD - 0xC000] << 8;
    EXPECT_GE(reset, 0xC000u);
    EXPECT_LT(reset, 0xFD00u);
}

}  // namespace

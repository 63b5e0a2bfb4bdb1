// The character generator in the high image, which both the machine and the
// emulator's own menus and monitor draw with.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

namespace {

std::vector<uint8_t> kernalImage() {
    std::ifstream in(OPEN_ROM_KERNAL, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::array<uint8_t, 8> glyph(const std::vector<uint8_t>& image, int code) {
    std::array<uint8_t, 8> rows{};
    for (int r = 0; r < 8; ++r) rows[r] = image.at(0x1000 + code * 8 + r);
    return rows;
}

TEST(OpenRomImages, AreSixteenKilobytesWithPalMarkAndVectors) {
    std::vector<uint8_t> kernal = kernalImage();
    ASSERT_EQ(kernal.size(), 16384u);
    EXPECT_NE(kernal[0x3F80] & 0x80, 0) << "PAL mark at $FF80";
    uint16_t reset = kernal[0x3FFC] | kernal[0x3FFD] << 8;
    uint16_t irq = kernal[0x3FFE] | kernal[0x3FFF] << 8;
    EXPECT_GE(reset, 0xC000);
    EXPECT_TRUE(reset < 0xFD00 || reset >= 0xFF40);
    EXPECT_GE(irq, 0xFC00) << "the interrupt entry lives in the bank-safe page";
    EXPECT_LT(irq, 0xFD00);
    for (int offset = 0x3D00; offset < 0x3F40; ++offset)
        ASSERT_EQ(kernal[offset], 0) << "code or data under the I/O area at $" << std::hex << 0xC000 + offset;
    std::ifstream basic(OPEN_ROM_BASIC, std::ios::binary | std::ios::ate);
    EXPECT_EQ(basic.tellg(), 16384);
}

TEST(OpenRomCharset, TextGlyphsAreDistinctAndSpaceIsBlank) {
    std::vector<uint8_t> image = kernalImage();
    std::set<std::array<uint8_t, 8>> seen;
    for (int code = 0; code < 64; ++code) {
        auto rows = glyph(image, code);
        if (code == 32) {
            EXPECT_EQ(rows, (std::array<uint8_t, 8>{})) << "space";
            continue;
        }
        EXPECT_NE(rows, (std::array<uint8_t, 8>{})) << "screen code " << code << " is empty";
        EXPECT_TRUE(seen.insert(rows).second) << "screen code " << code << " repeats an earlier glyph";
    }
}

TEST(OpenRomCharset, MenuSubstitutesLookLikeUnderscoreAndBackslash) {
    std::vector<uint8_t> image = kernalImage();
    auto underscore = glyph(image, 100);
    EXPECT_EQ(underscore[7], 0xFF);
    for (int r = 0; r < 6; ++r) EXPECT_EQ(underscore[r], 0) << "row " << r;
    auto backslash = glyph(image, 77);
    EXPECT_NE(backslash[0] & 0x80, 0) << "starts top left";
    EXPECT_NE(backslash[7] & 0x01, 0) << "ends bottom right";
}

}  // namespace

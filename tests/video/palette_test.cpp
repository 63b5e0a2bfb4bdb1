#include "ted/palette.h"

#include <gtest/gtest.h>

namespace {

struct ColourCase {
    int setting;
    uint8_t index;
    uint32_t rgb;
};

class Palette : public ::testing::TestWithParam<ColourCase> {};

TEST_P(Palette, SettingSelectsTableAndBit7IsIgnored) {
    const ColourCase& c = GetParam();
    buildPalette(c.setting);
    for (uint8_t index : {c.index, static_cast<uint8_t>(c.index | 0x80)}) {
        const PaletteColour& e = paletteEntries[index];
        EXPECT_EQ((e.red << 16) | (e.green << 8) | e.blue, c.rgb) << "index " << int(index);
        EXPECT_EQ(e.flags, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, Palette,
                         ::testing::Values(ColourCase{0, 0x71, 0xFCFCFC}, ColourCase{1, 0x71, 0xFFFFFF},
                                           ColourCase{0, 0x00, 0x000000}, ColourCase{1, 0x00, 0x060103},
                                           ColourCase{0, 0x02, 0x300505}, ColourCase{0, 0x7F, 0xBAFF90},
                                           ColourCase{7, 0x4A, 0x6C9E12}, ColourCase{1, 0x7F, 0xEDFFBC},
                                           ColourCase{0, 0x01, 0x121212}));

// White's greys get lighter with every luminance step, from a grey that is not black.
TEST(CalculatedPalette, WhiteIsAGreyAtEveryLuminance) {
    buildPalette(0);
    int previous = 0;
    for (int luminance = 0; luminance < 8; ++luminance) {
        const PaletteColour& e = paletteEntries[luminance * 16 + 1];
        EXPECT_TRUE(e.red == e.green && e.green == e.blue) << luminance;
        EXPECT_GT(e.red, previous) << luminance;
        previous = e.red;
    }
}

}  // namespace

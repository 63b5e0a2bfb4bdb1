#include <gtest/gtest.h>

#include "memory/memory.h"
#include "menus/menu_screen.h"
#include "ted/raster.h"

namespace {

// Gives screen code n a glyph whose top row is n, so cells tell which code they show.
void fillMarkerCharset() {
    for (int code = 0; code < 256; ++code) {
        memory.romHigh[0][0x1000 + code * 8] = static_cast<uint8_t>(code);
        for (int line = 1; line < 8; ++line) memory.romHigh[0][0x1000 + code * 8 + line] = 0;
    }
}

// Reads the screen code back from the top row of a cell drawn 1 on 0.
int cellCode(int col, int row) {
    const uint8_t* p = frameBuffer + (56 + row * 8) * frameWidth + 64 + col * 8;
    int code = 0;
    for (int x = 0; x < 8; ++x) code = code << 1 | (p[x] == 1);
    return code;
}

class MenuText : public ::testing::Test {
protected:
    void SetUp() override {
        fillMarkerCharset();
        clearMenuScreen();
    }
};

TEST_F(MenuText, CharactersMapToTheirScreenCodes) {
    const std::pair<char, int> cases[] = {{'a', 1},   {'A', 1},  {'.', 46}, {'^', 0},  {' ', 32}, {'_', 100},
                                          {'\\', 77}, {'0', 48}, {'?', 63}, {'[', 27}, {']', 29}};
    for (auto [character, code] : cases) {
        drawMenuChar(0, 0, character, 1, 0);
        EXPECT_EQ(cellCode(0, 0), code) << "character " << character;
    }
}

TEST_F(MenuText, BytesFromHexEightyUpShowScreenCodeZero) {
    for (int byte : {0x80, 0x9D, 0xC3, 0xFF}) {
        drawMenuChar(0, 0, static_cast<char>(byte), 1, 0);
        EXPECT_EQ(cellCode(0, 0), 0) << "byte " << byte;
    }
}

TEST_F(MenuText, EmptyTextChangesExactlyOneCell) {
    drawMenuText(5, 3, "", 1, 7);
    EXPECT_EQ(frameBuffer[(56 + 24) * frameWidth + 64 + 40], 7);  // cell (5,3) background
    EXPECT_EQ(frameBuffer[(56 + 24) * frameWidth + 64 + 48], 0);  // cell (6,3) untouched
}

TEST_F(MenuText, TextPastTheRightEdgeIsClipped) {
    uint8_t after = frameBuffer[(56 + 8) * frameWidth + 64];  // first cell of the next row
    drawMenuText(36, 0, "ABCDEFGH", 1, 9);
    EXPECT_EQ(cellCode(39, 0), 4);
    EXPECT_EQ(frameBuffer[(56 + 8) * frameWidth + 64], after);
    EXPECT_EQ(frameBuffer[56 * frameWidth + 64 + 320], 0);  // right of the area
}

}  // namespace

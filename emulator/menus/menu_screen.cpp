// Drawing of the built-in 40 x 25 text screens into the frame buffer, with the
// glyphs of the character set in the bank-0 KERNAL image.
#include "menus/menu_screen.h"

#include <cstring>

#include "memory/memory.h"
#include "ted/raster.h"

namespace {

constexpr int menuLeft = 64;
constexpr int menuTop = 56;
constexpr int charsetOffset = 0x1000;  // the character set at $D000 of the KERNAL image

constexpr uint8_t codeOfUnderscore = 100;
constexpr uint8_t codeOfBackslash = 77;

constexpr std::array<uint8_t, 256> makeScreenCodeTable() {
    std::array<uint8_t, 256> table{};
    const char* letters = "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[";
    for (int i = 0; i < 28; ++i) table[i] = static_cast<uint8_t>(letters[i]);
    table[28] = 0x9D;
    table[29] = ']';
    table[30] = '.';
    table[31] = '.';
    for (int i = 32; i < 64; ++i) table[i] = static_cast<uint8_t>(i);  // ' ' to '?'
    for (int i = 64; i < 256; ++i) table[i] = '_';
    return table;
}

uint8_t screenCodeOf(char character) {
    auto c = static_cast<uint8_t>(character);
    if (c >= 'a' && c <= 'z') c = static_cast<uint8_t>(c - 'a' + 'A');
    if (c == '_') return codeOfUnderscore;
    if (c == '\\') return codeOfBackslash;
    // Bytes from 0x80 up (a host name in UTF-8, say) have no glyph of their own.
    if (c >= 0x80) return 0;
    for (int code = 255; code >= 0; --code)
        if (screenCodeTable[code] == c) return static_cast<uint8_t>(code);
    return 0;
}

}  // namespace

const std::array<uint8_t, 256> screenCodeTable = makeScreenCodeTable();

void clearMenuScreen() {
    for (int line = 0; line < 200; ++line)
        std::memset(frameBuffer + (menuTop + line) * frameWidth + menuLeft, 0, 320);
}

void drawScreenCode(int col, int row, uint8_t screenCode, uint8_t zeroColour, uint8_t oneColour) {
    // Cells outside the 40 x 25 area are clipped, so long texts never leave the frame.
    if (col < 0 || col > 39 || row < 0 || row > 24) return;
    const uint8_t* glyph = &memory.romHigh[0][charsetOffset + screenCode * 8];
    uint8_t* pixel = frameBuffer + (menuTop + row * 8) * frameWidth + menuLeft + col * 8;
    for (int line = 0; line < 8; ++line, pixel += frameWidth) {
        uint8_t bits = glyph[line];
        for (int x = 0; x < 8; ++x) pixel[x] = (bits & (0x80 >> x)) ? oneColour : zeroColour;
    }
}

void drawMenuChar(int col, int row, char character, uint8_t foreground, uint8_t background) {
    drawScreenCode(col, row, screenCodeOf(character), background, foreground);
}

void drawMenuText(int col, int row, const char* text, uint8_t foreground, uint8_t background) {
    // The first cell is drawn even for an empty text (screen code 0).
    do {
        drawMenuChar(col & 0xFF, row, *text, foreground, background);
        col = (col + 1) & 0xFF;
    } while (*text && *++text);
}

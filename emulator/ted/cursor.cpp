// The hardware cursor: inverted over the finished frame while the flash shows it.
#include "memory/memory.h"
#include "ted/raster.h"
#include "ted/ted.h"
#include "ted/video_tables.h"

void cursorPass() {
    if (!ted.flashPhase) return;
    const int position = ((memory.ram[tedCursorHigh] & 3) << 8) | memory.ram[tedCursorLow];
    if (position > 999) return;
    const int row = position / 40, column = position % 40;
    // With 38 columns the outer columns are under the border.
    if (!(memory.ram[tedControl2] & 0x08) && (column == 0 || column == 39)) return;

    const int cellTop = 56 + 8 * row;
    const uint8_t cursorColour =
        memory.ram[(ted.matrixBaseByLine[cellTop] + 40 * row + column - 0x400) & 0xFFFF];
    const uint8_t background = memory.ram[tedBackground];
    // The rows sit v - 3 lines lower than their unscrolled place; the text-line flags
    // are those of the lines actually drawn.
    const int shift = ted.lineLatch.verticalScroll - 3;
    for (int j = 0; j < 8; ++j) {
        const int line = cellTop + j + shift;
        if (line < 56 || line > 255 || !ted.textLineFlags[line]) continue;
        uint8_t* pixel =
            frameBuffer + frameLineOffset[line] + 64 + 8 * column + ted.lineLatch.horizontalScroll;
        for (int i = 0; i < 8; ++i) pixel[i] = pixel[i] == background ? cursorColour : background;
    }
}

// The renderer: draws the frame buffer in 8-pixel blocks up to the beam, one
// block rule per region of the line.
#include <cstring>

#include "memory/memory.h"
#include "ted/raster.h"
#include "ted/render_cells.h"
#include "ted/video_tables.h"

namespace {

// Lines top..bottom-1 and blocks left..right that a screen mode shows; the renderer
// never draws what the blitter of the mode does not copy.
struct ShownArea {
    uint16_t top, bottom, left, right;
};
// clang-format off
constexpr ShownArea shownAreas[8] = {
    // top bottom left right
    {  56,  256,  32, 188},  // 0: 320 x 200
    {   6,  306,  12, 212},  // 1: 400 x 300
    {   0,  312,   0, 227},  // 2: 512 x 384, the whole frame
    {  36,  276,  32, 188},  // 3: 320 x 240
    {   0,  312,   0, 227},  // 4: 640 x 480, the whole frame
    {  56,  256,  32, 188},  // 5: 640 x 400, doubled
    {   6,  306,  12, 212},  // 6: 800 x 600 with scan lines
    {   0,  312,   0, 227},  // any other value
};
// clang-format on

const ShownArea& shownArea() {
    return shownAreas[ted.shownMode < 7 ? ted.shownMode : 7];
}

// Left of the window the border starts at the unscrolled position, so the block next
// to the window also covers the gap the horizontal scroll opens.
void drawLeftBorder(uint8_t* line, int x, int y) {
    const LineLatch& l = ted.lineLatch;
    fillCell(line + 2 * x, l.border);
    const int h = l.horizontalScroll;
    if (h == 0) return;
    if (x == 28 && l.left == 32) {
        std::memset(line + 2 * x + 8, l.background, h);
    } else if (x == 32 && l.left == 36) {
        // With 38 columns column 0 is hidden, but its last h pixels scroll into view.
        uint8_t cell[8];
        drawWindowCells(cell, 0, 1, y);
        std::memcpy(line + 2 * x + 8, cell + 8 - h, h);
    }
}

// The three regions of a step's blocks, so each pays only for its own work. The blocks of
// one step fall between two CPU steps, so the mode bits hold for all of them and each
// region of the line is drawn as one span. The two border forms stay out of line: the
// common step into the window then does not pay for their registers.

// A line above or below the window: border from the scrolled position, where the mode shows it.
[[gnu::noinline]] void drawBorderLine(uint8_t* line, int first, int count, int y) {
    const LineLatch& l = ted.lineLatch;
    const ShownArea& shown = shownArea();
    if (y >= shown.top && y < shown.bottom) fillCells(line + 2 * first + l.horizontalScroll, count, l.border);
}

// A window line whose blocks reach its left or right border.
[[gnu::noinline]] void drawWindowLineEdges(uint8_t* line, int first, int last, int y) {
    const LineLatch& l = ted.lineLatch;
    const ShownArea& shown = shownArea();
    int x = first;
    for (; x <= last && x < l.left; x += 4)
        if (x >= shown.left) drawLeftBorder(line, x, y);
    if (x <= last && x < l.right) {
        const int cells = ((last < l.right - 1 ? last : l.right - 1) - x) / 4 + 1;
        drawWindowCells(line + 2 * x + l.horizontalScroll, x / 4 - 8, cells, y);
        x += 4 * cells;
    }
    for (; x <= last; x += 4)
        if (x <= shown.right) fillCell(line + 2 * x, l.border);
}

}  // namespace

void renderStep() {
    if (ted.drawX >= 228) ted.drawX = 0;
    const int first = ted.drawX, y = ted.beamY;
    // At least one block; blocks the beam has already passed on the previous line land on this one.
    const int count = first > ted.beamX ? 1 : ((ted.beamX - first) >> 2) + 1;
    const int last = first + 4 * (count - 1);
    ted.drawX = static_cast<uint16_t>(first + 4 * count);
    const LineLatch& l = ted.lineLatch;
    uint8_t* line = frameBuffer + frameLineOffset[y];
    if (y < l.top || y >= l.bottom)
        drawBorderLine(line, first, count, y);
    else if (first >= l.left && last < l.right)
        drawWindowCells(line + 2 * first + l.horizontalScroll, first / 4 - 8, count, y);
    else
        drawWindowLineEdges(line, first, last, y);
}

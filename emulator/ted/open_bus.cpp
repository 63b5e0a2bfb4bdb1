// Reads that no chip answers: the ROM bank latch at $FDD0-$FDDF is write-only, so a read
// returns what the data bus still carries. While the TED draws the display window that is
// its own fetch of the cycle; otherwise it is the processor's last fetch, which for a read
// of the latch is the high byte of the address it just took from its operand ($FD).
#include "ted/open_bus.h"

#include "memory/memory.h"
#include "ted/render_cells.h"
#include "ted/ted.h"

namespace {

// The data read of an absolute load, the usual way to reach the latch, comes three cycles
// after the instruction's first; the beam stands at that first cycle while it runs.
constexpr uint32_t dataReadCycle = 3;

}  // namespace

uint8_t openBusRead(uint16_t address) {
    const uint8_t processorByte = uint8_t(address >> 8);
    const LineLatch& l = ted.lineLatch;
    const uint32_t x = ted.beamX + 4 * dataReadCycle;
    // A line whose latch is not yet taken, or the next line's start, is still left border.
    if (ted.newLinePending || x >= l.right || x < l.left) return processorByte;
    if (ted.beamY < l.top || ted.beamY >= l.bottom || !(memory.ram[tedControl1] & 0x10)) return processorByte;
    return windowFetch(int(x / 4) - 8, ted.beamY);
}

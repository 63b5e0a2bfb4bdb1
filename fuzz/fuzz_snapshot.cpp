// Any snapshot restored, and then the machine run from it for a frame: the loader
// takes every field into range, and no state a ".FRE" can hold makes the machine overflow
// a count or reach outside its memory.
//
// Input: a snapshot file. One of any other length is refused, then taken padded or cut
// to the snapshot's 65,608 bytes, so every input reaches the format; the first byte (a
// field the loader ignores) chooses the RAM size. The open ROM is in the ROM banks.
#include <cstring>
#include <vector>

#include "cpu/registers.h"
#include "machine/power.h"
#include "machine/step.h"
#include "memory/memory.h"
#include "rom/open_rom.h"
#include "storage/program_files.h"
#include "support/fake_platform.h"
#include "ted/raster.h"
#include "ted/sound.h"
#include "ted/ted.h"

namespace {

constexpr long mostSteps = 12000;  // a frame's instructions, with room for slow ones

void require(bool condition) {
    if (!condition) __builtin_trap();
}

bool machineReady() {
    static const bool ready = [] {
        resetFakePlatform();
        if (!allocateRamBlock()) return false;
        startBeam();
        std::memcpy(memory.romLow[0], openBasicImage, romImageBytes);
        std::memcpy(memory.romHigh[0], openKernalImage, romImageBytes);
        return true;
    }();
    return ready;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!machineReady()) return 0;
    std::vector<uint8_t> file(data, data + size);
    if (file.size() != snapshotFileBytes) {
        require(loadSnapshotData(file) == LoadStatus::wrongSize);
        file.resize(snapshotFileBytes, 0);
    }
    const uint8_t choice = file[0];
    setRamSize(choice & 3);
    resetMachine(Reset::powerOn);
    require(loadSnapshotData(file) == LoadStatus::loaded);
    for (const TedTimer* timer : {&ted.timer1, &ted.timer2, &ted.timer3})
        require(timer->counter >= 0 && timer->counter <= 0xFFFF);
    require(ted.rasterCompare <= 0x1FF);
    // Until the beam has come round to the line it started on.
    const uint16_t startLine = ted.beamY;
    bool leftStart = false;
    for (long step = 0; step < mostSteps && !(leftStart && ted.beamY == startLine); ++step) {
        emulationStep();
        leftStart = leftStart || ted.beamY != startLine;
    }
    for (const TedTimer* timer : {&ted.timer1, &ted.timer2, &ted.timer3})
        require(timer->counter >= 0 && timer->counter <= 0xFFFF);
    require(ted.beamY < frameHeight);
    return 0;
}

#pragma once
// A TED with RAM and nothing else: tests set registers and memory, run the beam
// by whole frames and read pixels back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/configuration.h"
#include "host/frame_end.h"
#include "host/program.h"
#include "machine/power.h"
#include "machine/settings.h"
#include "memory/memory.h"
#include "support/fake_platform.h"
#include "ted/raster.h"
#include "ted/ted.h"

namespace video {

constexpr uint16_t matrix = 0x0C00;      // $FF14 = $08
constexpr uint16_t attributes = 0x0800;  // the matrix minus $400
constexpr uint16_t charset = 0x2000;     // $FF13 = $20, patterns in RAM
constexpr uint16_t bitmap = 0x4000;      // $FF12 = $10
constexpr uint8_t background = 0x11, colour1 = 0x22, colour2 = 0x33, colour3 = 0x44, border = 0x55;

inline void setPattern(int code, std::initializer_list<uint8_t> lines) {
    int line = 0;
    for (uint8_t bits : lines) memory.ram[charset + code * 8 + line++] = bits;
}

inline void putCell(int column, int row, uint8_t code, uint8_t attribute) {
    memory.ram[matrix + row * 40 + column] = code;
    memory.ram[attributes + row * 40 + column] = attribute;
}

// Names a parameterised case after its `name` field.
struct CaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return info.param.name;
    }
};

inline uint8_t pixel(int x, int y) { return frameBuffer[y * frameWidth + x]; }

// Steps the beam one cycle at a time, so the renderer keeps pace with it exactly.
inline void step() {
    if (rasterStep(1) && frameComplete()) serveFrameEnd();
    renderStep();
}

inline void runFrame() {
    for (int i = 0; i < 312 * 57; ++i) step();
}

// Two frames: the first latches every line, the second draws from settled latches.
inline void renderScreen() {
    runFrame();
    runFrame();
}

class VideoTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetFakePlatform();
        freshMachine();
        ASSERT_TRUE(allocateRamBlock());
        std::memset(frameBuffer, 0xEE, sizeof frameBuffer);
        emulatorConfig = EmulatorConfig{};
        emulatorConfig.screenMode = 2;  // every pixel is drawn
        emulatorConfig.sync = 3;        // no frame-end work unless a test asks for it
        applySettings(emulatorConfig);
        ted.rasterCompare = 0x1FF;  // a line the beam never reaches
        shell.ticksPerFrame = 0;    // a 50 Hz wait ends at once on the still test clock
        shell.frameStamp = 0;
        shell.nextPresent = 0;  // the first frame with the sync off is shown
        shell.quickRegistersShown = 0;
        startBeam();
        resetBeam();
        ted.drawX = 0;
        ted.flashCounter = 0;
        ted.newLinePending = 0;  // as at start-up: the first latch comes with the first new line
        ted.rasterIrqArmed = 0;
        memory.ram[0xFF06] = 0x1B;  // screen on, 25 rows, vertical scroll 3
        memory.ram[0xFF07] = 0x08;  // 40 columns, 128 characters with reverse
        memory.ram[0xFF12] = 0x10;
        memory.ram[0xFF13] = 0x20;
        memory.ram[0xFF14] = 0x08;
        memory.ram[0xFF15] = background;
        memory.ram[0xFF16] = colour1;
        memory.ram[0xFF17] = colour2;
        memory.ram[0xFF18] = colour3;
        memory.ram[0xFF19] = border;
    }
    void TearDown() override { releaseRamBlock(); }
};

}  // namespace video

// Whole-machine speed as a multiple of real time (one frame = 1/50 s): CPU, timers,
// beam, rendering of a text screen and the frame end with a null display, sync off.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "bench_machine.h"
#include "host/configuration.h"
#include "host/frame_end.h"
#include "machine/settings.h"

int main(int argc, char** argv) {
    // Keeps writing the screen, so the picture changes every frame.
    const uint8_t loop[] = {
        0xA2, 0x00,        // $1000 LDX #$00
        0xBD, 0x00, 0x0C,  // $1002 LDA $0C00,X
        0x18,              //       CLC
        0x69, 0x01,        //       ADC #$01
        0x9D, 0x00, 0x0C,  //       STA $0C00,X
        0xE8,              //       INX
        0xD0, 0xF4,        //       BNE $1002
        0x4C, 0x00, 0x10,  //       JMP $1000
    };

    if (!powerOnBenchMachine(loop, sizeof loop)) return 1;
    emulatorConfig.screenMode = 0;
    emulatorConfig.sync = 0;
    applySettings(emulatorConfig);
    openFakeDisplay(320, 200);

    // A text screen: matrix at $0C00, attributes at $0800, characters at $2000 in RAM.
    memory.ram[0xFF06] = 0x1B;
    memory.ram[0xFF07] = 0x08;
    memory.ram[0xFF13] = 0x20;
    memory.ram[0xFF14] = 0x08;
    memory.ram[0xFF15] = 0x71;
    memory.ram[0xFF19] = 0x6E;
    for (int i = 0; i < 1000; ++i) {
        memory.ram[0x0C00 + i] = static_cast<uint8_t>(i & 0x7F);
        memory.ram[0x0800 + i] = static_cast<uint8_t>(i * 7);
    }
    for (int i = 0; i < 1024; ++i) memory.ram[0x2000 + i] = static_cast<uint8_t>(i * 37);

    const int frames = argc > 1 ? std::atoi(argv[1]) : 5000;
    // Processor time as well as wall time: on a busy machine only the first measures the emulator.
    const std::clock_t cpuStart = std::clock();
    const auto start = std::chrono::steady_clock::now();
    while (fake.presentCount < frames)
        if (emulationStep() & stepEvent::frameComplete) serveFrameEnd();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double emulated = frames / 50.0;
    std::printf(
        "frame_bench: %.1fx real time on processor time, %.1fx on wall time (%d frames in %.2f s / %.2f s)\n",
        emulated / cpuSeconds, emulated / seconds.count(), frames, cpuSeconds, seconds.count());
    return 0;
}

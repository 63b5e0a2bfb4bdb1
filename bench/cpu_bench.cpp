// Emulated instructions per second of emulationStep, with the TED's timers and
// beam running, on a small loop in RAM.
//
//   cpu_bench [steps, default 20000000]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench_machine.h"
#include "host/frame_end.h"

int main(int argc, char** argv) {
    // A mix of loads, stores, arithmetic, a read-modify-write and taken branches.
    const uint8_t loop[] = {
        0xA2, 0x00,        // $1000 LDX #$00
        0xBD, 0x00, 0x20,  // $1002 LDA $2000,X
        0x18,              //       CLC
        0x69, 0x01,        //       ADC #$01
        0x9D, 0x00, 0x21,  //       STA $2100,X
        0xE6, 0x10,        //       INC $10
        0xE8,              //       INX
        0xD0, 0xF2,        //       BNE $1002
        0x4C, 0x00, 0x10,  //       JMP $1000
    };
    if (!powerOnBenchMachine(loop, sizeof loop)) return 1;

    const long steps = argc > 1 ? std::atol(argv[1]) : 20'000'000;
    long instructions = 0;
    auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < steps; ++i) {
        instructions += ted.doubleClockAllowed == 1 && !ted.singleClock ? 2 : 1;
        if (emulationStep() & stepEvent::frameComplete) serveFrameEnd();
    }
    std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::printf("cpu_bench: %.1f million emulated instructions per second (%ld in %.2f s)\n",
                instructions / seconds.count() / 1e6, instructions, seconds.count());
    return 0;
}

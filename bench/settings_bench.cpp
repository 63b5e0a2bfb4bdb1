// Opening the settings store as the emulator does at start, for stores of growing
// size: the time per value stays flat when opening is linear.
//
//   settings_bench [largest value count, default 200000]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "host/configuration.h"

int main(int argc, char** argv) {
    const long largest = argc > 1 ? std::atol(argv[1]) : 200000;
    const std::string path = "/tmp/varnok_settings_bench_" + std::to_string(getpid()) + ".reg";
    setenv("VARNOK_REGISTRY", path.c_str(), 1);
    for (long count = largest / 8; count <= largest; count *= 2) {
        {
            std::ofstream out(path, std::ios::binary);
            out << "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Varnok]\n";
            for (long i = 0; i < count; ++i) out << "\"Value" << i << "\"=dword:0000000" << i % 10 << '\n';
            out << "\"Rom0L\"=\"open-basic.bin\"\n";
        }
        const auto start = std::chrono::steady_clock::now();
        readConfiguration();
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        if (emulatorConfig.romFileName[0] != "open-basic.bin") {
            std::printf("settings_bench: the store was not read\n");
            return 1;
        }
        std::printf("settings_bench: %7ld values opened in %8.3f s (%6.0f ns per value)\n", count,
                    seconds.count(), seconds.count() * 1e9 / double(count));
    }
    std::remove(path.c_str());
    return 0;
}

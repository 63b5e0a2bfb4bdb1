// A LOAD from a host folder of many files as drive 8 serves it: the name looked up in the
// folder's listing and the file read. The listing is kept while the folder is unchanged;
// the baseline, measured in the same run, reads the folder again for every LOAD, as a
// folder changed since the last one makes it.
//
//   folder_bench [files, default 10000]
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "drive/drive.h"
#include "drive/drive_media.h"

namespace {

constexpr int loads = 20;

bool load(const std::string& name) {
    const MediumOps* ops = mediumOps();
    if (!ops) return false;
    const std::vector<FileEntry> files = listFiles(*ops);
    const FileEntry* file = findEntry(files, name, ops->foldCase);
    std::vector<uint8_t> bytes;
    return file && !ops->read(*file, bytes, longestLoad).failed() && bytes.size() == 100;
}

// Milliseconds per LOAD; `changeFolder` gives the folder a new stamp before each one.
double millisecondsPerLoad(const std::string& folder, bool changeFolder) {
    double total = 0;
    for (int i = 0; i < loads; ++i) {
        if (changeFolder) utimensat(AT_FDCWD, folder.c_str(), nullptr, 0);
        const auto start = std::chrono::steady_clock::now();
        if (!load("GAME" + std::to_string(i * 397 % 1000))) return -1;
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    return total / loads;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::string folder = "/tmp/varnok_folder_bench_" + std::to_string(getpid());
    if (mkdir(folder.c_str(), 0700) != 0) return 1;
    const std::vector<uint8_t> program(100, 0xEA);
    for (int i = 0; i < count; ++i) {
        std::FILE* file = std::fopen((folder + "/game" + std::to_string(i) + ".prg").c_str(), "wb");
        if (!file) return 1;
        std::fwrite(program.data(), 1, program.size(), file);
        std::fclose(file);
    }
    // Older than a step of the folder's clock, so its stamp can be trusted.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    powerOnDrive(true);
    if (!mountHostDirectory(folder) || !load("GAME0")) {
        std::printf("folder_bench: the folder cannot be served\n");
        return 1;
    }
    const double kept = millisecondsPerLoad(folder, false);
    const double reread = millisecondsPerLoad(folder, true);
    std::printf(
        "folder_bench: %d files: a LOAD takes %.3f ms with the listing kept, %.3f ms reading the folder "
        "(baseline)\n",
        count, kept, reread);
    unmountDrive();
    return std::system(("rm -rf '" + folder + "'").c_str()) == 0 && kept >= 0 && reread >= 0 ? 0 : 1;
}

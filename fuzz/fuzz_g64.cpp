// G64 files as the drive takes them: the input is the file. One that is read writes back
// as a file that reads to the same tracks, its tracks decode to sectors without reading
// outside them, and mounted (or refused) it leaves the drive sound.
#include <cstdint>
#include <span>
#include <vector>

#include "disk/g64.h"
#include "drive/drive.h"
#include "drive/drive_media.h"
#include "fuzz_input_file.h"

namespace {

void require(bool condition) {
    if (!condition) __builtin_trap();
}

void mountAndList(const char* path) {
    if (mountD64(path)) {
        std::vector<FileEntry> files;
        d64Ops.entries(files);
        require(drive.writeProtected);
    }
    unmountDrive();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const gcr::G64 read = gcr::readG64(std::span(data, size));
    if (read.error.empty()) {
        const std::vector<uint8_t> written = gcr::writeG64(read.disk, read.halfTracks, read.trackBytes);
        const gcr::G64 again = gcr::readG64(written);
        require(again.error.empty() && again.disk.tracks == read.disk.tracks);
        static uint8_t image[d64LargestImageBytes];
        for (int track = 1; track <= 40; ++track) gcr::toD64(read.disk.tracks[2 * track], track, image);
    }
    loadThroughFile(data, size, mountAndList);
    return 0;
}

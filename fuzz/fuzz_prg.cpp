// Any file given to the program loader, up to three times the address space: the first
// two bytes of an input stretch it (repeating its tail), so files above 64 KB are reached.
#include <vector>

#include "fuzz_input_file.h"
#include "storage/program_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t extra = size_t(data[0] | data[1] << 8) * 3;  // 0 .. 196,605 bytes more
    std::vector<uint8_t> file(data + 2, data + size);
    for (size_t i = 0; i < extra && size > 2; ++i) file.push_back(file[i % (size - 2)]);
    loadThroughFile(file.data(), file.size(), [](const char* path) { loadProgramFile(path); });
    return 0;
}

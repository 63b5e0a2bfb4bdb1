// Any file given to the snapshot loader.
#include "fuzz_input_file.h"
#include "storage/program_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    loadThroughFile(data, size, [](const char* path) { loadSnapshot(path); });
    return 0;
}

// Any file given to the program loader.
#include "fuzz_input_file.h"
#include "storage/program_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    loadThroughFile(data, size, loadProgramFile);
    return 0;
}

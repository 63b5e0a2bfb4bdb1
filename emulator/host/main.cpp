// The program's entry point: the command-line tail is everything after the program
// name, joined as the shell would hand it over, unparsed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "host/program.h"
#include "host/sdl/backend.h"
#include "memory/memory.h"
#include "varnok_usage.h"

namespace {

constexpr int badScriptExit = 2;  // as `varnok --help` and varnok(6) say

}  // namespace

int main(int argc, char** argv) {
    // Only alone, and only when no file has that name: such a file is a program to run.
    std::error_code noFile;
    if (argc == 2 && !std::filesystem::exists(argv[1], noFile)) {
        const char* text = std::strcmp(argv[1], "--version") == 0 ? varnokVersionText
                           : std::strcmp(argv[1], "--help") == 0  ? varnokHelpText
                                                                  : nullptr;
        if (text) {
            std::fputs(text, stdout);
            return 0;
        }
    }
    std::string tail;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) tail += ' ';
        tail += argv[i];
    }
    if (std::getenv("VARNOK_DEBUGCART")) debugCartEnabled = 1;
    std::string error;
    if (!sdlhost::loadAutomation(error)) {
        std::fprintf(stderr, "varnok: %s\n", error.c_str());
        return badScriptExit;
    }
    std::atexit(sdlhost::shutdown);  // also on the debug cartridge's exit
    return startEmulator(tail.c_str(), 1);
}

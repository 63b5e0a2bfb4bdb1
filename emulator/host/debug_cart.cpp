// The test exit port: a hook on the memory map's $FDCF write, installed only when enabled.
#include <cstdlib>

#include "host/log.h"
#include "host/program.h"
#include "memory/memory.h"

uint8_t debugCartEnabled;

namespace {

void exitWith(uint8_t value) {
    closeLog();  // the log is the only file held open across the run
    std::exit(value);
}

}  // namespace

void installDebugCart() { memory.debugPortWrite = debugCartEnabled ? exitWith : nullptr; }

// The test exit port: a write to $FDCF ends a headless test program's run with the value,
// when enabled before start.
#include <cstdlib>

#include "host/log.h"
#include "host/program.h"
#include "memory/memory.h"

uint8_t debugCartEnabled;

void serveDebugPort() {
    memory.raisedEvents &= static_cast<StepEvents>(~stepEvent::debugPort);
    if (!debugCartEnabled) return;
    closeLog();  // the log is the only file held open across the run
    std::exit(memory.debugPortValue);
}

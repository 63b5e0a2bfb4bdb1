// The start-up log: one file, flushed after every line.
#include "common/log.h"

#include <cstdarg>
#include <cstdio>

#include "fileio/files.h"

namespace {

std::FILE* logFile = nullptr;

}  // namespace

bool openLog(std::string* error) {
    std::string why;
    logFile = files::createFile("Varnok.log", why);
    if (error) *error = why;
    return logFile != nullptr;
}

bool loggingOn() { return logFile != nullptr; }

void logLine(const char* format, ...) {
    if (!logFile) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(logFile, format, args);
    va_end(args);
    // Flushed at once: the log is read after a crash as often as after a clean exit.
    std::fflush(logFile);
}

void closeLog() {
    if (!logFile) return;
    std::fclose(logFile);
    logFile = nullptr;
}

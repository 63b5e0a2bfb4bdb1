#pragma once
// The start-up log "Varnok.log", which every unit may write to (defined in common/log.cpp).
// The header and the fatal path that also close it are the host's (host/log.h).
#include <string>

// Creates "Varnok.log" anew in the current directory as every file is written: a link or
// FIFO of that name, or a file the user may not replace, is refused (`error` says why),
// and nothing ever blocks.
bool openLog(std::string* error = nullptr);
bool loggingOn();
void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
void closeLog();

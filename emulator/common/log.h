#pragma once
// The start-up log "Varnok.log", which every unit may write to (defined in common/log.cpp).
// The header and the fatal path that also close it are the host's (host/log.h).

bool openLog();
bool loggingOn();
void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
void closeLog();

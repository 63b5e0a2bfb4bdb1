#pragma once
#include <cstdint>

#include "common/log.h"

// defined in host/log.cpp
void writeOsInfo();
// The fatal path: writes "Varnok Error: ..." to standard error, releases everything, shows
// it in a box, destroys the window, closes the log; returns resultCode.
int32_t fatalError(bool withWindow, int32_t resultCode, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// defined in host/log_header.cpp
// The header, the operating-system lines and the configuration block written right after opening.
void writeLogHeader();

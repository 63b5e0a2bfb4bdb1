#pragma once
#include <cstdint>

bool openLog();
void logLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
void writeOsInfo();
// The header, the operating-system lines and the configuration block written right after opening.
void writeLogHeader();
void closeLog();
bool loggingOn();
// The fatal path: releases everything, shows "Varnok Error: ..." in a box, destroys
// the window, closes the log; returns resultCode.
int32_t fatalError(bool withWindow, int32_t resultCode, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

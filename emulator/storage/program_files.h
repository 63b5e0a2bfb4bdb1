#pragma once
#include <cstdint>

void loadProgramFile(const char* path);
bool saveProgramFile(const char* path, uint16_t start, uint32_t end);
bool saveSnapshot(const char* path);
void loadSnapshot(const char* path);
// Puts R, U, N and RETURN into the KERNAL's keyboard buffer.
void typeRun();
// Puts up to ten keys (PETSCII, RETURN as '\r') into the KERNAL's keyboard buffer,
// replacing what waits there.
void typeKeys(const char* keys);

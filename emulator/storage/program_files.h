#pragma once
// Programs and whole machine states moved straight between host files and the machine.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "fileio/files.h"

// What a load did: anything but `loaded` left the machine exactly as it was.
enum class LoadStatus : uint8_t { loaded, unreadable, tooShort, pastMemoryEnd, wrongSize };

// A ".FRE" file: the header fields and the 64 KB of RAM.
constexpr size_t snapshotFileBytes = 65608;

// A PRG file: the load address, then at least one byte that belongs there; the last byte
// may land at $FFFE at the latest.
LoadStatus checkProgram(std::span<const uint8_t> file);
LoadStatus loadProgram(std::span<const uint8_t> file);
// A program or snapshot file read whole, before the machine sees it: `status` is `loaded`
// when it was read, `unreadable` when the read failed (the result's error says why), and
// pastMemoryEnd or wrongSize when the file is larger than any of its kind.
files::ReadResult readProgramFile(const std::string& path, LoadStatus& status);
files::ReadResult readSnapshotFile(const std::string& path, LoadStatus& status);
LoadStatus loadProgramFile(const char* path);
bool saveProgramFile(const char* path, uint16_t start, uint32_t end);
bool saveSnapshot(const char* path);
// Only a file of exactly snapshotFileBytes is restored.
LoadStatus loadSnapshotData(std::span<const uint8_t> file);
LoadStatus loadSnapshot(const char* path);
// Why a load was refused, in a few lower-case words; "" for `loaded`.
const char* loadStatusText(LoadStatus status);
// Puts R, U, N and RETURN into the KERNAL's keyboard buffer.
void typeRun();
// Puts up to ten keys (PETSCII, RETURN as '\r') into the KERNAL's keyboard buffer,
// replacing what waits there.
void typeKeys(const char* keys);

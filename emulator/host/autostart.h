#pragma once
// Starts a file the user hands over while the machine runs (chosen or dropped), the way
// a program named on the command line is started: a disk image goes into drive 8 and
// LOAD"*",8 and RUN are typed; a ".FRE" snapshot is restored at once; anything else is
// loaded as a program and RUN is typed. Disks and programs first reset the machine and
// give the ROM time to start, since its start empties the keyboard buffer.
#include <cstdint>

enum class StartKind : uint8_t { program, disk, snapshot };

// By the name's extension, in any case: ".d64" a disk, ".fre" a snapshot, else a program.
StartKind startKindOf(const char* path);
// False when the file cannot be used: unreadable, or a disk image that does not load.
bool autostartFile(const char* path);
// Called once per presented frame: does the next step of a start when its time has come.
void autostartFrame();
// True while a start still has keys to type.
bool autostartPending();

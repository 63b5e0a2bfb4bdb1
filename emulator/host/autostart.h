#pragma once
// Starts a file the user hands over: the file named on the command line, one dropped on
// the window or chosen on a page. The kind follows the name's extension, in any case:
//
// - ".d64" or ".g64": the disk goes into drive 8 for this run, over the stored drive settings; the
//   machine is reset, LOAD"*",8 is typed once the ROM waits at its READY. prompt, and RUN
//   once the load has ended and the prompt is back. A true drive loads in its real time,
//   so with one the machine runs at full speed (warp) until RUN is typed;
// - ".fre": the snapshot is restored at once and the machine goes on from it;
// - anything else is a program file: the machine is reset, and once the ROM has started
//   the program is loaded and RUN typed.
//
// The file is read whole and checked first; one that cannot be used changes nothing.
//
// The ROM is taken to wait at its prompt when no key waits in its keyboard buffer and the
// last line with text on the screen reads READY.: both the open ROM and the original
// KERNAL print it right before their input loop, and take keys typed meanwhile from the
// buffer. Nothing of a start is typed during the first frames after the reset (three
// seconds for a disk on a true drive, whose DOS must have started).
#include <cstdint>
#include <string>

enum class StartKind : uint8_t { program, disk, snapshot };

// By the name's extension, in any case: ".d64" or ".g64" a disk, ".fre" a snapshot, else a program.
StartKind startKindOf(const char* path);
// False, with `error` naming the file and saying why, when the file cannot be started.
bool autostartFile(const std::string& path, std::string& error);
// The same without the reason.
bool autostartFile(const char* path);
// Called at every frame end: does the next step of a start when its time has come.
void autostartFrame();
// True while a start still has keys to type.
bool autostartPending();
// Forgets a start still waiting (a new run in the same process).
void cancelAutostart();

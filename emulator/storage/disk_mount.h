#pragma once
// The disk in drive 8 for this run, put in while the machine runs: from the load menu, a
// file dropped on the window or the command line. The stored settings are left as they are.
#include <string>

// Puts the D64 or G64 image at `path` into drive 8; the drive answers from it from its next
// request on. A file that cannot be read (missing, not a regular file, empty, larger
// than any image or a G64 that is cut short or lies about its tracks) is refused with `error` naming it and
// saying why, and changes nothing.
bool mountDisk(const std::string& path, std::string& error);
// The file name of the image in drive 8, without its folder; empty when it holds none.
std::string mountedDiskName();

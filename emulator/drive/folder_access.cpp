// Whether the drive may write into a host folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "drive/drive_media.h"

bool folderWritable(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    if (geteuid() == 0) return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return faccessat(AT_FDCWD, path.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

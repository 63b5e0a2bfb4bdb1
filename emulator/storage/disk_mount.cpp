// The one place where a disk image is put into drive 8 while the machine runs.
#include "storage/disk_mount.h"

#include "common/configuration.h"
#include "drive/drive.h"
#include "fileio/files.h"
#include "truedrive/true_drive.h"

namespace {

constexpr int32_t d64DriveType = 2;

}  // namespace

bool mountDisk(const std::string& path, std::string& error) {
    // Read here for the reason: the drive's mount only says whether it took the image.
    const files::ReadResult file = files::readFile(path, d64LargestFileBytes);
    if (!file) {
        error = file.error;
        return false;
    }
    // A true drive's writes reach the old image's file before the disk changes; while they
    // cannot, the disk stays in.
    if (!flushTrueDriveDisk()) {
        error = drive.mediumPath + ": the drive's writes cannot be saved to it; the disk stays in";
        return false;
    }
    // A mount that fails leaves the drive as it was.
    if (!mountD64Image(path, file)) {
        error = path + ": " + imageRefusal(file.bytes);
        return false;
    }
    emulatorConfig.driveType8 = d64DriveType;
    emulatorConfig.drive8D64 = path;
    insertTrueDriveDisk();
    return true;
}

std::string mountedDiskName() {
    if (drive.medium != d64Medium) return {};
    return drive.mediumPath.substr(drive.mediumPath.find_last_of('/') + 1);
}

// Which medium stands behind drive 8, and taking it out.
#include "drive/drive.h"
#include "drive/drive_media.h"

const MediumOps* mediumOps() {
    switch (drive.medium) {
        case d64Medium:
            return &d64Ops;
        case hostFolderMedium:
            return &hostFolderOps;
        default:
            return nullptr;
    }
}

std::vector<FileEntry> listFiles(const MediumOps& ops) {
    std::vector<FileEntry> files;
    ops.entries(files);
    return files;
}

void refreshMedium() {
    if (const MediumOps* ops = mediumOps()) ops->refresh();
}

void unmountDrive() {
    closeAllChannels();
    drive.medium = noMedium;
    drive.mediumPath.clear();
    drive.folder = files::Folder();
    drive.imageStamp = files::FileStamp();
    drive.writeProtected = false;
    drive.tracks = 35;
    drive.hasErrorBytes = false;
    drive.g64 = drive.g64Writable = false;
    drive.g64File.clear();
}

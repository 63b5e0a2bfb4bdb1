// A true drive's writes reach the image's file even when a write-back fails once: the
// next one writes the image again, and the disk cannot be changed while they wait.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "disk/g64.h"
#include "drive/drive.h"
#include "storage/disk_mount.h"
#include "support/machine_helpers.h"
#include "truedrive/true_drive.h"

namespace {

TEST(TrueDriveWriteBack, FailedWriteIsTriedAgainAndKeepsTheDiskIn) {
    ScratchDirectory dir;
    const std::string first = dir.file("first.d64"), second = dir.file("second.d64");
    writeFile(first, formattedD64("FIRST", "1A"));
    writeFile(second, formattedD64("SECOND", "2B"));
    ASSERT_TRUE(mountD64(first));
    static SerialBus serial;
    attachTrueDrive(TrueDriveKind::drive1541, std::vector<uint8_t>(dosRomBytes, 0xEA), serial);
    trueDrive.disk.changed[2] = true;  // the DOS wrote track 1
    // The file's place is taken by a folder that holds something: no write can land there.
    std::filesystem::remove(first);
    std::filesystem::create_directory(first);
    writeFile(first + "/in the way", {1});
    EXPECT_FALSE(flushTrueDriveDisk());
    std::string error;
    EXPECT_FALSE(mountDisk(second, error));
    EXPECT_NE(error.find("first.d64"), std::string::npos) << error;
    EXPECT_EQ(drive.mediumPath, first);

    std::filesystem::remove_all(first);
    EXPECT_TRUE(flushTrueDriveDisk());
    EXPECT_EQ(readFile(first).size(), size_t(d64ImageBytes));
    EXPECT_TRUE(mountDisk(second, error)) << error;
    detachTrueDrive();
    unmountDrive();
}

// A G64 someone else changed since it was read keeps their tracks: only the half-tracks
// the drive wrote (one between two tracks here) replace theirs.
TEST(TrueDriveWriteBack, G64ChangedOnDiskTakesOnlyTheDrivesTracks) {
    ScratchDirectory dir;
    const std::string path = dir.file("disk.g64");
    const gcr::Disk ours = gcr::fromD64(formattedD64("OURS", "OU"), 35, {});
    writeFile(path, gcr::writeG64(ours));
    ASSERT_TRUE(mountD64(path));
    EXPECT_TRUE(drive.writeProtected);  // at the port level
    static SerialBus serial;
    attachTrueDrive(TrueDriveKind::drive1541, std::vector<uint8_t>(dosRomBytes, 0xEA), serial);
    EXPECT_FALSE(trueDrive.disk.writeProtected);
    trueDrive.disk.tracks[5] = std::vector<uint8_t>(7000, 0x5A);  // the drive wrote half-track 5
    trueDrive.disk.density[5] = 3;
    trueDrive.disk.changed[5] = true;
    gcr::Disk theirs = gcr::fromD64(formattedD64("THEIRS", "TH"), 35, {});
    theirs.tracks[2].assign(6000, 0x33);  // another program wrote track 1
    writeFile(path, gcr::writeG64(theirs));

    EXPECT_TRUE(flushTrueDriveDisk());
    const std::string bytes = readFile(path);
    const gcr::G64 merged = gcr::readG64(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    ASSERT_EQ(merged.error, "");
    EXPECT_EQ(merged.disk.tracks[5], trueDrive.disk.tracks[5]);
    EXPECT_EQ(merged.disk.density[5], 3);
    EXPECT_EQ(merged.disk.tracks[2], theirs.tracks[2]);
    EXPECT_EQ(merged.disk.tracks[36], theirs.tracks[36]);
    EXPECT_FALSE(trueDrive.disk.changed[5]);
    detachTrueDrive();
    unmountDrive();
}

}  // namespace

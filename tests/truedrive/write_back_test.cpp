// A true drive's writes reach the image's file even when a write-back fails once: the
// next one writes the image again, and the disk cannot be changed while they wait.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

}  // namespace

// Any disk image, listed and loaded through the port: the first 16 bytes of the input
// are a requested name, the rest the image from the BAM on (wrapping round to track 1),
// so that even short inputs reach the directory.
#include <algorithm>
#include <cstring>

#include "drive/drive.h"
#include "host/configuration.h"

namespace {

void request(const uint8_t* name, size_t length) {
    writeDrivePort(0xFEF0, 0x83);
    writeDrivePort(0xFEF0, 0x20);
    for (size_t i = 0; i < length; ++i) {
        writeDrivePort(0xFEF0, 0x81);
        writeDrivePort(0xFEF0, name[i]);
    }
    writeDrivePort(0xFEF0, 0x83);
    writeDrivePort(0xFEF0, 0x3F);
}

void readAnswer() {
    writeDrivePort(0xFEF0, 0x83);
    writeDrivePort(0xFEF0, 0x40);
    for (uint32_t i = 0; i < drive.dataLength; ++i) {
        writeDrivePort(0xFEF0, 0x84);
        (void)readDrivePort(0xFEF0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    emulatorConfig.driveType8 = 2;
    buildTrackOffsets();
    const size_t nameLength = std::min<size_t>(size, 16);
    std::memset(drive.d64Image, 0, sizeof drive.d64Image);
    const size_t imageBytes = std::min<size_t>(size - nameLength, d64ImageBytes);
    for (size_t i = 0; i < imageBytes; ++i)
        drive.d64Image[(trackOffset[18] + i) % d64ImageBytes] = data[nameLength + i];
    const uint8_t directory[] = {'$'}, wildcard[] = {'*'};
    request(directory, sizeof directory);
    readAnswer();
    request(wildcard, sizeof wildcard);
    readAnswer();
    request(data, nameLength);
    readAnswer();
    return 0;
}

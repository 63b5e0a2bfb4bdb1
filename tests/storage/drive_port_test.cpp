#include <gtest/gtest.h>

#include <cstring>

#include "drive/drive.h"
#include "port_session.h"

namespace {

class DrivePort : public ::testing::Test {
protected:
    void SetUp() override { resetDrive(2); }
    // An answer on channel 0 as if a medium had just built it.
    void prepareAnswer(std::initializer_list<uint8_t> bytes) {
        drive.channels[0].mode = channelReading;
        drive.channels[0].data.assign(bytes);
        drive.channels[0].position = 0;
        busCommand(0x40);  // TALK
    }
};

class DrivePortWithoutDrive : public ::testing::TestWithParam<int32_t> {};

TEST_P(DrivePortWithoutDrive, ReadsZeroAndIgnoresWrites) {
    resetDrive(GetParam());
    drive.dataLatch = 0x11, drive.status = 0x22, drive.handshake = 0x33;
    for (uint16_t address : {0xFEF0, 0xFEF1, 0xFEF2, 0xFE00}) EXPECT_EQ(readDrivePort(address), 0) << address;
    sendToDrive(0x83);
    sendToDrive(0x20);
    writeDrivePort(0xFEF2, 0x00);
    EXPECT_EQ(drive.portState, portIdle);
    EXPECT_EQ(drive.handshake, 0x33);
    EXPECT_EQ(drive.dataLatch, 0x11);
}

INSTANTIATE_TEST_SUITE_P(UnknownTypes, DrivePortWithoutDrive, ::testing::Values(0, 3, -1));

TEST_F(DrivePort, OtherAddressesReadZeroAndStatusIsNotWritable) {
    drive.status = 3;
    writeDrivePort(0xFEF1, 0x00);
    writeDrivePort(0xFE10, 0x83);
    EXPECT_EQ(readDrivePort(0xFEF1), 3);
    EXPECT_EQ(readDrivePort(0xFEF3), 0);
    EXPECT_EQ(readDrivePort(0xFEFF), 0);
    EXPECT_EQ(drive.portState, portIdle);
}

TEST_F(DrivePort, PresenceByteIsReadBackUntilTheNextByteIsFetched) {
    prepareAnswer({0x99});
    drive.commandBuffer[0] = 'X';
    drive.commandLength = 1;
    drive.status = 2;
    sendToDrive(0x55);
    EXPECT_EQ(readDrivePort(0xFEF0), 0x55);
    EXPECT_EQ(readDrivePort(0xFEF1), 0);
    EXPECT_EQ(drive.commandLength, 0u);
    EXPECT_EQ(drive.commandBuffer[0], 0);
    sendToDrive(0x84);
    EXPECT_EQ(readDrivePort(0xFEF0), 0x99);
}

TEST_F(DrivePort, UnknownBusCommandKeepsWaitingForOne) {
    drive.talkChannel = 7;
    sendToDrive(0x83);
    sendToDrive(0x41);
    EXPECT_EQ(drive.portState, portExpectBusCommand);
    EXPECT_EQ(drive.talkChannel, 7);
    sendToDrive(0x40);
    EXPECT_EQ(drive.portState, portIdle);
    EXPECT_EQ(drive.talkChannel, 0);  // a TALK without a secondary address reads channel 0
    EXPECT_EQ(drive.handshake, 0xFF);
}

TEST_F(DrivePort, ListenAndTalkAreTakenWithOrWithoutTheDeviceNumber) {
    for (uint8_t command : {0x20, 0x28, 0x40, 0x48}) {
        sendToDrive(0x83);
        sendToDrive(command);
        EXPECT_EQ(drive.portState, portIdle) << int(command);
    }
    sendToDrive(0x83);
    sendToDrive(0x29);  // LISTEN for device 9 is not for this drive
    EXPECT_EQ(drive.portState, portExpectBusCommand);
}

TEST_F(DrivePort, ByteAfterDataCodeIsAlwaysANameByte) {
    for (uint8_t value : {0x83, 0x84, 0x55, 0x20}) {
        sendToDrive(0x81);
        EXPECT_EQ(drive.handshake, 0x00);
        sendToDrive(value);
        EXPECT_EQ(drive.portState, portIdle);
    }
    EXPECT_EQ(drive.commandLength, 4u);
    EXPECT_EQ(std::memcmp(drive.commandBuffer, "\x83\x84\x55\x20", 4), 0);
}

TEST_F(DrivePort, LastOfThreeBytesCarriesStatus3) {
    prepareAnswer({0x01, 0x02, 0x03});
    const uint8_t expectedStatus[] = {0, 0, 3};
    for (int i = 0; i < 3; ++i) {
        sendToDrive(0x84);
        EXPECT_EQ(readDrivePort(0xFEF0), i + 1);
        EXPECT_EQ(readDrivePort(0xFEF1), expectedStatus[i]);
    }
    // Reading on past the answer hands out nothing stale: a CR, marked as the last byte,
    // and a new TALK goes on where reading stopped.
    for (int i = 0; i < 3; ++i) {
        sendToDrive(0x84);
        EXPECT_EQ(readDrivePort(0xFEF0), 0x0D);
        EXPECT_EQ(readDrivePort(0xFEF1), 3);
    }
    busCommand(0x40);
    sendToDrive(0x84);
    EXPECT_EQ(readDrivePort(0xFEF1), 3);
}

TEST_F(DrivePort, EmptyAnswerEndsAtTheFirstByte) {
    prepareAnswer({});
    sendToDrive(0x84);
    EXPECT_EQ(readDrivePort(0xFEF0), 0x0D);
    EXPECT_EQ(readDrivePort(0xFEF1), 3);
}

TEST_F(DrivePort, CloseWithoutNameEmptiesTheTransfer) {
    prepareAnswer({0x42, 0x43, 0x44});
    busCommand(0x20);
    sendToDrive(0x82);
    sendToDrive(0xE0);
    busCommand(0x3F);
    EXPECT_TRUE(answer().empty());
    EXPECT_EQ(drive.lastChannelCommand, 0xE0);
    busCommand(0x40);
    sendToDrive(0x84);
    EXPECT_EQ(readDrivePort(0xFEF0), 0x0D);  // not the closed answer's first byte
    EXPECT_EQ(readDrivePort(0xFEF1), 3);
}

TEST_F(DrivePort, NameLongerThanTheBufferKeepsItsFirst256Bytes) {
    busCommand(0x20);
    for (int i = 0; i < 600; ++i) {
        sendToDrive(0x81);
        sendToDrive(static_cast<uint8_t>('A' + i % 26));
    }
    EXPECT_EQ(drive.commandLength, 256u);
    EXPECT_EQ(drive.commandBuffer[255], 'A' + 255 % 26);
    EXPECT_EQ(drive.portState, portIdle);
}

TEST_F(DrivePort, FullBufferWithADrivePrefixIsLookedUpAsAName) {
    busCommand(0x20);
    for (int i = 0; i < 256; ++i) {
        sendToDrive(0x81);
        sendToDrive(i == 0 ? '0' : i == 1 ? ':' : 'Q');
    }
    busCommand(0x3F);  // an empty D64 image: not found
    EXPECT_EQ(drive.status, 2);
    EXPECT_EQ(errorChannel(), "62,FILE NOT FOUND,00,00");
}

}  // namespace

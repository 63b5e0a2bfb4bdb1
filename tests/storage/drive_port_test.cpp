#include <gtest/gtest.h>

#include <cstring>

#include "drive/drive.h"
#include "port_session.h"
#include "support/kernal_cable.h"

namespace {

bool ack() { return readDrivePort(0xFEF2) & 0x80; }

class DrivePort : public ::testing::Test {
protected:
    void SetUp() override { resetDrive(2); }
    // An answer on channel 0 as if a medium had just built it, and a TALK for it.
    void prepareAnswer(std::initializer_list<uint8_t> bytes) {
        drive.channels[0].mode = channelReading;
        drive.channels[0].data.assign(bytes);
        drive.channels[0].position = 0;
        busCommand(0x40);
    }
    uint8_t readByte(uint8_t& status) { return cable::receive(status); }
};

class DrivePortWithoutDrive : public ::testing::TestWithParam<int32_t> {};

TEST_P(DrivePortWithoutDrive, ReadsZeroAndIgnoresWrites) {
    resetDrive(GetParam());
    for (uint16_t address : {0xFEF0, 0xFEF1, 0xFEF2, 0xFEF3, 0xFE00})
        EXPECT_EQ(readDrivePort(address), 0) << address;
    EXPECT_FALSE(cable::present());
    cable::send(cable::busCommand, 0x20);
    EXPECT_EQ(drive.phase, phaseIdle);
    EXPECT_EQ(drive.tia.ddr[0], 0);
}

INSTANTIATE_TEST_SUITE_P(UnknownTypes, DrivePortWithoutDrive, ::testing::Values(0, 3, -1));

// Each step of the KERNAL's handshakes, and where the drive's ACK must stand after it.
struct Step {
    uint16_t address;
    uint8_t value;
    bool ackAfter;
};

TEST_F(DrivePort, AckFollowsEveryStepOfTheKernalsHandshakes) {
    const Step sendByte[] = {{0xFEF0, 0x81, false},
                             {0xFEF0, 0x20, false},
                             {0xFEF2, 0x00, true},
                             {0xFEF0, 0x00, true},
                             {0xFEF2, 0x40, true}};
    for (const Step& step : sendByte) {
        writeDrivePort(step.address, step.value);
        EXPECT_EQ(ack(), step.ackAfter) << std::hex << step.address << " " << int(step.value);
    }
    const Step readByte[] = {{0xFEF0, 0x84, false}, {0xFEF3, 0x00, false}, {0xFEF2, 0x00, true},
                             {0xFEF2, 0x40, false}, {0xFEF3, 0xFF, false}, {0xFEF0, 0x00, false},
                             {0xFEF2, 0x00, true},  {0xFEF2, 0x40, true}};
    for (const Step& step : readByte) {
        writeDrivePort(step.address, step.value);
        EXPECT_EQ(ack(), step.ackAfter) << std::hex << step.address << " " << int(step.value);
    }
    EXPECT_EQ(drive.phase, phaseIdle);
}

TEST_F(DrivePort, RegistersReadBackAsThe6523HoldsThem) {
    EXPECT_EQ(readDrivePort(0xFEF3), 0xFF);
    EXPECT_EQ(readDrivePort(0xFEF4), 0x00);
    EXPECT_EQ(readDrivePort(0xFEF5), 0x40);
    EXPECT_EQ(readDrivePort(0xFEF2) & 0x40, 0x40);  // the computer's own DAV
    EXPECT_EQ(readDrivePort(0xFEF6), 0);
    EXPECT_EQ(readDrivePort(0xFEFF), 0);
    writeDrivePort(0xFEF0, 0x55);  // not a code: the drive stays idle
    EXPECT_EQ(readDrivePort(0xFEF0), 0x55);
    EXPECT_EQ(drive.phase, phaseIdle);
    EXPECT_TRUE(ack());
}

TEST_F(DrivePort, DriveIsPresentAgainAfterAReadWithNothingToSend) {
    busCommand(0x40);
    uint8_t status = 0;
    EXPECT_EQ(readByte(status), 0x0D);
    EXPECT_EQ(status, 2);  // channel 0 is not open
    EXPECT_TRUE(cable::present());
    EXPECT_TRUE(cable::answered);
}

TEST_F(DrivePort, BusCommandsComeAfter81AndDataAfter83) {
    busCommand(0x28);  // LISTEN, with the device number
    cable::send(cable::secondary, 0xF2);
    cable::send(cable::data, '$');
    cable::send(cable::busCommand, 0x3F);
    EXPECT_EQ(drive.channels[2].mode, channelReading);  // the listing on channel 2
    cable::send(cable::busCommand, 0x48);               // TALK, with the device number
    cable::send(cable::secondary, 0x62);
    uint8_t status = 0;
    EXPECT_EQ(readByte(status), 0x01);  // the listing's load address
    EXPECT_EQ(readByte(status), 0x10);
    EXPECT_EQ(status, 0);
    busCommand(0x29);  // LISTEN for device 9 is not for this drive
    EXPECT_TRUE(drive.talking);
}

TEST_F(DrivePort, ByteAfterTheDataCodeIsAlwaysANameByte) {
    busCommand(0x20);
    for (uint8_t value : {0x81, 0x84, 0x55, 0x20, 0x3F}) cable::send(cable::data, value);
    EXPECT_EQ(drive.commandLength, 5u);
    EXPECT_EQ(std::memcmp(drive.commandBuffer, "\x81\x84\x55\x20\x3F", 5), 0);
    EXPECT_EQ(drive.listenTarget, listenName);  // no UNLISTEN was taken
}

TEST_F(DrivePort, LastOfThreeBytesCarriesStatus3) {
    prepareAnswer({0x01, 0x02, 0x03});
    const uint8_t expectedStatus[] = {0, 0, 3};
    uint8_t status = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(readByte(status), i + 1);
        EXPECT_EQ(status, expectedStatus[i]);
    }
    // Reading on past the answer hands out nothing stale: a CR, marked as the last byte,
    // and a new TALK goes on where reading stopped.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(readByte(status), 0x0D);
        EXPECT_EQ(status, 3);
    }
    busCommand(0x40);
    readByte(status);
    EXPECT_EQ(status, 3);
    EXPECT_TRUE(cable::answered);
}

TEST_F(DrivePort, EmptyAnswerEndsAtTheFirstByte) {
    prepareAnswer({});
    uint8_t status = 0;
    EXPECT_EQ(readByte(status), 0x0D);
    EXPECT_EQ(status, 3);
}

TEST_F(DrivePort, CloseWithoutNameEmptiesTheTransfer) {
    prepareAnswer({0x42, 0x43, 0x44});
    closeChannelOnBus(0);
    EXPECT_TRUE(answer().empty());
    EXPECT_EQ(drive.lastChannelCommand, 0xE0);
    busCommand(0x40);
    uint8_t status = 0;
    EXPECT_EQ(readByte(status), 0x0D);  // not the closed answer's first byte
    EXPECT_EQ(status, 2);
}

TEST_F(DrivePort, DataForAChannelNotOpenForWritingAnswers2) {
    busCommand(0x20);
    cable::send(cable::secondary, 0x62);
    EXPECT_EQ(cable::send(cable::data, 'X'), 2);  // PRINT# to a file that did not open
    busCommand(0x3F);
    busCommand(0x20);
    cable::send(cable::secondary, 0x61);
    EXPECT_EQ(cable::send(cable::data, 'X'), 0);  // a refused SAVE is told on the error channel
    busCommand(0x3F);
    EXPECT_TRUE(cable::present());
}

TEST_F(DrivePort, NameLongerThanTheBufferKeepsItsFirst256Bytes) {
    busCommand(0x20);
    for (int i = 0; i < 600; ++i) cable::send(cable::data, static_cast<uint8_t>('A' + i % 26));
    EXPECT_EQ(drive.commandLength, 256u);
    EXPECT_EQ(drive.commandBuffer[255], 'A' + 255 % 26);
    EXPECT_TRUE(cable::answered);
}

TEST_F(DrivePort, FullBufferWithADrivePrefixIsLookedUpAsAName) {
    EXPECT_EQ(request("0:" + std::string(254, 'Q')), notOpened);  // an empty D64 image
    EXPECT_EQ(errorChannel(), "62, FILE NOT FOUND,00,00");
}

}  // namespace

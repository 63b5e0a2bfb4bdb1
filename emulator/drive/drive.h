#pragma once
#include <cstdint>

// Drive 8 on the parallel port at $FEF0-$FEF2, serving a D64 image or a host directory.
enum PortState : uint8_t { portIdle = 0, portExpectBusCommand = 1, portExpectDataByte = 2 };

constexpr int commandBufferBytes = 256;
constexpr int transferBufferBytes = 65536;

constexpr int d64ImageBytes = 174848;

// The drive's state, one instance: the port, its buffers and the D64 medium.
struct Drive {
    uint8_t dataLatch = 0, status = 0, handshake = 0;
    PortState portState = portIdle;
    uint8_t commandBuffer[commandBufferBytes] = {};
    uint32_t commandLength = 0;
    uint8_t transferBuffer[transferBufferBytes] = {};
    uint16_t readPosition = 0, dataLength = 0;
    uint8_t lastChannelCommand = 0;
    uint8_t d64Image[d64ImageBytes] = {};
};

// defined in drive/drive_port.cpp
extern Drive drive;

uint8_t readDrivePort(uint16_t address);
void writeDrivePort(uint16_t address, uint8_t value);
void interpretCommand();

// D64 medium.
extern uint32_t trackOffset[37];
void buildTrackOffsets();
bool loadD64Image(const char* path);
void serveD64Command();

// Host-directory medium.
void serveHostDirectoryCommand();

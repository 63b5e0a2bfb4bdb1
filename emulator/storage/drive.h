#pragma once
#include <cstdint>

// Drive 8 on the parallel port at $FEF0-$FEF2, serving a D64 image or a host directory.
enum PortState : uint8_t { portIdle = 0, portExpectBusCommand = 1, portExpectDataByte = 2 };

constexpr int commandBufferBytes = 256;
constexpr int transferBufferBytes = 65536;

extern uint8_t dataLatch, driveStatus, handshake;
extern PortState portState;
extern uint8_t commandBuffer[commandBufferBytes];
extern uint32_t commandLength;
extern uint8_t transferBuffer[transferBufferBytes];
extern uint16_t readPosition, dataLength;
extern uint8_t lastChannelCommand;

uint8_t readDrivePort(uint16_t address);
void writeDrivePort(uint16_t address, uint8_t value);
void interpretCommand();

// D64 medium.
constexpr int d64ImageBytes = 174848;
extern uint8_t d64Image[d64ImageBytes];
extern uint32_t trackOffset[37];
void buildTrackOffsets();
bool loadD64Image(const char* path);
void serveD64Command();

// Host-directory medium.
void serveHostDirectoryCommand();

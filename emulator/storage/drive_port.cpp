// Placeholder until this unit is built; replace the whole file.
#include "storage/drive.h"
uint8_t dataLatch, driveStatus, handshake; PortState portState; uint8_t commandBuffer[commandBufferBytes]; uint32_t commandLength;
uint8_t transferBuffer[transferBufferBytes]; uint16_t readPosition, dataLength; uint8_t lastChannelCommand;
uint8_t readDrivePort(uint16_t) { return 0; }
void writeDrivePort(uint16_t, uint8_t) {}
void interpretCommand() {}

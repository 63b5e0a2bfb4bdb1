#include "support/kernal_cable.h"

#include "drive/drive.h"

namespace cable {

bool answered = true;

namespace {

constexpr uint16_t portA = 0xFEF0, portB = 0xFEF1, portC = 0xFEF2, ddrA = 0xFEF3, ddrB = 0xFEF4,
                   ddrC = 0xFEF5;
constexpr uint8_t davHigh = 0x40;

void waitAck(bool high) { answered = answered && bool(readDrivePort(portC) & 0x80) == high; }

}  // namespace

void init() {
    writeDrivePort(ddrA, 0xFF);
    writeDrivePort(ddrB, 0x00);
    writeDrivePort(portA, 0x00);
    writeDrivePort(ddrC, davHigh);
    writeDrivePort(portC, davHigh);
    answered = true;
}

bool present() {
    writeDrivePort(portA, 0x55);
    return readDrivePort(portA) == 0x55 && !(readDrivePort(portB) & 0x02);
}

uint8_t send(Code code, uint8_t value) {
    writeDrivePort(portA, code);
    waitAck(false);
    writeDrivePort(portA, value);
    writeDrivePort(portC, 0x00);
    waitAck(true);
    const uint8_t status = readDrivePort(portB) & 0x03;
    writeDrivePort(portA, 0x00);
    writeDrivePort(portC, davHigh);
    return status;
}

uint8_t receive(uint8_t& status) {
    writeDrivePort(portA, read);
    waitAck(false);
    writeDrivePort(ddrA, 0x00);
    writeDrivePort(portC, 0x00);
    waitAck(true);
    status = readDrivePort(portB) & 0x03;
    const uint8_t value = readDrivePort(portA);
    writeDrivePort(portC, davHigh);
    waitAck(false);
    writeDrivePort(ddrA, 0xFF);
    writeDrivePort(portA, 0x00);
    writeDrivePort(portC, 0x00);
    waitAck(true);
    writeDrivePort(portC, davHigh);
    return value;
}

}  // namespace cable

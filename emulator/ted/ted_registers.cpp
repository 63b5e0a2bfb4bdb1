// The TED's register file at $FF00-$FF3F. Most registers are plain bytes in
// the RAM store, where the renderer and the sound read them; the timers, the
// raster compare value and the single-clock bit have state of their own, and
// the beam position registers are computed from the beam.

#include <cstring>

#include "memory/memory.h"
#include "ted/keyboard.h"
#include "ted/raster.h"
#include "ted/sound.h"
#include "ted/ted.h"

namespace {

// The timers' 16-bit face: the low or high byte of the counter, by the register's parity.
uint8_t counterByte(int32_t counter, uint16_t address) {
    return uint8_t(address & 1 ? counter >> 8 : counter);
}

// $FF00/$FF02/$FF04 stop the timer and set the low byte; the high byte starts it from the reload.
void writeTimer(TedTimer& timer, uint16_t address, uint8_t value) {
    if (address & 1) {
        timer.reload = uint16_t((timer.reload & 0x00FF) | value << 8);
        timer.counter = timer.reload;
        timer.running = 1;
    } else {
        timer.running = 0;
        timer.reload = uint16_t((timer.reload & 0xFF00) | value);
        timer.counter = (timer.counter & 0xFF00) | value;
    }
}

// The TED line three internal lines back: the character position counter lags the beam.
// Before the table's start it wraps to the frame's last lines.
uint16_t characterPosition() {
    uint16_t earlier = tedLineTable[(ted.beamY % frameHeight + frameHeight - 3) % frameHeight];
    uint16_t position = uint16_t(40 * (earlier >> 3));
    return position > 1000 ? 1000 : position;
}

uint16_t currentTedLine() { return tedLineTable[ted.beamY % frameHeight]; }

uint8_t lineInRow(uint16_t line) {
    if (line < 3) return 7;
    if (line <= 203) return (line - 3) & 7;
    return 0;
}

}  // namespace

void updateInterruptLine() {
    const bool active = memory.ram[tedInterruptRequest] & memory.ram[tedInterruptEnable] & interruptSources;
    memory.ram[tedInterruptRequest] = uint8_t((memory.ram[tedInterruptRequest] & 0x7F) | (active ? 0x80 : 0));
    ted.irqLine = active;
}

void requestInterrupt(uint8_t sourceBit) {
    memory.ram[tedInterruptRequest] |= sourceBit;
    updateInterruptLine();
}

// One row per register, as the register table reads.
// clang-format off
uint8_t tedRead(uint16_t address) {
    switch (address) {
        case 0xFF00: case 0xFF01: return counterByte(ted.timer1.counter, address);
        case 0xFF02: case 0xFF03: return counterByte(ted.timer2.counter, address);
        case 0xFF04: case 0xFF05: return counterByte(ted.timer3.counter, address);
        case 0xFF09: return memory.ram[address] | 0x25;
        case 0xFF0A: return (memory.ram[address] & 0xFE) | 0xA0 | (ted.rasterCompare >> 8 & 1);
        case 0xFF0B: return uint8_t(ted.rasterCompare);
        case 0xFF0C: return memory.ram[address] | 0xFC;
        case 0xFF10: return (memory.ram[address] & 0x03) | 0x7C;
        case 0xFF12: return memory.ram[address] | 0xC0;
        case 0xFF13: return memory.ram[address] | (ted.singleClock ? 2 : 0) | (memory.romEnabled ? 1 : 0);
        case 0xFF1A: return uint8_t(0xFC | characterPosition() >> 8);
        case 0xFF1B: return uint8_t(characterPosition());
        case 0xFF1C: return uint8_t(0xFE | (currentTedLine() >> 8 & 1));
        case 0xFF1D: return uint8_t(currentTedLine());
        case 0xFF1E: return uint8_t(tedXTable[ted.beamX % 228]);
        case 0xFF1F: return uint8_t(0x80 | ted.flashCounter << 3 | lineInRow(currentTedLine()));
        default:     return memory.ram[address];
    }
}
// clang-format on

void tedWrite(uint16_t address, uint8_t value) {
    switch (address) {
        case 0xFF00:
        case 0xFF01:
            writeTimer(ted.timer1, address, value);
            return;
        case 0xFF02:
        case 0xFF03:
            writeTimer(ted.timer2, address, value);
            return;
        case 0xFF04:
        case 0xFF05:
            writeTimer(ted.timer3, address, value);
            return;
        case 0xFF08:
            scanKeyboard(value);  // leaves the scanned columns in $FF08
            return;
        case 0xFF09:
            // Each 1 bit acknowledges its request; the line stays up while another enabled one remains.
            memory.ram[address] &= uint8_t(~value);
            updateInterruptLine();
            return;
        case 0xFF0A:
            // The TED's own behaviour: the written bits replace the enables (bit 0 is the
            // compare line's bit 8, not an enable).
            memory.ram[address] = value & 0xFE;
            ted.rasterCompare = uint16_t((ted.rasterCompare & 0x00FF) | (value & 1) << 8);
            updateInterruptLine();
            return;
        case 0xFF0B:
            ted.rasterCompare = uint16_t((ted.rasterCompare & 0x0100) | value);
            return;
        case 0xFF0E:
            memory.ram[address] = value;
            ted.sound.voice1Freq = uint16_t((ted.sound.voice1Freq & 0x300) | value);
            updateVoice1();
            return;
        case 0xFF0F:
            memory.ram[address] = value;
            ted.sound.voice2Freq = uint16_t((ted.sound.voice2Freq & 0x300) | value);
            updateVoice2();
            return;
        case 0xFF10:
            memory.ram[address] = value | 0xFC;
            ted.sound.voice2Freq = uint16_t((ted.sound.voice2Freq & 0x0FF) | (value & 3) << 8);
            updateVoice2();
            return;
        case 0xFF11:
            memory.ram[address] = value;
            writeSoundControl(value);
            return;
        case 0xFF12:
            memory.ram[address] = value;
            ted.sound.voice1Freq = uint16_t((ted.sound.voice1Freq & 0x0FF) | (value & 3) << 8);
            updateVoice1();
            return;
        case 0xFF13:
            memory.ram[address] = value & 0xFC;
            ted.singleClock = value >> 1 & 1;
            return;
        default:
            memory.ram[address] = value;
            return;
    }
}

void resetTed(Reset kind) {
    if (kind == Reset::soft) return;
    if (kind == Reset::powerOn) powerOnTimers();
    std::memset(memory.ram + 0xFF00, 0, 0x40);
    updateInterruptLine();
    resetBeam();
}

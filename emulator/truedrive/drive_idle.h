#pragma once
// A drive waiting in its DOS's idle loop, its motor off, costs almost nothing. The
// processor's whole state (registers, RAM, the chips' settings) is compared at each
// visit of one address; once it comes back to a state seen before, with nothing from
// outside changed, no chip changed and no timer read, the loop will repeat for ever
// until something happens. The drive then parks: its time passes (timers count,
// interrupts draw near) without the processor. Shortly before the next event, or when
// the computer changes a line, the processor runs the part of a turn of the loop that
// the time covers and goes on from there, exactly where it would have been.
#include <array>
#include <cstdint>

#include "cpu/core.h"
#include "state/drive_idle.h"

struct TrueDrive;

// A byte of the drive's RAM changes: the RAM's hash follows it.
inline uint64_t idleKey(uint16_t address, uint8_t value) {
    uint64_t x = (uint64_t(address) << 8 | value) + 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}
inline void idleWriteRam(DriveIdle& idle, uint8_t* ram, uint16_t address, uint8_t value) {
    if (ram[address] == value) return;
    idle.ramHash ^= idleKey(address, ram[address]) ^ idleKey(address, value);
    ram[address] = value;
}

// A byte of the drive's RAM is read. The stack's bytes below its pointer are left over
// from earlier pushes (an interrupt's, at wherever it struck); the watch compares states
// without them, so it must know when a loop reads them (pulls read at the pointer).
inline uint8_t idleReadRam(DriveIdle& idle, const uint8_t* ram, uint16_t address, uint8_t stackPointer) {
    if ((address & 0xFF00) == 0x100 && (address & 0xFF) < stackPointer) idle.disturbed = true;
    return ram[address];
}

// Watches afresh from the processor's next instruction.
void idleRestart(TrueDrive& d);
// The processor reached the anchor: compares its state, and parks once the loop is found.
void idleVisit(TrueDrive& d);
// The processor takes an interrupt: a loop's length is measured only between two.
void idleInterrupted(TrueDrive& d);
// The lines from outside at the start of a run; a change ends the watch.
bool idleInputsChanged(TrueDrive& d, uint32_t inputs);

// The processor takes its place in the loop again: it runs the part of a turn that the
// parked time covers, with the clock held. Returns the cycles it ran past that point.
template <class Bus>
uint64_t idleUnpark(DriveIdle& idle, uint64_t now, Bus& bus) {
    idle.parked = false;
    const uint64_t phase = (now - idle.parkedAt) % idle.period;
    uint64_t ran = 0;
    while (ran < phase) {
        const uint16_t spent = cpu::execute(bus);
        ran += spent ? spent : 2;
    }
    return ran - phase;
}

// Puts a parked processor back into its loop at `clock`; the cycles it runs past that
// point pass through `pass(cycles)`.
template <class Bus, class Pass>
void idleWake(DriveIdle& idle, uint64_t& clock, Bus& bus, Pass pass) {
    if (!idle.parked) return;
    const uint64_t over = idleUnpark(idle, clock, bus);
    pass(over);
    clock += over;
}

// The parked drive's time passes through `pass(cycles)` up to `until`, or to shortly
// before the next event `toEvent` cycles away, where the processor is put back into its
// loop. `clock` is the drive's cycle count. True while it stays parked.
template <class Bus, class Pass>
bool idleWait(DriveIdle& idle, uint64_t& clock, uint64_t until, uint64_t toEvent, Bus& bus, Pass pass) {
    constexpr uint64_t margin = 16;  // the longest instruction the return may run past
    const uint64_t limit =
        toEvent > until - clock + margin ? until : clock + (toEvent > margin ? toEvent - margin : 0);
    if (limit > clock) {
        pass(limit - clock);
        clock = limit;
    }
    if (clock >= until) return true;
    idleWake(idle, clock, bus, pass);
    return false;
}

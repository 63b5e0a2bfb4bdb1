// The idle watch: each visit of the anchor hashes the drive's state and looks for it
// among the states of the visits before.
#include "truedrive/drive_idle.h"

#include <algorithm>

#include "truedrive/true_drive.h"

namespace {

// A watch that has not seen its anchor again in this many cycles (more than a 1551's
// interrupt period) moves its anchor to where the processor is now.
constexpr uint64_t anchorPatience = 40000;

// FNV-1a over the bytes of the state that are not RAM: registers, the chips' settings
// (not the timers' counts), the head.
struct StateHash {
    uint64_t value;
    void add(uint64_t bytes, int count = 1) {
        for (int i = 0; i < count; ++i, bytes >>= 8) value = (value ^ (bytes & 0xFF)) * 0x100000001B3ull;
    }
    void add(const Via6522& via) {
        add(uint64_t(via.orb) | via.ora << 8 | via.ddrb << 16 | uint64_t(via.ddra) << 24, 4);
        add(uint64_t(via.latch1) | via.latch2Low << 16 | uint64_t(via.timer1Armed) << 24, 4);
        add(uint64_t(via.timer2Armed) | via.shift << 8 | via.acr << 16 | uint64_t(via.pcr) << 24, 4);
        add(uint64_t(via.ifr) | via.ier << 8 | via.ca1 << 16 | uint64_t(via.cb1) << 24, 4);
    }
};

// The RAM's hash without the stack's bytes below its pointer (as if they were 0).
uint64_t liveRamHash(const TrueDrive& d) {
    uint64_t hash = d.idle.ramHash;
    for (uint16_t address = 0x100; address <= 0x100 + d.cpu.SP; ++address)
        if (d.ram[address]) hash ^= idleKey(address, d.ram[address]) ^ idleKey(address, 0);
    return hash;
}

uint64_t stateHash(const TrueDrive& d) {
    const Registers& r = d.cpu;
    StateHash h{liveRamHash(d) ^ 0xCBF29CE484222325ull};
    h.add(uint64_t(r.PC) | r.AC << 16 | uint64_t(r.XR) << 24 | uint64_t(r.YR) << 32 | uint64_t(r.SP) << 40,
          6);
    h.add(cpu::statusByte(r));
    h.add(uint64_t(d.portDirection) | d.portOutput << 8 | d.byteReady << 16 | uint64_t(d.irqPending) << 24,
          4);
    for (int port = 0; port < 3; ++port) h.add(d.tia.port[port] | d.tia.ddr[port] << 8, 2);
    h.add(d.via1);
    h.add(d.via2);
    const gcr::Head& head = d.head;
    h.add(uint64_t(head.halfTrack) | head.phase << 8 | head.density << 16 | uint64_t(head.writing) << 24, 4);
    h.add(uint64_t(head.input) | head.output << 8 | head.previous << 16 | uint64_t(head.sync) << 24, 4);
    h.add(head.position, 4);
    return h.value;
}

bool quiet(const TrueDrive& d) { return !d.head.motor && !d.idle.disturbed; }

// The slot of `state` in the table, or the free slot where it would go.
IdleState& slotOf(DriveIdle& idle, uint64_t state) {
    uint32_t index = uint32_t(state) & (DriveIdle::statesKept - 1);
    while (idle.seen[index].generation == idle.generation && idle.seen[index].state != state)
        index = (index + 1) & (DriveIdle::statesKept - 1);
    return idle.seen[index];
}

void park(TrueDrive& d, uint32_t period) {
    DriveIdle& idle = d.idle;
    idle.parked = true;
    idle.parkedAt = d.cycles;
    idle.period = period;
}

// The state at `cycle` came back now: every state seen since is on the same loop.
void loopFound(DriveIdle& idle, uint64_t cycle, uint64_t now) {
    const uint32_t period = uint32_t(now - cycle);
    for (IdleState& seen : idle.seen)
        if (seen.generation == idle.generation && seen.interrupts == idle.interrupts && seen.cycle >= cycle)
            seen.period = period;
}

}  // namespace

void idleRestart(TrueDrive& d) {
    DriveIdle& idle = d.idle;
    idle.anchor = d.cpu.PC;
    idle.lastVisit = d.cycles;
    idle.parked = false;
    idle.disturbed = false;
    ++idle.generation;  // every slot free at once
    idle.states = 0;
}

void idleVisit(TrueDrive& d) {
    DriveIdle& idle = d.idle;
    idle.lastVisit = d.cycles;
    if (!quiet(d)) {
        idleRestart(d);
        return;
    }
    const uint64_t state = stateHash(d);
    IdleState& slot = slotOf(idle, state);
    if (slot.generation != idle.generation) {
        if (++idle.states > DriveIdle::statesKept * 3 / 4) {
            idleRestart(d);
            return;
        }
        slot = IdleState{state, d.cycles, idle.generation, idle.interrupts, 0};
        return;
    }
    if (slot.period == 0) {
        if (slot.interrupts != idle.interrupts) {
            // An interrupt came between: the time since counts its handler. Timed anew.
            slot.cycle = d.cycles;
            slot.interrupts = idle.interrupts;
            return;
        }
        loopFound(idle, slot.cycle, d.cycles);
    }
    park(d, slot.period);
}

void idleInterrupted(TrueDrive& d) { ++d.idle.interrupts; }

bool idleInputsChanged(TrueDrive& d, uint32_t inputs) {
    DriveIdle& idle = d.idle;
    const bool changed = inputs != idle.inputs;
    idle.inputs = inputs;
    if (!idle.parked && d.cycles - idle.lastVisit > anchorPatience) idleRestart(d);
    return changed;
}

#include "disk/head.h"

namespace gcr {

namespace {

constexpr int firstHalfTrack = 2, lastHalfTrack = 2 * maxTrack;
// A turn of an empty half-track is as long as one of the slowest zone.
constexpr uint32_t emptyTrackBytes = 6250;

uint32_t trackLength(const Disk& disk, int halfTrack) {
    const size_t length = disk.tracks[halfTrack].size();
    return length ? uint32_t(length) : emptyTrackBytes;
}

}  // namespace

void setPhase(Head& head, const Disk& disk, uint8_t phase) {
    phase &= 3;
    const int step = (phase - head.phase) & 3;
    head.phase = phase;
    const int to = step == 1 ? head.halfTrack + 1 : step == 3 ? head.halfTrack - 1 : head.halfTrack;
    if (to < firstHalfTrack || to > lastHalfTrack || to == head.halfTrack) return;
    // The disk keeps turning: the head lands at the same angle on the new track.
    head.position =
        uint32_t(uint64_t(head.position) * trackLength(disk, to) / trackLength(disk, head.halfTrack));
    head.halfTrack = to;
}

namespace {

// Read at a bit rate other than the one it was written at, the bits fall out of step with
// the read clock: a sync (a long run of ones) still shows, but the bytes between are
// garbage, as copy protections that write a track at an odd rate expect.
uint8_t readAtHeadRate(const Head& head, const Disk& disk, uint8_t written) {
    if (head.density == disk.density[head.halfTrack] || written == 0xFF) return written;
    const uint8_t garbage = uint8_t((written * 0x9D) ^ (head.position * 0x5B) ^ 0xA5);
    return garbage == 0xFF ? 0xFE : garbage;
}

}  // namespace

uint32_t turn(Head& head, Disk& disk, uint32_t cycles) {
    if (!head.motor) return 0;
    head.cycles += cycles;
    const uint32_t perByte = cyclesPerByte(head);
    uint32_t ready = 0;
    while (head.cycles >= perByte) {
        head.cycles -= perByte;
        std::vector<uint8_t>& track = disk.tracks[head.halfTrack];
        const uint32_t length = trackLength(disk, head.halfTrack);
        head.position %= length;
        if (track.empty()) {
            head.sync = false;  // nothing was ever written here: no sync, no bytes
        } else if (head.writing) {
            head.sync = false;
            if (!disk.writeProtected) {
                track[head.position] = head.output;
                disk.changed[head.halfTrack] = true;
                disk.density[head.halfTrack] = head.density;
            }
            ++ready;
        } else {
            const uint8_t value = readAtHeadRate(head, disk, track[head.position]);
            head.sync = value == 0xFF && head.previous == 0xFF;
            head.previous = value;
            if (!head.sync) {
                head.input = value;
                ++ready;
            }
        }
        head.position = (head.position + 1) % length;
    }
    return ready;
}

}  // namespace gcr

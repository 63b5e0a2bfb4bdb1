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
            const uint8_t value = track[head.position];
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

// The sound channels' bookkeeping both backends keep.
#include "host/backend/sound_buffer.h"

#include <cstring>

namespace backend {

using platform::failed;
using platform::ok;
using platform::Result;

Result SoundChannels::create(int channel) {
    if (!opened || channel < 1 || channel > 3) return failed;
    SoundChannel& c = channels[channel];
    std::memset(c.written, 0, sizeof c.written);
    c.rate = bufferRate;
    c.volume = 0;
    c.playing = false;
    c.exists = true;
    return ok;
}

Result SoundChannels::lock(int channel, int16_t*& part1, uint32_t& bytes1, int16_t*& part2,
                           uint32_t& bytes2) {
    if (!valid(channel)) return failed;
    part1 = channels[channel].written;
    bytes1 = sizeof channels[channel].written;
    part2 = nullptr;
    bytes2 = 0;
    return ok;
}

Result SoundChannels::setRate(int channel, uint32_t samplesPerSecond, bool& changed) {
    changed = false;
    if (!valid(channel) || samplesPerSecond > highestRate) return failed;
    changed =
        channels[channel].rate.exchange(samplesPerSecond, std::memory_order_relaxed) != samplesPerSecond;
    return ok;
}

Result SoundChannels::setPan(int channel, int32_t pan) const {
    return valid(channel) && validPan(pan) ? ok : failed;
}

Result SoundChannels::setVolume(int channel, int32_t hundredths, bool& changed) {
    changed = false;
    if (!valid(channel) || !validVolume(hundredths)) return failed;
    changed = channels[channel].volume.exchange(hundredths, std::memory_order_relaxed) != hundredths;
    return ok;
}

Result SoundChannels::volume(int channel, int32_t& hundredths) const {
    if (!valid(channel)) return failed;
    hundredths = channels[channel].volume.load(std::memory_order_relaxed);
    return ok;
}

Result SoundChannels::play(int channel) {
    if (!valid(channel)) return failed;
    channels[channel].playing = true;
    return ok;
}

void SoundChannels::release() {
    opened = false;
    for (int c = 1; c <= 3; ++c) {
        channels[c].exists = false;
        channels[c].playing = false;
    }
}

}  // namespace backend

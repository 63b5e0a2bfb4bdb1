// Key transitions in the order the host gave them, each held until the machine has seen
// it. Time is counted in ticks: a finished frame, or a while without frames.
#include "host/backend/key_queue.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <vector>

namespace {

struct Transition {
    uint8_t code;
    bool down;
};

constexpr uint8_t down = 0x80;
// A menu polling for a key's release draws no frames; its wait still ends.
constexpr double framelessTick = 60;

std::deque<Transition> waiting;  // in the host's order, behind one that may not pass yet
uint8_t keys[256];               // what reads get
uint8_t last[256];               // each key's state once everything waiting has passed

uint32_t tick = 1;
uint32_t tickTimed = 0;  // the tick the clock last looked at, and when
double tickTimedAt = 0;

// The tick in which a key last changed (0: never), and the first later tick in which it
// was read (0: not yet). A scan that began before the change may have missed it, so only
// a read in a later tick counts, and only once that tick is over: the scan it belonged
// to has then ended.
uint32_t changedAt[256], readAt[256];
std::vector<uint8_t> unread;  // keys changed and not yet read in a later tick

bool seen(uint8_t code) { return changedAt[code] == 0 || (readAt[code] != 0 && tick > readAt[code]); }

void apply(const Transition& transition) {
    keys[transition.code] = transition.down ? down : 0;
    changedAt[transition.code] = tick;
    readAt[transition.code] = 0;
    if (std::find(unread.begin(), unread.end(), transition.code) == unread.end())
        unread.push_back(transition.code);
}

// The order is kept: a key waits behind any other key's transition, so a letter typed
// after a shifted one never meets the shift still held.
void passWaiting() {
    while (!waiting.empty() && seen(waiting.front().code)) {
        apply(waiting.front());
        waiting.pop_front();
    }
}

void noteRead() {
    std::erase_if(unread, [](uint8_t code) {
        if (tick <= changedAt[code]) return false;
        readAt[code] = tick;
        return true;
    });
}

}  // namespace

namespace backend {

void keyEvent(uint8_t code, bool isDown) {
    const uint8_t state = isDown ? down : 0;
    if (last[code] == state) return;  // a repeat, or a release of a key never seen going down
    last[code] = state;
    if (waiting.empty() && seen(code))
        apply({code, isDown});
    else
        waiting.push_back({code, isDown});
}

void keyFrameEnded() { ++tick; }

void readKeys(uint8_t state[256], double nowMilliseconds) {
    if (tick != tickTimed) {
        tickTimed = tick;
        tickTimedAt = nowMilliseconds;
    } else if (nowMilliseconds - tickTimedAt >= framelessTick) {
        tickTimed = ++tick;
        tickTimedAt = nowMilliseconds;
    }
    passWaiting();
    noteRead();
    std::memcpy(state, keys, sizeof keys);
}

void releaseAllKeys() {
    waiting.clear();
    unread.clear();
    std::memset(keys, 0, sizeof keys);
    std::memset(last, 0, sizeof last);
    std::memset(changedAt, 0, sizeof changedAt);
    std::memset(readAt, 0, sizeof readAt);
}

}  // namespace backend

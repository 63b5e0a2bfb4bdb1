#pragma once
// The host's key presses and releases, queued so that the machine sees every one: a
// key's new state stays until a keyboard scan of the machine has seen it, whatever the
// host's events were (a tap within one frame, a paste, a tool typing). Events that come
// slower than the machine scans pass at once, so typing stays real time. The backends
// hand their key events and frames over here, and platform::readKeys answers from
// backend::readKeys.
#include <cstdint>

namespace backend {

// A host key, by DirectInput scan code, went down or up.
void keyEvent(uint8_t code, bool down);
// A frame was finished, shown or only counted: a program that scans the keyboard has
// done so meanwhile.
void keyFrameEnded();
// The keys as the machine may see them now, $80 for a key down. The clock (in
// milliseconds) moves the queue on while no frames come: a menu waiting for a release.
void readKeys(uint8_t state[256], double nowMilliseconds);
// Every key up and nothing waiting: the window lost the focus.
void releaseAllKeys();

}  // namespace backend

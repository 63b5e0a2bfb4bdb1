#pragma once
// State and helpers shared by the files of the browser backend. The emulator runs on
// the page's one thread: every wait gives the page its turn by suspending the C++
// stack (ASYNCIFY) until an animation frame resumes it, so keys, drops and the
// toolbar are served while a menu or the monitor waits for a key.
#include <cstdint>

#include "host/backend/message_queue.h"
#include "host/platform.h"

namespace webhost {

// Resumes at the first animation frame at or after `notBefore` (performance.now()
// milliseconds; 0 for the next frame).
void yieldUntil(double notBefore);
// How the work between two turns of the page is paced: the machine at its speed sync
// (the vertical blank gives the turns), the machine running free (it goes on as soon as
// the page has served its events), or a menu or the monitor (one pass per animation
// frame: a screen that waits for a key needs no more).
enum class Pace : uint8_t { synced, free, menu };
using PaceTest = Pace (*)();
// The page's start-up tells which pace holds; without a test the machine is synced.
void setPaceTest(PaceTest test);
Pace currentPace();
// Gives the page its turn when the current slice of work has run long enough, so loops
// that only poll (a key, the clock, the message queue) never freeze the page.
void yieldIfDue();

using backend::pushMessage;

bool windowOpen();

void frameReceived();
uint32_t framesReceived();
// Paints the last frame if it was skipped; done before the page takes its turn.
void paintPending();

}  // namespace webhost

#pragma once
// State and helpers shared by the files of the browser backend. The emulator runs on
// the page's one thread in turns (host/web/turns.cpp): each runs the main loop until it
// has to wait and then hands the page back, so keys, drops and the toolbar are served
// between two turns, while a menu or the monitor waits for a key as while the machine runs.
#include <cstdint>

#include "host/backend/message_queue.h"
#include "platform/platform.h"
#include "shell/pacing.h"

namespace webhost {

using backend::pushMessage;

bool windowOpen();

void frameReceived();
uint32_t framesReceived();
// Paints the last frame if it was skipped; done before the page takes its turn.
void paintPending();
// The time (performance.now() milliseconds) at which the display's next 50 Hz vertical
// blank is met, the schedule moved on by one blank.
double nextVerticalBlank();

// The page's turns of a run: begun by a start, ended when the run quits. `finished` is
// called after the run's last turn, with the program's exit code.
void beginTurns(void (*finished)(int exitCode));
// How the work of a turn is paced: at the speed sync (the waits give the turns), running
// free (the next turn follows as soon as the page has served its events), or a screen.
bool runningFree();
// Takes a turn at the next animation frame; and the turn of a page whose run has ended
// (host/web/main.cpp: it starts a run again when one was asked for).
void scheduleTurn();
void stoppedTurn();

}  // namespace webhost

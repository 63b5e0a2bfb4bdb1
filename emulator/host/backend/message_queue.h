#pragma once
// The window's message queue and procedure, the same for every platform backend: the
// backend translates its events into messages queued here; peekMessage, waitMessage and
// getMessage take them, dispatchMessage hands them to the window procedure. The backend
// defines peekMessage, messageWaiting and waitMessage itself, since how its events are
// fetched while one waits is its own (getMessage, dispatchMessage, the posts and
// setWindowProc are defined here).
#include "platform/platform.h"

namespace backend {

void pushMessage(platform::Message message);
bool messageQueued();
// Takes the first queued message; false when none waits.
bool takeMessage(platform::Message& message);
// Queues the drop of a file on the window; platform::takeDroppedFile hands its path over.
void pushDroppedFile(const char* path);

}  // namespace backend

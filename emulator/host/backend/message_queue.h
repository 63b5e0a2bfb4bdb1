#pragma once
// The window's message queue, the same for every platform backend: the backend
// translates its events into messages queued here, and takeMessage takes them. The
// backend defines takeMessage and waitMessage itself, since how its
// events are fetched while one waits is its own (postMessage and takeDroppedFile are
// defined here).
#include "platform/platform.h"

namespace backend {

void pushMessage(platform::Message message);
bool messageQueued();
// Takes the first queued message; false when none waits.
bool takeMessage(platform::Message& message);
// Queues the drop of a file on the window; platform::takeDroppedFile hands its path over.
void pushDroppedFile(const char* path);

}  // namespace backend

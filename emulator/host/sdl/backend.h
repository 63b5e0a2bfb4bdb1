#pragma once
// What the program's entry point needs from the SDL2 backend beyond platform.h.
#include <string>

namespace sdlhost {

// Reads the script named by $VARNOK_AUTOMATION, if any. False when the script is
// refused; `error` then names the file, the line and the reason.
bool loadAutomation(std::string& error);
// Closes whatever SDL still holds; safe to call more than once.
void shutdown();

}  // namespace sdlhost

// The shell's state and the one place where a waiting message is taken.
#include "shell/shell.h"

Shell shell;

void resetShellState() {
    Shell fresh;
    fresh.speedDisplayShown = shell.speedDisplayShown;
    fresh.ticksPerFrame = shell.ticksPerFrame;
    fresh.frameStamp = shell.frameStamp;
    shell = fresh;
}

void requestExit(int32_t code) {
    shell.exitCode = code;
    shell.quitRequested = 1;
}

void requestStart(const std::string& path) {
    shell.fileToStart = path;
    shell.requests.start = shell.requests.pending = 1;
}

bool takeMessage(platform::Message& message) {
    if (!platform::peekMessage(message)) return false;
    if (message.type == platform::msgQuit) requestExit(static_cast<int32_t>(message.wParam));
    return true;
}

Pumped pumpMessage() {
    platform::Message message;
    if (!takeMessage(message)) return Pumped::none;
    if (message.type == platform::msgQuit) return Pumped::quit;
    platform::dispatchMessage(message);
    return Pumped::dispatched;
}

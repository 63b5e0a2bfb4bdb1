// The shell's state and the one place where a waiting message is taken.
#include "shell/shell.h"

Shell shell;

namespace {
WindowProc windowProcedure = nullptr;
}  // namespace

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

void setWindowProc(WindowProc proc) { windowProcedure = proc; }

WindowProc currentWindowProc() { return windowProcedure; }

void dispatchMessage(const platform::Message& message) {
    if (windowProcedure) windowProcedure(message);
}

void closeMainWindow() {
    if (!platform::windowExists()) return;
    platform::destroyWindow();
    dispatchMessage({platform::msgDestroy, 0});
}

bool nextMessage(platform::Message& message) {
    if (!platform::takeMessage(message)) return false;
    if (message.type == platform::msgQuit) requestExit(static_cast<int32_t>(message.wParam));
    return true;
}

Pumped pumpMessage() {
    platform::Message message;
    if (!nextMessage(message)) return Pumped::none;
    if (message.type == platform::msgQuit) return Pumped::quit;
    dispatchMessage(message);
    return Pumped::dispatched;
}

// The open built-in screen and the frame of its passes: the window's messages, the
// inactive window, the 50 Hz pace and the keys a closing screen waits for.
#include "host/screens.h"

#include "host/main_loop.h"
#include "host/program.h"
#include "memory/memory.h"
#include "platform/platform.h"
#include "shell/presentation.h"
#include "shell/sound_output.h"

namespace {

const Screen* shown = nullptr;
bool closing = false;  // its last pass is done; it closes once the awaited keys are up
bool passDue = false;  // this period's message was taken; the pass follows the pace
uint64_t lastPass = 0;

// A pass that only presents: the screen waits for a key to come up or rests.
void runPass() {
    if (closing || !passReady()) {
        if (closing && !awaitingRelease())
            closeScreen();
        else
            presentMenu();
        return;
    }
    if (shown->pass()) return;
    closing = true;
    if (!awaitingRelease()) closeScreen();
}

}  // namespace

void openScreen(const Screen& screen) {
    shown = &screen;
    closing = passDue = false;
    resetKeyRepeat();
    screen.open();
}

bool screenOpen() { return shown != nullptr; }

Wait screenTurn() {
    if (!passDue) {
        // Once a quit has been asked for, by a message taken here or elsewhere, no screen goes on.
        if (!messagesHeld()) {
            if (shell.quitRequested || pumpMessage() == Pumped::quit) {
                closeScreen();
                return {};
            }
            if (!shell.windowActive) return {Wait::message};
        }
        // One pass per 50 Hz period at most: the screen changes no faster, and the program
        // sleeps between passes instead of polling the keyboard as fast as it can.
        passDue = true;
        return {Wait::sleep, lastPass + shell.ticksPerFrame};
    }
    passDue = false;
    lastPass = platform::performanceCounter();
    runPass();
    // What the monitor's steps raised is served at once: a test program's exit, the voices.
    if (memory.raisedEvents) serveStepEvents(memory.raisedEvents);
    return {};
}

void closeScreen() {
    if (!shown) return;
    const Screen& screen = *shown;
    shown = nullptr;
    if (screen.close) screen.close();
    *screen.request = 0;
    holdMessages(false);
    resetKeyRepeat();
    restoreSound();
    // Drop what queued up while the screen ran, but never a request to quit.
    platform::Message message, last;
    bool any = false;
    while (nextMessage(message)) {
        last = message;
        any = true;
    }
    if (any && last.type != platform::msgQuit) dispatchMessage(last);
    shell.menuOpen = 0;
}

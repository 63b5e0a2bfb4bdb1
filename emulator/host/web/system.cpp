// Clock, priority, local time, message boxes and the system description in the browser.
#include <emscripten.h>

#include <ctime>

#include "host/web/web_host.h"

namespace {

constexpr uint64_t ticksPerSecond = 1000000;  // the counter counts microseconds
constexpr double ticksPerMillisecond = ticksPerSecond / 1000.0;

// The page shows the box beside the screen; the machine does not wait for it to close,
// since nothing can run in the page while C++ blocks.
// clang-format off
EM_JS(void, showMessage, (const char* text, const char* caption), {
    const message = UTF8ToString(text), title = UTF8ToString(caption);
    console.warn(title + ": " + message);
    if (Module.showMessage) Module.showMessage(message, title);
});

EM_JS(int, copyUserAgent, (char* buffer, int size), {
    const agent = navigator.userAgent || "";
    if (!agent || size <= 0) return 0;
    stringToUTF8(agent, buffer, size);
    return 1;
});
// clang-format on

}  // namespace

namespace platform {

uint64_t performanceFrequency() { return ticksPerSecond; }
uint64_t performanceCounter() { return static_cast<uint64_t>(emscripten_get_now() * ticksPerMillisecond); }

// C++ cannot block the page: its turns end where the main loop waits (host/web/turns.cpp).
void sleepMicroseconds(uint32_t) {}

// A page has one priority; asking for another is answered with the nearest, the same.
int32_t getPriorityClass() { return priorityNormal; }
bool setPriorityClass(int32_t priorityClass) {
    return priorityClass >= priorityNormal && priorityClass <= priorityRealtime;
}

LocalTime localTime() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return {parts.tm_hour, parts.tm_min, parts.tm_sec};
}

void messageBox(const char* text, const char* caption, bool) { showMessage(text, caption); }

SystemDescription describeSystem() {
    SystemDescription system{"Web browser", {}, {}};
    char agent[256];
    if (copyUserAgent(agent, sizeof agent)) system.version = agent;
    return system;
}

}  // namespace platform

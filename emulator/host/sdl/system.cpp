// Clock, process priority, local time, message boxes and the operating-system
// description, from SDL and POSIX.
#include <sys/resource.h>
#include <sys/utsname.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

#include "host/sdl/sdl_host.h"

namespace {

// Windows' priority classes as nice values: normal, high, real-time.
constexpr int niceOfClass[3] = {0, -10, -20};

bool copyText(const std::string& text, char* buffer, int size) {
    if (text.empty() || size <= 0) return false;
    std::snprintf(buffer, static_cast<size_t>(size), "%s", text.c_str());
    return true;
}

std::string osReleaseName() {
    std::ifstream file("/etc/os-release");
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("PRETTY_NAME=", 0) != 0) continue;
        std::string value = line.substr(12);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return {};
}

}  // namespace

namespace sdlhost {

bool headless() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return automationActive() || (driver && std::strcmp(driver, "dummy") == 0) ||
           (!driver && SDL_getenv("SDL_VIDEODRIVER") &&
            std::strcmp(SDL_getenv("SDL_VIDEODRIVER"), "dummy") == 0);
}

}  // namespace sdlhost

namespace platform {

uint64_t performanceFrequency() { return SDL_GetPerformanceFrequency(); }
uint64_t performanceCounter() { return SDL_GetPerformanceCounter(); }

int32_t getPriorityClass() {
    int nice = getpriority(PRIO_PROCESS, 0);  // halfway between the classes' values decides
    return nice <= -15 ? priorityRealtime : nice <= -5 ? priorityHigh : priorityNormal;
}

// Raising the priority needs privileges; take the nearest value the system grants.
bool setPriorityClass(int32_t priorityClass) {
    if (priorityClass < priorityNormal || priorityClass > priorityRealtime) return false;
    for (int nice = niceOfClass[priorityClass]; nice <= 19; ++nice)
        if (setpriority(PRIO_PROCESS, 0, nice) == 0) return true;
    return false;
}

LocalTime localTime() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return {parts.tm_hour, parts.tm_min, parts.tm_sec};
}

void messageBox(const char* text, const char* caption, bool owned) {
    // A headless run has nobody to press OK, so its boxes go to standard error.
    if (!sdlhost::headless() && SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text,
                                                         owned ? sdlhost::window : nullptr) == 0)
        return;
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

bool osProductName(char* buffer, int size) { return copyText(osReleaseName(), buffer, size); }

bool osVersion(char* buffer, int size) {
    utsname names{};
    return uname(&names) == 0 && copyText(names.release, buffer, size);
}

bool osBuild(char* buffer, int size) {
    utsname names{};
    return uname(&names) == 0 && copyText(names.version, buffer, size);
}

}  // namespace platform

// Clock, process priority, local time, message boxes and the operating-system
// description, from SDL and POSIX.
#include <pthread.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <sys/resource.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

#include "host/sdl/sdl_host.h"

namespace {

// Windows' priority classes as nice values: normal, high, real-time.
constexpr int niceOfClass[3] = {0, -10, -20};

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

// The box runs the window system's own loop, where SDL's signal handling (a quit event)
// is never looked at: a SIGTERM or SIGINT there would wait as long as the box does.
// The box only ever shows a fatal error, so the signal ends the program with status 1.
// A signal the program was started to ignore (SIGINT in a shell's background) stays so.
extern "C" void endFatalBox(int) { _exit(1); }

// SDL shows the box from a child process of its own, which would stay on the screen when
// a signal ends the program: the child is made to end with it.
pid_t boxOwner = 0;
extern "C" void boxChildEndsWithOwner() {
    if (boxOwner == 0) return;
#ifdef __linux__
    prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
    if (getppid() != boxOwner) _exit(1);  // the owner ended before the line above
}

struct BoxSignals {
    struct sigaction saved[2];
    static constexpr int signals[2] = {SIGTERM, SIGINT};
    BoxSignals() {
        struct sigaction action {};
        action.sa_handler = endFatalBox;
        sigemptyset(&action.sa_mask);
        for (int i = 0; i < 2; ++i) {
            sigaction(signals[i], nullptr, &saved[i]);
            if (saved[i].sa_handler != SIG_IGN) sigaction(signals[i], &action, nullptr);
        }
    }
    ~BoxSignals() {
        for (int i = 0; i < 2; ++i) sigaction(signals[i], &saved[i], nullptr);
    }
    BoxSignals(const BoxSignals&) = delete;
    BoxSignals& operator=(const BoxSignals&) = delete;
};

}  // namespace

namespace sdlhost {

bool headless() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return automationActive() || (driver && std::strcmp(driver, "dummy") == 0) ||
           (!driver && SDL_getenv("SDL_VIDEODRIVER") &&
            std::strcmp(SDL_getenv("SDL_VIDEODRIVER"), "dummy") == 0);
}

bool invisibleDriverUnasked() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || SDL_strcasecmp(driver, "offscreen") != 0) return false;
    // The variable may name one driver or a comma-separated list of them.
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    std::string names = asked ? asked : "";
    for (size_t start = 0; start <= names.size();) {
        size_t end = names.find(',', start);
        if (end == std::string::npos) end = names.size();
        if (SDL_strcasecmp(names.substr(start, end - start).c_str(), driver) == 0) return false;
        start = end + 1;
    }
    return true;
}

}  // namespace sdlhost

namespace platform {

uint64_t performanceFrequency() { return SDL_GetPerformanceFrequency(); }
uint64_t performanceCounter() { return SDL_GetPerformanceCounter(); }

// SDL_Delay has whole milliseconds only; the speed sync needs finer sleeps.
void sleepMicroseconds(uint32_t microseconds) {
    timespec left{static_cast<time_t>(microseconds / 1000000),
                  static_cast<long>(microseconds % 1000000) * 1000};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

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

// The fatal path has already written the text to standard error; a headless run has
// nobody to press OK, so it shows no box.
void messageBox(const char* text, const char* caption, bool owned) {
    if (sdlhost::headless()) return;
    static const bool childWatched = pthread_atfork(nullptr, nullptr, boxChildEndsWithOwner) == 0;
    (void)childWatched;
    const BoxSignals endOnSignal;
    boxOwner = getpid();
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, owned ? sdlhost::window : nullptr);
    boxOwner = 0;
}

SystemDescription describeSystem() {
    SystemDescription system{osReleaseName(), {}, {}};
    utsname names{};
    if (uname(&names) == 0) {
        system.version = names.release;
        system.build = names.version;
    }
    return system;
}

}  // namespace platform

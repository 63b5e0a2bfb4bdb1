// The operating-system lines of the start-up log and the single fatal-error path.
#include "host/log.h"

#include <cstdarg>
#include <cstdio>

#include "host/program.h"
#include "platform/platform.h"

namespace {

constexpr int fatalTextBytes = 4096;  // room for a path on the second line
constexpr int osTextLength = 79;      // longer names are cut

}  // namespace

void writeOsInfo() {
    const platform::SystemDescription system = platform::describeSystem();
    const struct {
        const char* label;
        const std::string& text;
    } lines[] = {{"name", system.product}, {"version", system.version}, {"build", system.build}};
    for (const auto& line : lines) {
        if (line.text.empty())
            logLine("Operating System %s: NOT AVAILABLE\n", line.label);
        else
            logLine("Operating System %s: %.*s\n", line.label, osTextLength, line.text.c_str());
    }
    logLine("\n");
}

int32_t fatalError(bool withWindow, int32_t resultCode, const char* format, ...) {
    char text[fatalTextBytes];
    va_list args;
    va_start(args, format);
    // clang-tidy 14 reports args as uninitialised when it checks several files in one run.
    std::vsnprintf(text, sizeof text, format, args);  // NOLINT(clang-analyzer-valist.Uninitialized)
    va_end(args);
    // Also on standard error, so a start from a terminal or a script sees why it ended.
    std::fprintf(stderr, "%s\n", text);

    // Leaving the full-screen mode first puts the box on the normal desktop.
    releaseHostDevices();
    bool window = withWindow && platform::windowExists();
    platform::messageBox(text, platform::windowTitle, window);
    if (window) closeMainWindow();
    closeLog();
    return resultCode;
}

#include "program_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace {

// Starts the program with its key script; standard error goes to `errorsPath`. 0 when it
// could not be started.
pid_t start(std::vector<std::string>& arguments, const std::string& scriptPath,
            const std::string& errorsPath) {
    setenv("VARNOK_AUTOMATION", scriptPath.c_str(), 1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv = {const_cast<char*>(VARNOK_BINARY)};
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, VARNOK_BINARY, &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    return started ? pid : 0;
}

// Waits for the program to end; kills it at the deadline.
Outcome finish(pid_t pid, std::chrono::steady_clock::time_point deadline, const std::string& errorsPath) {
    Outcome result;
    if (pid == 0) return result;
    int waitStatus = 0;
    while (waitpid(pid, &waitStatus, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &waitStatus, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(waitStatus)) result.status = WEXITSTATUS(waitStatus);
    result.errors = readFile(errorsPath);
    return result;
}

}  // namespace

void BinaryRun::prepareEnvironment() {
    if (videoDriver.empty())
        unsetenv("SDL_VIDEODRIVER");
    else
        setenv("SDL_VIDEODRIVER", videoDriver.c_str(), 1);
    const char* audio = std::getenv("SDL_AUDIODRIVER_OVERRIDE");
    setenv("SDL_AUDIODRIVER", audio ? audio : "disk", 1);
    unsetenv("SDL_AUDIODRIVER_OVERRIDE");
    setenv("SDL_DISKAUDIOFILE", dir->file("audio.raw").c_str(), 1);
    setenv("VARNOK_DEBUGCART", "1", 1);
    unsetenv("DISPLAY");  // no message box may wait for a click
    unsetenv("WAYLAND_DISPLAY");
}

Outcome BinaryRun::run(std::vector<std::string> arguments, int seconds) {
    prepareEnvironment();
    if (!fileExists(dir->file("script.txt"))) script("");
    const std::string errorsPath = dir->file("stderr.txt");
    const pid_t pid = start(arguments, dir->file("script.txt"), errorsPath);
    return finish(pid, std::chrono::steady_clock::now() + std::chrono::seconds(seconds), errorsPath);
}

std::vector<Outcome> BinaryRun::runTogether(const std::vector<std::string>& scripts, int seconds) {
    prepareEnvironment();
    std::vector<pid_t> pids;
    for (size_t i = 0; i < scripts.size(); ++i) {
        const std::string scriptPath = dir->file("script" + std::to_string(i) + ".txt");
        writeFile(scriptPath, {scripts[i].begin(), scripts[i].end()});
        std::vector<std::string> none;
        pids.push_back(start(none, scriptPath, dir->file("stderr" + std::to_string(i) + ".txt")));
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::vector<Outcome> outcomes;
    for (size_t i = 0; i < pids.size(); ++i)
        outcomes.push_back(finish(pids[i], deadline, dir->file("stderr" + std::to_string(i) + ".txt")));
    return outcomes;
}

std::string screenshotText(const std::string& bmp, const uint8_t* charset, int ink) {
    if (bmp.size() != 65078u) return {};
    auto pixel = [&](int x, int y) { return uint8_t(bmp[1078 + (199 - y) * 320 + x]); };
    const uint8_t background = pixel(0, 0);
    auto inked = [&](int x, int y) { return ink < 0 ? pixel(x, y) != background : pixel(x, y) == ink; };
    auto glyphIs = [&](int row, int column, int code, bool inverse) {
        for (int y = 0; y < 8; ++y) {
            const uint8_t bits = charset[code * 8 + y];
            for (int x = 0; x < 8; ++x) {
                const bool set = (((bits >> (7 - x)) & 1) != 0) != inverse;
                if (set != inked(column * 8 + x, row * 8 + y)) return false;
            }
        }
        return true;
    };
    std::string text;
    for (int row = 0; row < 25; ++row) {
        for (int column = 0; column < 40; ++column) {
            char found = '?';
            for (int code = 0; code < 128 && found == '?'; ++code)
                if (glyphIs(row, column, code % 64, code >= 64))
                    found = code % 64 == 0    ? '@'
                            : code % 64 <= 26 ? char('A' + code % 64 - 1)
                                              : char(code % 64);
            text += found;
        }
        text += '\n';
    }
    return text;
}

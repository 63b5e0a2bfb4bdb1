// The real program run headless: a small ROM draws a screen, plays a tone and ends
// through the debug cartridge; a key script takes a screenshot.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>

#include "support/machine_helpers.h"

extern char** environ;

namespace {

constexpr uint8_t background = 0x45, border = 0x32;
constexpr uint16_t toneFreq = 912;  // 111860.781 / (1024 - 912) Hz
constexpr double toneHz = 111860.781 / (1024 - toneFreq);

// The KERNAL of the test machine: clears the screen memory, sets the colours and
// voice 1, waits about `delay` x 18 frames, then reports `status` through $FDCF.
RomImage testKernal(uint8_t delay, uint8_t status) {
    RomImage kernal = palKernal(0xF000, 0xF070);
    // clang-format off
    kernal.place(0xF000, {
        0x78, 0xA2, 0xFF, 0x9A,                                            // SEI; LDX #$FF; TXS
        0xA9, 0xFF, 0x8D, 0x0D, 0xFF, 0xA9, 0x03, 0x8D, 0x0C, 0xFF,        // hardware cursor off screen
        0xA9, 0x00, 0xAA,                                                  // LDA #0; TAX
        0x9D, 0x00, 0x08, 0x9D, 0x00, 0x09, 0x9D, 0x00, 0x0A, 0x9D, 0x00, 0x0B,  // STA $0800-$0B00,X
        0x9D, 0x00, 0x0C, 0x9D, 0x00, 0x0D, 0x9D, 0x00, 0x0E, 0x9D, 0x00, 0x0F,  // STA $0C00-$0F00,X
        0xE8, 0xD0, 0xE5,                                                  // INX; BNE
        0xA9, 0x1B, 0x8D, 0x06, 0xFF,                                      // text mode, screen on
        0xA9, 0x88, 0x8D, 0x07, 0xFF,                                      // 40 columns, no reverse
        0xA9, 0xD0, 0x8D, 0x13, 0xFF,                                      // characters at $D000
        0xA9, 0x08, 0x8D, 0x14, 0xFF,                                      // matrix at $0800
        0xA9, background, 0x8D, 0x15, 0xFF,                                // background colour
        0xA9, border, 0x8D, 0x19, 0xFF,                                    // border colour
        0xA9, toneFreq & 0xFF, 0x8D, 0x0E, 0xFF,                           // voice 1 low bits
        0xA9, 0x04 | (toneFreq >> 8), 0x8D, 0x12, 0xFF,                    // high bits, ROM font
        0xA9, 0x18, 0x8D, 0x11, 0xFF,                                      // voice 1 on, volume 8
        0xA9, delay, 0x85, 0x02,                                           // LDA #delay; STA $02
        0xA2, 0x00, 0xA0, 0x00,                                            // LDX #0; LDY #0
        0x88, 0xD0, 0xFD,                                                  // DEY; BNE
        0xCA, 0xD0, 0xFA,                                                  // DEX; BNE
        0xC6, 0x02, 0xD0, 0xF6,                                            // DEC $02; BNE
        0xA9, status, 0x8D, 0xCF, 0xFD,                                    // LDA #status; STA $FDCF
        0x4C, 0x70, 0xF0,                                                  // JMP * (also the IRQ entry)
    });
    // clang-format on
    return kernal;
}

struct Outcome {
    int status = -1;  // exit status, or -1 when killed or not started
    std::string errors;
};

class ProgramRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::make_unique<ScratchDirectory>();
        writeFile(dir->file("basic.bin"), std::vector<uint8_t>(16, 0xEA));
    }
    void TearDown() override { dir.reset(); }

    void machine(uint8_t delay, uint8_t status, uint32_t sound, uint32_t sync) {
        writeFile(dir->file("kernal.bin"), testKernal(delay, status).bytes);
        writeSettingsStore({{"Rom0L", dir->file("basic.bin")},
                            {"Rom0H", dir->file("kernal.bin")},
                            {"PALROM", 1u},
                            {"SoundEmulation", sound},
                            {"Sync", sync},
                            {"ScreenMode", 4u}});
    }
    void script(const std::string& text) { writeFile(dir->file("script.txt"), {text.begin(), text.end()}); }

    // Runs the program in the scratch directory; kills it after `seconds`.
    Outcome run(int seconds = 60) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", dir->file("audio.raw").c_str(), 1);
        setenv("VARNOK_AUTOMATION", dir->file("script.txt").c_str(), 1);
        setenv("VARNOK_DEBUGCART", "1", 1);
        unsetenv("DISPLAY");  // no message box may wait for a click
        unsetenv("WAYLAND_DISPLAY");
        if (!fileExists(dir->file("script.txt"))) script("");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        std::string errorsPath = dir->file("stderr.txt");
        posix_spawn_file_actions_addopen(&actions, 2, errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        char* argv[] = {const_cast<char*>(VARNOK_BINARY), nullptr};
        pid_t pid = 0;
        Outcome result;
        if (posix_spawn(&pid, VARNOK_BINARY, &actions, nullptr, argv, environ) != 0) return result;
        posix_spawn_file_actions_destroy(&actions);
        int waitStatus = 0;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
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

    std::unique_ptr<ScratchDirectory> dir;
};

TEST_F(ProgramRun, DebugCartWriteBecomesTheExitStatus) {
    machine(1, 42, 0, 0);
    EXPECT_EQ(run().status, 42);
}

TEST_F(ProgramRun, F6TakesAScreenshotOfWhatTheRomDrew) {
    machine(10, 0, 0, 0);
    script("wait 20\ntap F6\nkeydown LSHIFT\ntap F6\nkeyup LSHIFT\nwait 2000\nquit\n");
    Outcome result = run();
    EXPECT_EQ(result.status, 0) << result.errors;
    std::string inner = readFile(dir->file("Output000.bmp"));
    ASSERT_EQ(inner.size(), 65078u);
    for (size_t i = 1078; i < inner.size(); ++i) ASSERT_EQ(uint8_t(inner[i]), background) << "byte " << i;
    // With Shift the border shows around it: the bottom-left corner and the centre.
    std::string whole = readFile(dir->file("Output001.bmp"));
    ASSERT_EQ(whole.size(), 121078u);
    EXPECT_EQ(uint8_t(whole[1078]), border);
    EXPECT_EQ(uint8_t(whole[1078 + 150 * 400 + 200]), background);
}

TEST_F(ProgramRun, ToneComesOutAtTheTedFrequency) {
    machine(10, 0, 1, 2);
    Outcome result = run();
    EXPECT_EQ(result.status, 0) << result.errors;
    std::string raw = readFile(dir->file("audio.raw"));
    std::vector<int16_t> samples(raw.size() / 2);
    std::memcpy(samples.data(), raw.data(), samples.size() * 2);
    // Count rising edges between the first and the last audible sample.
    long first = -1, last = -1, rising = 0, firstRise = -1, lastRise = -1;
    for (long i = 0; i < long(samples.size()); ++i)
        if (samples[i] != 0) {
            if (first < 0) first = i;
            last = i;
        }
    ASSERT_GE(last - first, 22050) << "less than half a second of tone";
    for (long i = first + 1; i <= last; ++i)
        if (samples[i - 1] < 0 && samples[i] > 0) {
            if (firstRise < 0) firstRise = i;
            lastRise = i;
            ++rising;
        }
    double measured = (rising - 1) * 44100.0 / double(lastRise - firstRise);
    EXPECT_NEAR(measured, toneHz, toneHz * 0.01);
}

struct RefusedScript {
    const char* text;
    const char* reason;
};
void PrintTo(const RefusedScript& s, std::ostream* os) { *os << s.reason; }
class BadScript : public ProgramRun, public ::testing::WithParamInterface<RefusedScript> {};

TEST_P(BadScript, IsRefusedAtStartNamingTheLine) {
    machine(1, 0, 0, 0);
    script(GetParam().text);
    Outcome result = run();
    EXPECT_NE(result.status, 0);
    EXPECT_NE(result.errors.find(GetParam().reason), std::string::npos) << result.errors;
    EXPECT_FALSE(fileExists(dir->file("Output000.bmp")));  // nothing of the script ran
}
INSTANTIATE_TEST_SUITE_P(
    Scripts, BadScript,
    ::testing::Values(RefusedScript{"wait 5\ntap F6\nkeydown NOSUCHKEY\n", "line 3: unknown key 'NOSUCHKEY'"},
                      RefusedScript{"tap F6\nfly away\n", "line 2: unknown command 'fly'"},
                      RefusedScript{"tap F6\nwait soon\n", "line 2: wait needs a number of frames"},
                      RefusedScript{"tap F6\ntype \u00a3\n", "line 2: no key types"}));

}  // namespace

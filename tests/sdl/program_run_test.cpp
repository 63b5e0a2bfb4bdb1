// The real program run headless: a small ROM draws a screen, plays a tone and ends
// through the debug cartridge; a key script takes a screenshot.
#include "program_run.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "rom/open_rom.h"
#include "support/machine_helpers.h"
#include "support/real_firmware.h"

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

// The voices' pitches: each row plays one voice at one register value for about half
// a second, then a short silence; then the KERNAL reports 0 through $FDCF.
struct Tone {
    int voice;
    uint16_t value;
};
constexpr Tone tones[] = {{1, 0}, {1, 512}, {1, 900}, {1, 1000}, {1, 1015},
                          {2, 0}, {2, 512}, {2, 900}, {2, 1000}, {2, 1015}};

RomImage toneSequenceKernal() {
    RomImage kernal = palKernal(0xF000, 0xF041);
    // clang-format off
    kernal.place(0xF000, {
        0x78, 0xA2, 0xFF, 0x9A, 0xA0, 0x00,      // SEI; LDX #$FF; TXS; LDY #0
        0xB9, 0x00, 0xF1, 0x8D, 0x0E, 0xFF,      // next: $FF0E, $FF12, $FF0F, $FF10, $FF11 from the row
        0xB9, 0x01, 0xF1, 0x8D, 0x12, 0xFF,
        0xB9, 0x02, 0xF1, 0x8D, 0x0F, 0xFF,
        0xB9, 0x03, 0xF1, 0x8D, 0x10, 0xFF,
        0xB9, 0x04, 0xF1, 0x8D, 0x11, 0xFF,
        0xA9, 0x03, 0x20, 0x50, 0xF0,            // LDA #3; JSR wait (the tone)
        0xA9, 0x00, 0x8D, 0x11, 0xFF,            // sound off
        0xA9, 0x01, 0x20, 0x50, 0xF0,            // LDA #1; JSR wait (the gap)
        0x98, 0x18, 0x69, 0x05, 0xA8,            // TYA; CLC; ADC #5; TAY
        0xC0, 5 * std::size(tones), 0xD0, 0xCA,  // CPY #rows*5; BNE next
        0xA9, 0x00, 0x8D, 0xCF, 0xFD,            // LDA #0; STA $FDCF
        0x4C, 0x41, 0xF0,                        // JMP * (also the IRQ entry)
    });
    kernal.place(0xF050, {                       // wait: A times 65,536 loops of DEY; BNE
        0x85, 0x02, 0xA2, 0x00, 0x84, 0x03, 0xA0, 0x00,  // STA $02; LDX #0; STY $03; LDY #0
        0x88, 0xD0, 0xFD, 0xCA, 0xD0, 0xFA,              // DEY; BNE; DEX; BNE
        0xC6, 0x02, 0xD0, 0xF6, 0xA4, 0x03, 0x60,        // DEC $02; BNE; LDY $03; RTS
    });
    // clang-format on
    for (size_t row = 0; row < std::size(tones); ++row) {
        const Tone& t = tones[row];
        const uint8_t low = uint8_t(t.value), high = uint8_t(t.value >> 8);
        kernal.place(uint16_t(0xF100 + 5 * row),
                     {t.voice == 1 ? low : uint8_t(0), t.voice == 1 ? high : uint8_t(0),
                      t.voice == 2 ? low : uint8_t(0), t.voice == 2 ? high : uint8_t(0),
                      t.voice == 1 ? uint8_t(0x18) : uint8_t(0x28)});
    }
    return kernal;
}

std::vector<int16_t> readSamples(const std::string& path) {
    std::string raw = readFile(path);
    std::vector<int16_t> samples(raw.size() / 2);
    std::memcpy(samples.data(), raw.data(), samples.size() * 2);
    return samples;
}

// The pitch of samples[first..last] from its rising edges.
double measuredPitch(const std::vector<int16_t>& samples, long first, long last) {
    long rising = 0, firstRise = -1, lastRise = -1;
    for (long i = first + 1; i <= last; ++i)
        if (samples[i - 1] < 0 && samples[i] > 0) {
            if (firstRise < 0) firstRise = i;
            lastRise = i;
            ++rising;
        }
    return lastRise > firstRise ? (rising - 1) * 44100.0 / double(lastRise - firstRise) : 0.0;
}

// The runs of sound between silences of at least `gap` samples, as first and last sample.
std::vector<std::pair<long, long>> soundRuns(const std::vector<int16_t>& samples, long gap) {
    std::vector<std::pair<long, long>> runs;
    long zeros = gap;
    for (long i = 0; i < long(samples.size()); ++i) {
        if (samples[i] == 0) {
            ++zeros;
            continue;
        }
        if (zeros >= gap) runs.push_back({i, i});
        runs.back().second = i;
        zeros = 0;
    }
    return runs;
}

class ProgramRun : public BinaryRun {
public:
    void SetUp() override {
        BinaryRun::SetUp();
        writeFile(dir->file("basic.bin"), std::vector<uint8_t>(16, 0xEA));
    }
    void machine(uint8_t delay, uint8_t status, uint32_t sound, uint32_t sync) {
        machine(testKernal(delay, status), sound, sync);
    }
    void machine(const RomImage& kernal, uint32_t sound, uint32_t sync) {
        writeFile(dir->file("kernal.bin"), kernal.bytes);
        writeSettingsStore({{"Rom0L", dir->file("basic.bin")},
                            {"Rom0H", dir->file("kernal.bin")},
                            {"PALROM", 1u},
                            {"SoundEmulation", sound},
                            {"Sync", sync},
                            {"ScreenMode", 4u}});
    }
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
    const std::vector<int16_t> samples = readSamples(dir->file("audio.raw"));
    // Between the first and the last audible sample.
    long first = -1, last = -1;
    for (long i = 0; i < long(samples.size()); ++i)
        if (samples[i] != 0) {
            if (first < 0) first = i;
            last = i;
        }
    ASSERT_GE(last - first, 22050) << "less than half a second of tone";
    EXPECT_NEAR(measuredPitch(samples, first, last), toneHz, toneHz * 0.01);
}

TEST_F(ProgramRun, BothVoicesPlayEveryToneAtTheTedFrequency) {
    machine(toneSequenceKernal(), 1, 2);
    Outcome result = run();
    EXPECT_EQ(result.status, 0) << result.errors;
    const auto runs = soundRuns(readSamples(dir->file("audio.raw")), 2000);
    ASSERT_EQ(runs.size(), std::size(tones));
    const std::vector<int16_t> samples = readSamples(dir->file("audio.raw"));
    for (size_t row = 0; row < runs.size(); ++row) {
        const double expected = 111860.781 / (1024 - tones[row].value);
        EXPECT_GE(runs[row].second - runs[row].first, 11025) << "voice " << tones[row].voice;
        EXPECT_NEAR(measuredPitch(samples, runs[row].first, runs[row].second), expected, expected * 0.01)
            << "voice " << tones[row].voice << " register " << tones[row].value;
    }
}

struct RefusedScript {
    const char* text;  // null: a FIFO in the script's place
    const char* reason;
};
void PrintTo(const RefusedScript& s, std::ostream* os) { *os << s.reason; }
class BadScript : public ProgramRun, public ::testing::WithParamInterface<RefusedScript> {};

// Exit status 2, as `varnok --help` and the manual page say.
TEST_P(BadScript, IsRefusedAtStartNamingTheLine) {
    machine(1, 0, 0, 0);
    if (GetParam().text)
        script(GetParam().text);
    else
        mkfifo(dir->file("script.txt").c_str(), 0600);
    Outcome result = run();
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.errors.find(GetParam().reason), std::string::npos) << result.errors;
    EXPECT_FALSE(fileExists(dir->file("Output000.bmp")));  // nothing of the script ran
}
INSTANTIATE_TEST_SUITE_P(
    Scripts, BadScript,
    ::testing::Values(RefusedScript{"wait 5\ntap F6\nkeydown NOSUCHKEY\n", "line 3: unknown key 'NOSUCHKEY'"},
                      RefusedScript{"tap F6\nfly away\n", "line 2: unknown command 'fly'"},
                      RefusedScript{"tap F6\nwait soon\n", "line 2: wait needs a number of frames"},
                      RefusedScript{"tap F6\ntype \u00a3\n", "line 2: no key types"},
                      RefusedScript{nullptr, "script.txt: is a FIFO, not a regular file"}));

}  // namespace

// ---- Out of the box: the built-in ROM, files on the command line, loud failures ----

namespace {

// The text of a 320 x 200 screenshot, read through the open ROM's character set.
std::string openRomText(const std::string& bmp) { return screenshotText(bmp, openKernalImage + 0x1000); }

// 10 SYS4109, then code that sets the border, reads it back and reports it through $FDCF.
std::vector<uint8_t> borderProgram(uint8_t colour) {
    return {0x01,   0x10, 0x0B, 0x10, 10,   0,    0x9E, '4',  '1',  '0',  '9',  0,    0,    0,    0xA9,
            colour, 0x8D, 0x19, 0xFF, 0xAD, 0x19, 0xFF, 0x29, 0x7F, 0x8D, 0xCF, 0xFD, 0x4C, 0x1B, 0x10};
}

// A D64 image holding one PRG file, on track 17.
std::vector<uint8_t> diskWith(const std::string& name, const std::vector<uint8_t>& file) {
    constexpr size_t track17 = 16 * 21 * 256, track18 = 17 * 21 * 256;
    std::vector<uint8_t> image(174848, 0);
    image[track18] = 18, image[track18 + 1] = 1;  // the BAM points at the directory
    std::fill_n(image.begin() + track18 + 144, 16, 0xA0);
    uint8_t* directory = image.data() + track18 + 256;
    directory[1] = 0xFF;
    directory[2] = 0x82, directory[3] = 17, directory[4] = 0;
    std::fill_n(directory + 5, 16, 0xA0);
    std::copy(name.begin(), name.end(), directory + 5);
    directory[30] = 1;
    image[track17] = 0, image[track17 + 1] = uint8_t(1 + file.size());
    std::copy(file.begin(), file.end(), image.begin() + track17 + 2);
    return image;
}

class OutOfTheBox : public ProgramRun {
public:
    // Only what the test names: no ROM files, so the built-in open ROM starts.
    void settings(std::vector<Setting> values) {
        values.push_back({"SoundEmulation", 0u});
        writeSettingsStore(values);
    }
};

TEST_F(OutOfTheBox, EmptyHomeWithoutSettingsBootsTheBuiltInRomToReady) {
    const std::string home = dir->file("home");
    std::filesystem::create_directory(home);
    const std::string previousHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.c_str(), 1);
    unsetenv("VARNOK_REGISTRY");
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("VARNOK_DEBUGCART");
    script("wait 100\ntap F6\nwait 5\nquit\n");
    Outcome result = run();
    setenv("HOME", previousHome.c_str(), 1);
    EXPECT_EQ(result.status, 0) << result.errors;
    const std::string text = openRomText(readFile(dir->file("Output000.bmp")));
    EXPECT_NE(text.find("VARNOK OPEN ROM"), std::string::npos) << text;
    EXPECT_NE(text.find("\nREADY.  "), std::string::npos) << text;
    EXPECT_TRUE(std::filesystem::is_empty(home)) << "nothing is written into the home folder";
}

TEST_F(OutOfTheBox, DiskOnTheCommandLineIsLoadedAndRun) {
    settings({{"Sync", 0u}, {"DriveType8", 1u}, {"Drive8PCDir", dir->path()}});
    writeFile(dir->file("game.D64"), diskWith("BORDER", borderProgram(0x32)));
    EXPECT_EQ(run({dir->file("game.D64")}).status, 0x32);
}

// The running machine's own ways to a disk: the load menu's DISK page (F1 puts it in and
// starts it) and a file dropped on the window.
struct DiskWay {
    const char* name;
    const char* script;  // after the ROM has reached READY.
};
void PrintTo(const DiskWay& way, std::ostream* os) { *os << way.name; }

class DiskWhileRunning : public OutOfTheBox, public ::testing::WithParamInterface<DiskWay> {};

TEST_P(DiskWhileRunning, IsPutInLoadedAndRun) {
    settings({{"Sync", 0u}, {"DriveType8", 1u}, {"Drive8PCDir", dir->path()}});
    writeFile(dir->file("game.d64"), diskWith("BORDER", borderProgram(0x32)));
    script(std::string("wait 100\n") + GetParam().script);
    const Outcome result = run();
    EXPECT_EQ(result.status, 0x32) << result.errors;
}

INSTANTIATE_TEST_SUITE_P(
    Ways, DiskWhileRunning,
    ::testing::Values(DiskWay{"DiskPage",
                              "tap F8\nwait 5\ntap RIGHT\ntap RIGHT\ntap RIGHT\ntap DOWN\ntap F1\n"},
                      DiskWay{"Dropped", "drop game.d64\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutOfTheBox, SnapshotOnTheCommandLineResumesWhereItWasSaved) {
    settings({{"Sync", 0u}});
    std::vector<uint8_t> snapshot(72, 0);
    snapshot[2] = 1;
    snapshot[4] = 0x00, snapshot[5] = 0x20;  // PC $2000
    snapshot[8] = 0x04;                      // I set
    snapshot[24] = 0xFF;                     // SP
    std::vector<uint8_t> ram(0x10000, 0);
    const uint8_t code[] = {0xA9, 0x2A, 0x8D, 0xCF, 0xFD, 0x4C, 0x05, 0x20};  // report 42
    std::copy(std::begin(code), std::end(code), ram.begin() + 0x2000);
    snapshot.insert(snapshot.end(), ram.begin(), ram.end());
    writeFile(dir->file("state.fre"), snapshot);
    EXPECT_EQ(run({dir->file("state.fre")}).status, 42);
}

// Two emulators on one disk image, each saving while the other has it mounted: both
// programs are in the image afterwards.
TEST_F(OutOfTheBox, TwoEmulatorsSavingToOneImageKeepEachOthersPrograms) {
    writeFile(dir->file("shared.d64"), formattedD64("SHARED", "SH"));
    settings({{"Sync", 2u}, {"DriveType8", 2u}, {"Drive8D64", dir->file("shared.d64")}});
    auto session = [](const std::string& name, int framesBeforeSave) {
        return "wait " + std::to_string(framesBeforeSave) + "\ntype SAVE\"" + name +
               "\",8\ntap RETURN\nwait 100\nquit\n";
    };
    // The first saves early, the second seconds later: each had the image before the other saved.
    const std::vector<Outcome> outcomes = runTogether({session("FIRST", 100), session("SECOND", 400)});
    for (const Outcome& outcome : outcomes) EXPECT_EQ(outcome.status, 0) << outcome.errors;
    const std::string file = readFile(dir->file("shared.d64"));
    EXPECT_EQ(d64Names({file.begin(), file.end()}), (std::vector<std::string>{"FIRST", "SECOND"}));
}

TEST_F(OutOfTheBox, MissingFileOnTheCommandLineEndsWithItsName) {
    settings({});
    Outcome result = run({dir->file("no such game.prg")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.errors.find("no such game.prg: no such file"), std::string::npos) << result.errors;
    EXPECT_FALSE(fileExists(dir->file("audio.raw"))) << "no device was opened";
}

struct FailedStart {
    const char* name;
    std::function<void(OutOfTheBox&)> arrange;
    const char* message;
};
void PrintTo(const FailedStart& c, std::ostream* os) { *os << c.name; }

class FailedStarts : public OutOfTheBox, public ::testing::WithParamInterface<FailedStart> {};

TEST_P(FailedStarts, EndWithStatusOneAndSayWhyOnStandardError) {
    GetParam().arrange(*this);
    Outcome result = run({}, 30);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.errors.find(GetParam().message), std::string::npos) << result.errors;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedStarts,
    ::testing::Values(
        FailedStart{"MissingRom",
                    [](OutOfTheBox& t) {
                        t.settings({{"Rom0L", t.dir->file("nope.bin")}, {"Rom0H", "k.bin"}});
                    },
                    "Varnok Error: ROM0L file not found.\n"},
        FailedStart{"NtscKernal",
                    [](OutOfTheBox& t) {
                        writeFile(t.dir->file("ntsc.bin"), std::vector<uint8_t>(0x4000, 0));
                        t.settings({{"Rom0L", t.dir->file("basic.bin")}, {"Rom0H", t.dir->file("ntsc.bin")}});
                    },
                    "Varnok Error: Varnok requires PAL KERNAL ROM"},
        FailedStart{"NoSuchVideoDriver",
                    [](OutOfTheBox& t) {
                        t.settings({});
                        t.videoDriver = "nosuchdriver";
                    },
                    "no display available"},
        FailedStart{"InvisibleFallbackWithoutADisplay",
                    [](OutOfTheBox& t) {
                        t.settings({});
                        t.videoDriver.clear();
                    },
                    "invisible"}));

// Without a sound device the machine runs all the same: silent, said once on standard
// error (and on the status line and in the log), and a plain quit still ends with 0.
TEST_F(OutOfTheBox, WithoutASoundDeviceTheMachineRunsSilentAndSaysSoOnce) {
    writeSettingsStore({{"SoundEmulation", 1u}});
    setenv("SDL_AUDIODRIVER_OVERRIDE", "nosuchaudio", 1);
    script("wait 100\ntap F6\nwait 5\nquit\n");
    const Outcome result = run({}, 30);
    EXPECT_EQ(result.status, 0) << result.errors;
    const std::string said = "no sound device could be opened; running without sound";
    const size_t first = result.errors.find(said);
    EXPECT_NE(first, std::string::npos) << result.errors;
    EXPECT_EQ(result.errors.find(said, first + 1), std::string::npos) << result.errors;
    EXPECT_NE(openRomText(readFile(dir->file("Output000.bmp"))).find("\nREADY."), std::string::npos);
}

// Keys pressed and released within one frame, as a paste or a tool types them, every
// one reaching the machine's keyboard scan in order: the open ROM's and the real KERNAL's.
struct Typist {
    const char* name;
    bool realRoms;
};
void PrintTo(const Typist& t, std::ostream* os) { *os << t.name; }
class FastTyping : public OutOfTheBox, public ::testing::WithParamInterface<Typist> {};

TEST_P(FastTyping, LosesNoKey) {
    const std::string typed = "10 PRINT \"HELLO, WORLD\" 1234567890";
    std::vector<uint8_t> charset(openKernalImage + 0x1000, openKernalImage + 0x1200);
    if (GetParam().realRoms) {
        REQUIRE_TEST_ROMS(roms);
        settings(realPlus4Settings(roms));
        const std::string kernal = readFile(roms + "/" + realKernalPal);
        charset.assign(kernal.begin() + 0x1000, kernal.begin() + 0x1200);
    } else {
        settings({});
    }
    script("wait 150\npaste " + typed + "\nwait 150\ntap F6\nwait 5\nquit\n");
    const Outcome result = run();
    EXPECT_EQ(result.status, 0) << result.errors;
    const std::string screen = screenshotText(readFile(dir->file("Output000.bmp")), charset.data());
    EXPECT_NE(screen.find("\n" + typed), std::string::npos) << screen;
}
INSTANTIATE_TEST_SUITE_P(Roms, FastTyping,
                         ::testing::Values(Typist{"OpenRom", false}, Typist{"RealKernal", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// The real program with the firmware users run: the Plus/4's BASIC 3.5 and KERNAL
// (and 3-PLUS-1) from VARNOK_TEST_ROMS, typed at through a key script. Every disk
// operation BASIC offers goes through drive 8 on both media and is checked by its
// effect: the bytes on the host, the listing and the error channel on the screen.
#include "support/real_firmware.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "disk/g64.h"
#include "program_run.h"

namespace {

// Drive 8 at the port level on a host folder or an image, or a true drive running its
// own DOS on an image.
enum class Medium { folder, image, true1551, true1541 };
std::string mediumName(Medium medium) {
    constexpr const char* names[] = {"Folder", "Image", "True1551", "True1541"};
    return names[int(medium)];
}
bool trueDrive(Medium medium) { return medium == Medium::true1551 || medium == Medium::true1541; }
// What the error channel says at power-on: each DOS its own text.
std::string powerOnMessage(Medium medium) {
    return medium == Medium::true1541 ? "73,CBM DOS V2.6 1541,00,00" : "73,CBM DOS V2.6 TDISK,00,00";
}

class RealFirmware : public BinaryRun {
public:
    void SetUp() override {
        BinaryRun::SetUp();
        roms = testFolder("VARNOK_TEST_ROMS");
        if (roms.empty()) GTEST_SKIP() << "set VARNOK_TEST_ROMS to the folder of the real ROM images";
        charset = readFile(roms + "/" + realKernalPal).substr(0x1000, 0x200);
    }

    // The real Plus/4, running flat out, with `extra` settings on top.
    void machine(std::vector<Setting> extra = {}) {
        std::vector<Setting> values = realPlus4Settings(roms);
        values.push_back({"Sync", 0u});
        values.push_back({"SoundEmulation", 0u});
        values.push_back({"ScreenMode", 4u});
        values.insert(values.end(), extra.begin(), extra.end());
        writeSettingsStore(values);
    }

    // Drive 8 on a host folder or on a freshly formatted image.
    void machineWithDisk(Medium kind, std::vector<Setting> extra = {}) {
        medium = kind;
        if (kind == Medium::folder) {
            std::filesystem::create_directory(dir->file("disk"));
            extra.push_back({"DriveType8", 1u});
            extra.push_back({"Drive8PCDir", dir->file("disk")});
        } else {
            writeFile(dir->file(diskName), formattedD64("VARNOK", "VK"));
            extra.push_back({"DriveType8", 2u});
            extra.push_back({"Drive8D64", dir->file(diskName)});
        }
        if (kind == Medium::true1551) {
            extra.push_back({"TrueDrive8", 1u});
            extra.push_back({"Drive1551Rom", roms + "/" + realDos1551});
        }
        if (kind == Medium::true1541) {
            extra.push_back({"TrueDrive8", 2u});
            extra.push_back({"Drive1541Rom", roms + "/" + realDos1541});
        }
        machine(extra);
    }

    // The binary runs for minutes under the sanitizers; a true drive's disk takes its time.
    Outcome runMachine() { return run({}, 600); }

    // Waits for READY., types each line with RETURN, gives the last one `frames` to run,
    // then takes a screenshot and quits. A true drive takes its real time for each disk
    // operation, so each line waits until the next one may be typed.
    void typeLines(const std::vector<std::string>& lines, int frames = 100) {
        const std::string pause = "wait " + std::to_string(trueDrive(medium) ? 250 : linePause) + "\n";
        std::string text = "wait 150\n";
        for (const std::string& line : lines) text += "type " + line + "\ntap RETURN\n" + pause;
        if (trueDrive(medium)) frames = std::max(frames, 500);
        script(text + "wait " + std::to_string(frames) + "\ntap F6\nwait 5\nquit\n");
    }

    // The screen's text, each row without its trailing blanks.
    std::string screen() const {
        const std::string text = screenshotText(readFile(dir->file("Output000.bmp")),
                                                reinterpret_cast<const uint8_t*>(charset.data()));
        std::string trimmed;
        for (size_t start = 0; start < text.size();) {
            const size_t end = text.find('\n', start);
            const std::string row = text.substr(start, end - start);
            trimmed += row.substr(0, row.find_last_not_of(' ') + 1) + '\n';
            start = end + 1;
        }
        return trimmed;
    }

    std::vector<uint8_t> image() const {
        const std::string bytes = readFile(dir->file(diskName));
        return {bytes.begin(), bytes.end()};
    }
    // A file of the medium by its name on the disk; empty when there is none.
    std::vector<uint8_t> diskFile(const std::string& name) const {
        if (medium != Medium::folder) return d64File(image(), name);
        for (const char* extension : {".prg", ".seq", ".usr"})
            if (fileExists(dir->file("disk/" + name + extension))) {
                const std::string bytes = readFile(dir->file("disk/" + name + extension));
                return {bytes.begin(), bytes.end()};
            }
        return {};
    }
    bool onDisk(const std::string& name) const { return !diskFile(name).empty(); }

    std::string roms, charset;
    std::string diskName = "disk.d64";  // the image's file, in the scratch folder
    Medium medium = Medium::folder;
    int linePause = 40;  // frames after each typed line at the port level
};

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

#define EXPECT_ON_SCREEN(text, wanted) EXPECT_NE((text).find(wanted), std::string::npos) << (text)

// ---- Power-on: the banners and memory figures of each machine ----

struct Boot {
    const char* name;
    std::vector<Setting> settings;
    const char* banner;
};
void PrintTo(const Boot& boot, std::ostream* os) { *os << boot.name; }

class RealFirmwareBoot : public RealFirmware, public ::testing::WithParamInterface<Boot> {};

TEST_P(RealFirmwareBoot, ShowsTheBasicBannerAndBytesFree) {
    std::vector<Setting> settings = GetParam().settings;
    for (Setting& s : settings)
        if (auto* file = std::get_if<std::string>(&s.value)) *file = roms + "/" + *file;
    machine(settings);
    script("wait 150\ntap F6\nwait 5\nquit\n");
    const Outcome result = runMachine();
    ASSERT_EQ(result.status, 0) << result.errors;
    const std::string text = screen();
    EXPECT_ON_SCREEN(text, GetParam().banner);
    EXPECT_ON_SCREEN(text, "\nREADY.");
}

INSTANTIATE_TEST_SUITE_P(
    Machines, RealFirmwareBoot,
    ::testing::Values(
        Boot{"Plus4", {{"Ram", 2u}}, "COMMODORE BASIC V3.5 60671 BYTES FREE\n 3-PLUS-1 ON KEY F1"},
        Boot{"Ram32K", {{"Ram", 1u}}, "COMMODORE BASIC V3.5 28661 BYTES FREE"},
        Boot{"C16", {{"Ram", 0u}, {"Rom1L", ""}, {"Rom1H", ""}}, "COMMODORE BASIC V3.5 12277 BYTES FREE"},
        Boot{"NtscKernal",
             {{"Rom0H", realKernalNtsc}, {"PALROM", 0u}},
             "COMMODORE BASIC V3.5 60671 BYTES FREE"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- BASIC's disk commands on both media ----

class RealFirmwareDisk : public RealFirmware, public ::testing::WithParamInterface<Medium> {};

TEST_P(RealFirmwareDisk, SaveLoadAndVerifyRoundTripAProgram) {
    machineWithDisk(GetParam());
    typeLines({"10 PRINT\"VARNOK\";", "20 FORI=1TO3:PRINTI;:NEXT", "SAVE\"PROG\",8", "DSAVE\"PROG2\"", "NEW",
               "DLOAD\"PROG\"", "SAVE\"COPY\",8", "SCNCLR", "LOAD\"PROG\",8", "LIST", "RUN",
               "VERIFY\"PROG\",8", "PRINT DS$"});
    const Outcome result = runMachine();
    ASSERT_EQ(result.status, 0) << result.errors;
    const std::string text = screen();
    EXPECT_ON_SCREEN(text, "SEARCHING FOR PROG\nLOADING\nREADY.");
    EXPECT_ON_SCREEN(text, "10 PRINT\"VARNOK\";\n20 FORI=1TO3:PRINTI;:NEXT");
    EXPECT_ON_SCREEN(text, "VARNOK 1  2  3");
    EXPECT_ON_SCREEN(text, "VERIFYING\nOK");
    EXPECT_ON_SCREEN(text, "00, OK,00,00");
    EXPECT_EQ(text.find("ERROR"), std::string::npos) << text;
    // The program as BASIC holds it at $1001, saved three ways, loaded back in between.
    const std::vector<uint8_t> saved = diskFile("PROG");
    ASSERT_GT(saved.size(), 20u);
    EXPECT_EQ(saved[0], 0x01);
    EXPECT_EQ(saved[1], 0x10);
    EXPECT_TRUE(std::search(saved.begin(), saved.end(), std::begin("VARNOK"), std::end("VARNOK") - 1) !=
                saved.end());
    EXPECT_EQ(diskFile("PROG2"), saved);
    EXPECT_EQ(diskFile("COPY"), saved);
}

TEST_P(RealFirmwareDisk, SequentialFilesAndDiskCommandsWork) {
    machineWithDisk(GetParam());
    typeLines({"10 SCNCLR:PRINT\"P \"DS$",
               "20 OPEN2,8,2,\"DATA,S,W\":PRINT#2,\"HELLO\":PRINT#2,42:CLOSE2:PRINT\"W \"DS$",
               "30 OPEN3,8,3,\"TEMP,S,W\":PRINT#3,\"X\":CLOSE3",
               "40 OPEN2,8,2,\"DATA,S,R\":INPUT#2,A$,B:S=ST:CLOSE2:PRINT\"R \"A$;B;S",
               "50 OPEN2,8,2,\"DATA\":GET#2,C$,D$:CLOSE2:PRINT\"G \"C$;D$",
               "60 OPEN2,8,2,\"NOPE,S,R\":E$=DS$:GET#2,C$:S=ST:CLOSE2:PRINT\"F \"S;E$",
               "70 RENAME\"DATA\"TO\"INFO\":PRINT\"N \"DS$", "80 SCRATCH\"TEMP\":PRINT\"S \"DS$",
               "90 COLLECT:PRINT\"V \"DS$", "100 DIRECTORY", "RUN"},
              1000);  // a DOS reads every file's chain to collect
    const Outcome result = runMachine();
    ASSERT_EQ(result.status, 0) << result.errors;
    const std::string text = screen();
    EXPECT_ON_SCREEN(text, "P " + powerOnMessage(GetParam()) + "\n");
    EXPECT_ON_SCREEN(text, "W 00, OK,00,00\n");
    EXPECT_ON_SCREEN(text, "R HELLO 42  64\n");
    EXPECT_ON_SCREEN(text, "G HE\n");
    // The KERNAL's read time-out; over the serial bus with the end mark too.
    EXPECT_ON_SCREEN(
        text, std::string(GetParam() == Medium::true1541 ? "F  66" : "F  2") + " 62, FILE NOT FOUND,00,00\n");
    EXPECT_ON_SCREEN(text, "N 00, OK,00,00\n");
    EXPECT_ON_SCREEN(text, "S 01, FILES SCRATCHED,01,00\n");
    EXPECT_ON_SCREEN(text, "V 00, OK,00,00\n");
    EXPECT_ON_SCREEN(text, "\"INFO\"             SEQ");
    EXPECT_EQ(diskFile("INFO"), bytesOf("HELLO\r 42 \r"));
    EXPECT_FALSE(onDisk("DATA"));
    EXPECT_FALSE(onDisk("TEMP"));
}

TEST_P(RealFirmwareDisk, DirectoryListsAndLoadStarTakesTheFirstFile) {
    machineWithDisk(GetParam());
    typeLines({"10 PRINT\"FIRST\"", "SAVE\"ONE\",8", "NEW", "LOAD\"*\",8", "SCNCLR", "LOAD\"$\",8", "LIST",
               "DIRECTORY"});
    const Outcome result = runMachine();
    ASSERT_EQ(result.status, 0) << result.errors;
    const std::string text = screen();
    const std::string fileLine = "1    \"ONE\"              PRG";
    const std::string header =
        GetParam() == Medium::folder ? "0 \"VARNOK DIRECTORY\" 00 2A" : "0 \"VARNOK          \" VK 2A";
    EXPECT_ON_SCREEN(text, "LIST\n\n" + header + "\n" + fileLine);
    EXPECT_ON_SCREEN(text, "DIRECTORY\n" + header + "\n" + fileLine);
    EXPECT_EQ(text.find("ERROR"), std::string::npos) << text;
}

TEST_P(RealFirmwareDisk, HeaderFormatsAnImageAndIsRefusedOnAFolder) {
    machineWithDisk(GetParam());
    typeLines({"10 SCNCLR:DSAVE\"GONE\"", "20 HEADER\"NEW NAME\",IXY,D0:PRINT\"H \"DS$", "RUN"},
              trueDrive(GetParam()) ? 6000 : 100);  // a real DOS formats every track
    const Outcome result = runMachine();
    ASSERT_EQ(result.status, 0) << result.errors;
    const std::string text = screen();
    if (GetParam() != Medium::folder) {
        EXPECT_ON_SCREEN(text, "H 00, OK,00,00");
        const std::vector<uint8_t> disk = image();
        EXPECT_TRUE(d64Names(disk).empty());
        EXPECT_EQ(std::string(disk.begin() + 91392 + 144, disk.begin() + 91392 + 152), "NEW NAME");
        EXPECT_EQ(std::string(disk.begin() + 91392 + 162, disk.begin() + 91392 + 164), "XY");
    } else {
        EXPECT_ON_SCREEN(text, "H 31,SYNTAX ERROR,00,00");
        EXPECT_TRUE(onDisk("GONE"));
    }
}

INSTANTIATE_TEST_SUITE_P(Media, RealFirmwareDisk,
                         ::testing::Values(Medium::folder, Medium::image, Medium::true1551, Medium::true1541),
                         [](const auto& info) { return mediumName(info.param); });

// A disk that fills up: the port-level drive refuses the file and leaves the image as it
// was; a true drive's DOS says the same on its error channel.
class RealFirmwareFullDisk : public RealFirmware, public ::testing::WithParamInterface<Medium> {};

TEST_P(RealFirmwareFullDisk, RefusesTheFile) {
    machineWithDisk(GetParam());
    std::vector<uint8_t> disk = formattedD64("FULL", "FL");
    for (int track = 1; track <= 35; ++track)
        if (track != 18) std::fill_n(disk.begin() + 91392 + 4 * track, 4, 0);  // all used
    disk[91392 + 4] = 2, disk[91392 + 5] = 0x03;                               // but two blocks
    writeFile(dir->file("disk.d64"), disk);
    // The port-level drive writes the file at CLOSE; a DOS finds the disk full when the
    // third block is due (and a 1551's CLOSE then sets its error channel back to OK).
    linePause = 400;
    typeLines({"10 SCNCLR:OPEN2,8,2,\"BIG,S,W\":FORI=1TO800:PRINT#2,\"X\";:NEXT", "RUN", "PRINT DS$",
               "CLOSE2:PRINT DS$"});
    const Outcome result = runMachine();
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_ON_SCREEN(screen(), "\n72, DISK FULL,00,00\n");
    if (GetParam() == Medium::image) {
        EXPECT_EQ(image(), disk);
    }
}

INSTANTIATE_TEST_SUITE_P(Media, RealFirmwareFullDisk,
                         ::testing::Values(Medium::image, Medium::true1551, Medium::true1541),
                         [](const auto& info) { return mediumName(info.param); });

// An image with error bytes: each damaged sector is laid out damaged on a true drive's
// disk, and its DOS reports the damage on the error channel with its own read error. A
// DOS checks the checksum and the disk ID of the first header it meets on a track (a
// whole track of bad headers here), then looks for the sector by its whole header.
class RealFirmwareDamagedDisk : public RealFirmware, public ::testing::WithParamInterface<Medium> {
public:
    void SetUp() override {
        RealFirmware::SetUp();
        if (IsSkipped()) return;
        machineWithDisk(GetParam());
        disk = formattedD64("DAMAGED", "DM");
        errors.assign(683, 1);
        damage(1, 0, 2);                                                    // the header's mark
        damage(1, 1, 4);                                                    // the data block's mark
        damage(1, 2, 5);                                                    // the data block's checksum
        for (int sector = 0; sector < 21; ++sector) damage(2, sector, 9);   // the headers' checksums
        for (int sector = 0; sector < 21; ++sector) damage(3, sector, 11);  // another disk ID
        std::vector<uint8_t> file = disk;
        file.insert(file.end(), errors.begin(), errors.end());
        writeFile(dir->file("disk.d64"), file);
    }
    void damage(int track, int sector, uint8_t errorByte) {
        errors[d64Offset(track, sector) / 256] = errorByte;
    }

    std::vector<uint8_t> disk, errors;
};

TEST_P(RealFirmwareDamagedDisk, BlockReadsGiveTheDosReadErrors) {
    typeLines({"10 SCNCLR:OPEN15,8,15:OPEN2,8,2,\"#\"", "20 FORI=1TO6:READT,S:PRINT#15,\"U1\";2;0;T;S",
               "30 INPUT#15,E$,M$,T$,S$:PRINTE$\",\"M$\",\"T$\",\"S$:NEXT", "40 DATA 1,0,1,1,1,2,2,5,3,7,4,0",
               "RUN"},
              4000);  // the DOS tries each damaged sector again and again before it gives up
    const Outcome result = run();
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_ON_SCREEN(screen(),
                     "20,READ ERROR,01,00\n22,READ ERROR,01,01\n23,READ ERROR,01,02\n"
                     "27,READ ERROR,02,05\n29,DISK ID MISMATCH,03,07\n00,OK,00,00\n");
}

// The DOS writes a damaged sector anew: the image keeps the new bytes and no longer calls
// the sector damaged; the others stay as they were.
TEST_P(RealFirmwareDamagedDisk, BlockWriteMakesADamagedSectorSound) {
    typeLines(
        {"10 OPEN15,8,15:OPEN2,8,2,\"#\":PRINT#2,\"REPAIRED\";:PRINT#15,\"U2\";2;0;1;2", "RUN", "PRINT DS$"});
    const Outcome result = run();
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_ON_SCREEN(screen(), "\n00, OK,00,00\n");
    const std::vector<uint8_t> written = image();
    ASSERT_EQ(written.size(), disk.size() + errors.size());
    const std::string sector(written.begin() + d64Offset(1, 2), written.begin() + d64Offset(1, 3));
    EXPECT_NE(sector.find("REPAIRED"), std::string::npos);
    damage(1, 2, 1);
    EXPECT_EQ(std::vector<uint8_t>(written.begin() + disk.size(), written.end()), errors);
}

INSTANTIATE_TEST_SUITE_P(TrueDrives, RealFirmwareDamagedDisk,
                         ::testing::Values(Medium::true1551, Medium::true1541),
                         [](const auto& info) { return mediumName(info.param); });

// ---- Every way a user starts a program, each reaching one that reports through $FDCF ----

// 10 SYS4109, then code that sets the border, reads it back and reports it.
std::vector<uint8_t> borderProgram(uint8_t colour) {
    return {0x01,   0x10, 0x0B, 0x10, 10,   0,    0x9E, '4',  '1',  '0',  '9',  0,    0,    0,    0xA9,
            colour, 0x8D, 0x19, 0xFF, 0xAD, 0x19, 0xFF, 0x29, 0x7F, 0x8D, 0xCF, 0xFD, 0x4C, 0x1B, 0x10};
}

std::vector<uint8_t> diskHolding(const std::string& name, const std::vector<uint8_t>& file) {
    return d64Holding("GAMES", "GM", {{name, file}});
}

struct StartWay {
    const char* name;
    const char* file;    // handed over on the command line, when not empty
    const char* script;  // after the firmware has started
};
void PrintTo(const StartWay& way, std::ostream* os) { *os << way.name; }

class RealFirmwareStart : public RealFirmware, public ::testing::WithParamInterface<StartWay> {};

TEST_P(RealFirmwareStart, ReachesTheProgram) {
    machine({{"DriveType8", 1u}, {"Drive8PCDir", dir->path()}});
    writeFile(dir->file("game.d64"), diskHolding("BORDER", borderProgram(0x32)));
    writeFile(dir->file("game.prg"), borderProgram(0x32));
    std::vector<uint8_t> snapshot(72, 0);
    snapshot[2] = 1, snapshot[5] = 0x10, snapshot[4] = 0x0D;  // PC $100D: the code SYS 4109 starts
    snapshot[8] = 0x04, snapshot[24] = 0xFF;
    std::vector<uint8_t> ram(0x10000, 0);
    const std::vector<uint8_t> program = borderProgram(0x32);
    std::copy(program.begin() + 2, program.end(), ram.begin() + 0x1001);
    snapshot.insert(snapshot.end(), ram.begin(), ram.end());
    writeFile(dir->file("game.fre"), snapshot);
    script(std::string("wait 150\n") + GetParam().script);
    std::vector<std::string> arguments;
    if (*GetParam().file) arguments.push_back(dir->file(GetParam().file));
    const Outcome result = run(arguments);
    EXPECT_EQ(result.status, 0x32) << result.errors;
}

INSTANTIATE_TEST_SUITE_P(
    Ways, RealFirmwareStart,
    ::testing::Values(StartWay{"DiskOnTheCommandLine", "game.d64", ""},
                      StartWay{"ProgramOnTheCommandLine", "game.prg", ""},
                      StartWay{"SnapshotOnTheCommandLine", "game.fre", ""},
                      StartWay{"DiskPageF1", "",
                               "tap F8\nwait 5\ntap RIGHT\ntap RIGHT\ntap RIGHT\ntap DOWN\ntap F1\n"},
                      StartWay{"DroppedDisk", "", "drop game.d64\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// A disk handed over on the command line starts on a true drive too, whose DOS takes its
// time to start after the power comes on (the load runs at full speed); one that never
// starts shows its screen.
class RealFirmwareTrueStart : public RealFirmware, public ::testing::WithParamInterface<Medium> {};

TEST_P(RealFirmwareTrueStart, DiskOnTheCommandLineReachesTheProgram) {
    machineWithDisk(GetParam());
    writeFile(dir->file("game.d64"), diskHolding("BORDER", borderProgram(0x32)));
    script("wait 3000\ntap F6\nwait 5\nquit\n");
    const Outcome result = run({dir->file("game.d64")}, 600);
    EXPECT_EQ(result.status, 0x32) << result.errors << screen();
}

// A disk put in while the machine runs (with the same ID) is a new disk to the DOS: a SAVE
// on it after the first disk's listing lands in its own directory and keeps its own BAM
// and name; the first disk is left as it was.
TEST_P(RealFirmwareTrueStart, DiskPutInIsANewDiskToTheDos) {
    machineWithDisk(GetParam());
    writeFile(dir->file("second.d64"), formattedD64("SECOND", "VK"));  // the first disk's ID
    script(
        "wait 150\ntype DIRECTORY\ntap RETURN\nwait 400\ndrop second.d64\nwait 800\n"
        "type SAVE\"X\",8\ntap RETURN\nwait 1500\ntap F6\nwait 5\nquit\n");
    const Outcome result = runMachine();
    ASSERT_EQ(result.status, 0) << result.errors;
    const std::string second = readFile(dir->file("second.d64"));
    const std::vector<uint8_t> image(second.begin(), second.end());
    constexpr size_t bamName = 91392 + 144;
    EXPECT_EQ(second.substr(bamName, 6), "SECOND") << screen();
    EXPECT_FALSE(d64File(image, "X").empty()) << screen();
    EXPECT_TRUE(d64File(this->image(), "X").empty());
}

INSTANTIATE_TEST_SUITE_P(TrueDrives, RealFirmwareTrueStart,
                         ::testing::Values(Medium::true1551, Medium::true1541),
                         [](const auto& info) { return mediumName(info.param); });

// ---- G64 images: raw tracks on a true drive, their sectors at the port level ----

// A disk holding BORDER as a G64 of our own encoder, with track 17 (where the file lies)
// longer than its zone's turn, as some protections lay a track out: a true drive reads
// and writes it at its own length and the file keeps what the DOS wrote; the port level
// serves the sectors that decode and refuses to write.
class RealFirmwareG64 : public RealFirmware, public ::testing::WithParamInterface<Medium> {};

TEST_P(RealFirmwareG64, LoadsFromTheRawTracksAndSavesIntoThem) {
    diskName = "disk.g64";
    machineWithDisk(GetParam());
    gcr::Disk disk = gcr::fromD64(diskHolding("BORDER", borderProgram(0x32)), 35, {});
    std::vector<uint8_t>& track17 = disk.tracks[34];
    track17.insert(track17.begin(), 7900 - track17.size(), 0x55);
    const std::vector<uint8_t> file = gcr::writeG64(disk);
    writeFile(dir->file(diskName), file);
    typeLines({"LOAD\"BORDER\",8", "LIST", "SAVE\"COPY\",8", "PRINT DS$"});
    const Outcome result = runMachine();
    ASSERT_EQ(result.status, 0) << result.errors;
    const std::string text = screen();
    EXPECT_ON_SCREEN(text, "LOADING\nREADY.\nLIST\n\n10 SYS4109");
    if (!trueDrive(GetParam())) {
        EXPECT_ON_SCREEN(text, "26, WRITE PROTECT ON,00,00");
        EXPECT_EQ(image(), file);
        return;
    }
    EXPECT_ON_SCREEN(text, "00, OK,00,00");
    const gcr::G64 written = gcr::readG64(image());
    ASSERT_EQ(written.error, "");
    EXPECT_EQ(written.disk.tracks[34].size(), 7900u);
    std::vector<uint8_t> sectors(gcr::sectorOffset(36, 0));
    for (int track = 1; track <= 35; ++track) gcr::toD64(written.disk.tracks[2 * track], track, sectors);
    EXPECT_EQ(d64File(sectors, "COPY"), borderProgram(0x32)) << text;
    EXPECT_EQ(d64File(sectors, "BORDER"), borderProgram(0x32));
}

INSTANTIATE_TEST_SUITE_P(Media, RealFirmwareG64,
                         ::testing::Values(Medium::image, Medium::true1551, Medium::true1541),
                         [](const auto& info) { return mediumName(info.param); });

}  // namespace

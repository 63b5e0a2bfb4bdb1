// Code of our own in a true drive's processor, as fast loaders put it there: the
// programs of tests/drivecode upload a routine with M-W, start it with M-E, and take
// back what it reads, through the DOS's job queue and as raw GCR straight off the head,
// over a transfer of their own (a handshake on the 1551's cable, two bits at a time on
// the 1541's serial bus). They compare every byte with the pattern the disk was made
// with and report through the debug port; the real KERNAL and DOS ROMs run throughout.
//
// A disk made the way games and demos load: started as a user starts a disk, its first
// file leaves a loader in the drive, takes the machine over and loads the game by name in
// its raster interrupt; the game loads its level later through the same loader.
#include "program_run.h"
#include "support/real_firmware.h"

namespace {

constexpr int passed = 0xAA;

// Every sector off track 18 holds its track, its sector, then each byte its offset plus
// 7 * track + 13 * sector (tests/drivecode/computer.s makes the same).
std::vector<uint8_t> patternedDisk() {
    std::vector<uint8_t> disk = formattedD64("DRIVE CODE", "DC");
    for (int track = 1; track <= 35; ++track) {
        if (track == 18) continue;
        for (int sector = 0; sector < d64Sectors(track); ++sector) {
            uint8_t* block = disk.data() + d64Offset(track, sector);
            block[0] = uint8_t(track), block[1] = uint8_t(sector);
            for (int i = 2; i < 256; ++i) block[i] = uint8_t(i + 7 * track + 13 * sector);
        }
    }
    return disk;
}

// What a failing run's status names.
std::string verdict(int status) {
    const std::string sector = " of sector " + std::to_string(status & 0x0F) + " in the list";
    switch (status & 0xF0) {
        case 0x10:
            return "the read job's status" + sector;
        case 0x20:
            return "the read job's buffer" + sector;
        case 0x30:
            return "the raw GCR" + sector;
        default:
            return status == 1 ? "the command channel" : "status " + std::to_string(status);
    }
}

struct TrueDriveRom {
    const char* name;
    uint32_t kind;  // TrueDrive8
    const char* romSetting;
    const char* rom;
};
void PrintTo(const TrueDriveRom& drive, std::ostream* os) { *os << drive.name; }

constexpr TrueDriveRom true1551{"1551", 1, "Drive1551Rom", realDos1551};
constexpr TrueDriveRom true1541{"1541", 2, "Drive1541Rom", realDos1541};

// The real Plus/4 at full speed with the drive (`kind` 0: the port-level drive) and the
// disk in drive 8.
std::vector<Setting> driveSettings(const std::string& roms, const TrueDriveRom& drive, uint32_t kind,
                                   const std::string& disk) {
    std::vector<Setting> settings = realPlus4Settings(roms);
    settings.insert(settings.end(), {{"Sync", 0u},
                                     {"SoundEmulation", 0u},
                                     {"DriveType8", 2u},
                                     {"Drive8D64", disk},
                                     {"TrueDrive8", kind},
                                     {drive.romSetting, roms + "/" + drive.rom}});
    return settings;
}

std::vector<uint8_t> program(const std::string& name) {
    const std::string bytes = readFile(std::string(DRIVE_CODE_DIR) + "/" + name + ".prg");
    return {bytes.begin(), bytes.end()};
}

class DriveCode : public BinaryRun, public ::testing::WithParamInterface<TrueDriveRom> {};

TEST_P(DriveCode, ReadsSectorsByJobAndRawGcrAndSendsThemOverItsOwnTransfer) {
    REQUIRE_TEST_ROMS(roms);
    writeFile(dir->file("disk.d64"), patternedDisk());
    writeSettingsStore(driveSettings(roms, GetParam(), GetParam().kind, dir->file("disk.d64")));
    // Minutes under the sanitizers, as the other real-firmware runs allow.
    const Outcome result = run({std::string(DRIVE_CODE_DIR) + "/drivecode" + GetParam().name + ".prg"}, 600);
    EXPECT_EQ(result.status, passed) << verdict(result.status) << " is wrong\n" << result.errors;
}

INSTANTIATE_TEST_SUITE_P(TrueDrives, DriveCode, ::testing::Values(true1551, true1541),
                         [](const auto& info) { return "Drive" + std::string(info.param.name); });

// ---- The fast loader's disk (tests/drivecode/boot.s, game.s, level.s) ----

// What the boot, the game or the loader reports (tests/drivecode/loader.inc).
std::string loaderVerdict(int status) {
    const char* const refusal[] = {"", " (the upload was answered with 31, SYNTAX ERROR)",
                                   " (the upload was answered with an error)"};
    const std::string refused = (status & 3) < 3 ? refusal[status & 3] : "";
    switch (status & ~3) {
        case 0x40:
            return "no routine greeted the request" + refused;
        case 0x44:
            return "no block came" + refused;
        case 0x48:
            return "the routine could not load a file" + refused;
        case 0x4C:
            return "the main loop stood still while a file loaded" + refused;
        case 0x50:
            return status == 0x50 ? "the game's bytes differ" : "the level's bytes differ";
        default:
            return status == 1 ? "the command channel failed" : "status " + std::to_string(status);
    }
}

// The boot for the drive first, as LOAD"*",8 takes it, then the game (63 blocks on tracks
// 17 to 15) and its level (3 blocks).
std::vector<uint8_t> loaderDisk(const std::string& drive,
                                const std::vector<uint8_t>& level = program("level")) {
    return d64Holding("FAST LOADER", "FL",
                      {{"BOOT", program("boot" + drive)}, {"GAME", program("game")}, {"LEVEL", level}});
}

class FastLoader : public BinaryRun, public ::testing::WithParamInterface<TrueDriveRom> {};

TEST_P(FastLoader, DiskStartsAndLoadsTheGameAndLaterItsLevelInTheInterrupt) {
    REQUIRE_TEST_ROMS(roms);
    writeFile(dir->file("game.d64"), loaderDisk(GetParam().name));
    writeSettingsStore(driveSettings(roms, GetParam(), GetParam().kind, ""));
    const Outcome result = run({dir->file("game.d64")}, 600);
    EXPECT_EQ(result.status, passed) << loaderVerdict(result.status) << "\n" << result.errors;
}

// A byte of the level changed on the disk shows in the game's check, after the level
// came through the loader as the disk holds it.
TEST_P(FastLoader, ByteChangedOnTheDiskShowsInTheLevel) {
    REQUIRE_TEST_ROMS(roms);
    std::vector<uint8_t> level = program("level");
    level[2 + 600] ^= 0x10;  // in the level's third block
    writeFile(dir->file("game.d64"), loaderDisk(GetParam().name, level));
    writeSettingsStore(driveSettings(roms, GetParam(), GetParam().kind, ""));
    const Outcome result = run({dir->file("game.d64")}, 600);
    EXPECT_EQ(result.status, 0x51) << loaderVerdict(result.status) << "\n" << result.errors;
}

// The port-level drive serves the boot through the KERNAL and answers the upload as it
// answers any command it does not know (31, SYNTAX ERROR); no routine answers the
// loader's request then, on the cable or on the serial bus.
TEST_P(FastLoader, PortLevelDriveLoadsTheBootAndRefusesTheUpload) {
    REQUIRE_TEST_ROMS(roms);
    writeFile(dir->file("game.d64"), loaderDisk(GetParam().name));
    writeSettingsStore(driveSettings(roms, GetParam(), 0, ""));
    const Outcome result = run({dir->file("game.d64")}, 600);
    EXPECT_EQ(result.status, 0x40 + 1) << loaderVerdict(result.status) << "\n" << result.errors;
}

INSTANTIATE_TEST_SUITE_P(Drives, FastLoader, ::testing::Values(true1551, true1541),
                         [](const auto& info) { return "Drive" + std::string(info.param.name); });

}  // namespace

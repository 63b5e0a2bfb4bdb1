// Code of our own in a true drive's processor, as fast loaders put it there: the
// programs of tests/drivecode upload a routine with M-W, start it with M-E, and take
// back what it reads, through the DOS's job queue and as raw GCR straight off the head,
// over a transfer of their own (a handshake on the 1551's cable, two bits at a time on
// the 1541's serial bus). They compare every byte with the pattern the disk was made
// with and report through the debug port; the real KERNAL and DOS ROMs run throughout.
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

class DriveCode : public BinaryRun, public ::testing::WithParamInterface<TrueDriveRom> {};

TEST_P(DriveCode, ReadsSectorsByJobAndRawGcrAndSendsThemOverItsOwnTransfer) {
    REQUIRE_TEST_ROMS(roms);
    writeFile(dir->file("disk.d64"), patternedDisk());
    std::vector<Setting> settings = realPlus4Settings(roms);
    settings.insert(settings.end(), {{"Sync", 0u},
                                     {"SoundEmulation", 0u},
                                     {"DriveType8", 2u},
                                     {"Drive8D64", dir->file("disk.d64")},
                                     {"TrueDrive8", GetParam().kind},
                                     {GetParam().romSetting, roms + "/" + GetParam().rom}});
    writeSettingsStore(settings);
    // Minutes under the sanitizers, as the other real-firmware runs allow.
    const Outcome result = run({std::string(DRIVE_CODE_DIR) + "/drivecode" + GetParam().name + ".prg"}, 600);
    EXPECT_EQ(result.status, passed) << verdict(result.status) << " is wrong\n" << result.errors;
}

INSTANTIATE_TEST_SUITE_P(TrueDrives, DriveCode,
                         ::testing::Values(TrueDriveRom{"1551", 1, "Drive1551Rom", realDos1551},
                                           TrueDriveRom{"1541", 2, "Drive1541Rom", realDos1541}),
                         [](const auto& info) { return "Drive" + std::string(info.param.name); });

}  // namespace

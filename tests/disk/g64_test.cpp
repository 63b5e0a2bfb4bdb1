// G64 files: a disk of our own encoder survives the file byte for byte, and a file that is
// short or lies about its tracks is refused with a reason, at any length it is cut to.
#include "disk/g64.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "disk/head.h"
#include "drive/drive.h"
#include "support/machine_helpers.h"

namespace {

std::vector<uint8_t> imageG64() {
    std::vector<uint8_t> image = formattedD64("RAW", "G6");
    std::mt19937 random(64);
    for (size_t i = 0; i < d64Offset(18, 0); ++i) image[i] = uint8_t(random());
    gcr::Disk disk = gcr::fromD64(image, 35, {});
    disk.tracks[37] = std::vector<uint8_t>(6000, 0x52);  // something between tracks 18 and 19
    disk.density[37] = 2;
    return gcr::writeG64(disk);
}

TEST(G64, DiskFromAnImageRoundTripsByteForByte) {
    const std::vector<uint8_t> image = formattedD64("RAW", "G6");
    const gcr::Disk disk = gcr::fromD64(image, 35, {});
    const std::vector<uint8_t> file = gcr::writeG64(disk);
    ASSERT_EQ(file.size(), 12u + 8 * 84 + 35 * (2 + 7928));
    const gcr::G64 read = gcr::readG64(file);
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.halfTracks, 84);
    EXPECT_EQ(read.disk.tracks, disk.tracks);
    EXPECT_EQ(read.disk.density[2], 3);   // track 1
    EXPECT_EQ(read.disk.density[70], 0);  // track 35
    EXPECT_EQ(gcr::writeG64(read.disk, read.halfTracks, read.trackBytes), file);
    const std::vector<uint8_t> withHalfTrack = imageG64();
    EXPECT_EQ(gcr::writeG64(gcr::readG64(withHalfTrack).disk), withHalfTrack);
}

// A half-track's bytes pass under a head stepped half a track on from track 18, at the
// half-track's own length.
TEST(G64, HalfTrackComesUnderTheHead) {
    gcr::G64 read = gcr::readG64(imageG64());
    gcr::Head head;  // over track 18
    head.motor = true;
    head.density = 2;  // the rate the half-track was written at
    gcr::setPhase(head, read.disk, 1);
    ASSERT_EQ(head.halfTrack, 37);
    EXPECT_EQ(gcr::turn(head, read.disk, 28 * 6000), 6000u);  // one turn
    EXPECT_EQ(head.input, 0x52);
    EXPECT_EQ(head.position, 0u);
}

// Read at another rate than it was written at, a track still shows its syncs, but none of
// the bytes after them is the header that was written.
TEST(G64, TrackReadAtAnotherRateGivesGarbageBetweenItsSyncs) {
    const std::vector<uint8_t> image = formattedD64("RATE", "RT");
    for (uint8_t density : {uint8_t(3), uint8_t(1)}) {
        gcr::Disk disk = gcr::fromD64(image, 35, {});
        gcr::Head head;
        head.halfTrack = 2;  // track 1, written at rate 3
        head.motor = true;
        head.density = density;
        int syncs = 0, headers = 0;
        bool wasSync = false;
        for (int i = 0; i < 7692; ++i) {
            const bool ready = gcr::turn(head, disk, gcr::cyclesPerByte(head)) != 0;
            if (wasSync && ready) {
                ++syncs;
                headers += head.input == 0x52;  // the first GCR byte of a header block
            }
            wasSync = head.sync;
        }
        EXPECT_EQ(syncs, 42) << int(density);  // a header's and a data block's per sector
        EXPECT_EQ(headers, density == 3 ? 21 : 0) << int(density);
    }
}

// Each case damages a good file; every one is refused with its reason.
struct Damage {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> apply;
    const char* reason;
};
void PrintTo(const Damage& damage, std::ostream* os) { *os << damage.name; }

void putLong(std::vector<uint8_t>& file, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(value >> 8 * i);
}
constexpr size_t firstOffset = 12, firstSpeed = 12 + 4 * 84, firstTrack = 12 + 8 * 84;

class G64Damaged : public ::testing::TestWithParam<Damage> {};

TEST_P(G64Damaged, IsRefusedWithItsReason) {
    ScratchDirectory dir;
    std::vector<uint8_t> file = imageG64();
    GetParam().apply(file);
    const gcr::G64 read = gcr::readG64(file);
    EXPECT_NE(read.error.find(GetParam().reason), std::string::npos) << read.error;
    // The drive keeps the disk it had.
    writeFile(dir.file("good.d64"), formattedD64("GOOD", "GD"));
    writeFile(dir.file("bad.g64"), file);
    ASSERT_TRUE(mountD64(dir.file("good.d64")));
    EXPECT_FALSE(mountD64(dir.file("bad.g64")));
    EXPECT_EQ(drive.mediumPath, dir.file("good.d64"));
    EXPECT_FALSE(drive.g64);
    unmountDrive();
}

INSTANTIATE_TEST_SUITE_P(
    Files, G64Damaged,
    ::testing::Values(
        Damage{"TruncatedHeader", [](auto& f) { f.resize(10); }, "header is cut short"},
        Damage{"UnknownVersion", [](auto& f) { f[8] = 1; }, "version 1"},
        Damage{"NoHalfTracks", [](auto& f) { f[9] = 0; }, "0 half-tracks"},
        Damage{"MoreHalfTracksThanADriveReaches", [](auto& f) { f[9] = 100; }, "100 half-tracks"},
        Damage{"AbsurdTrackSize", [](auto& f) { f[10] = 0xFF, f[11] = 0xFF; }, "track size of 65535"},
        Damage{"TablesCutShort", [](auto& f) { f.resize(firstSpeed + 8); }, "tables are cut short"},
        Damage{"OffsetPastTheEnd", [](auto& f) { putLong(f, firstOffset, uint32_t(f.size())); },
               "half-track 2 lies outside"},
        Damage{"OffsetIntoTheTables", [](auto& f) { putLong(f, firstOffset + 8, 20); },
               "half-track 4 lies outside"},
        Damage{"TrackLongerThanItsSlot", [](auto& f) { f[firstTrack] = 0xFF, f[firstTrack + 1] = 0x1F; },
               "longer than the file's track size"},
        Damage{"LastTrackCutShort", [](auto& f) { f.resize(f.size() - 7928); }, "half-track 70 is cut short"},
        Damage{"SpeedMapPastTheEnd", [](auto& f) { putLong(f, firstSpeed, uint32_t(f.size())); },
               "speed map lies outside"}),
    [](const auto& info) { return std::string(info.param.name); });

// Only the last slot's padding past its track (track 35: 6250 bytes) may go.
TEST(G64, AnyCutIntoTheTracksIsRefusedWithoutHarm) {
    const std::vector<uint8_t> file = imageG64();
    const size_t lastTrackEnd = file.size() - (7928 - 6250);
    EXPECT_EQ(gcr::readG64(std::span(file).first(lastTrackEnd)).error, "");
    for (size_t length = 0; length < lastTrackEnd; length += 997) {
        const gcr::G64 read = gcr::readG64(std::span(file).first(length));
        EXPECT_FALSE(read.error.empty()) << length;
    }
}

}  // namespace

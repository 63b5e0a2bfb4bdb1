// The GCR disk surface: D64 images encoded as a drive formats them and decoded back,
// damaged sectors as their error bytes say, and the head reading them at zone speed.
#include "disk/gcr.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "disk/head.h"

namespace {

std::vector<uint8_t> randomImage(int tracks, uint32_t seed) {
    std::vector<uint8_t> image(gcr::sectorOffset(tracks + 1, 0));
    std::mt19937 random(seed);
    for (uint8_t& byte : image) byte = uint8_t(random());
    return image;
}

TEST(Gcr, EveryByteOfFourEncodesAndDecodesBack) {
    for (int value = 0; value < 256; ++value) {
        const uint8_t in[4] = {uint8_t(value), uint8_t(255 - value), uint8_t(value * 7),
                               uint8_t(value ^ 0x5A)};
        uint8_t five[5], out[4];
        gcr::encode(in, five);
        ASSERT_TRUE(gcr::decode(five, out));
        EXPECT_EQ(std::vector<uint8_t>(out, out + 4), std::vector<uint8_t>(in, in + 4));
    }
    const uint8_t invalid[5] = {0, 0, 0, 0, 0};  // no nybble is coded 00000
    uint8_t out[4];
    EXPECT_FALSE(gcr::decode(invalid, out));
}

// Each zone's tracks hold their sectors in a turn of the zone's length, and a whole
// image of 35 or 40 tracks comes back from its GCR form byte for byte.
class GcrImage : public ::testing::TestWithParam<int> {};

TEST_P(GcrImage, EncodesEachZoneAndDecodesBackByteForByte) {
    const int tracks = GetParam();
    const std::vector<uint8_t> image = randomImage(tracks, 1234);
    const gcr::Disk disk = gcr::fromD64(image, tracks, {});
    std::vector<uint8_t> back(image.size(), 0);
    for (int track = 1; track <= tracks; ++track) {
        const gcr::Zone& zone = gcr::zoneOf(track);
        ASSERT_EQ(disk.tracks[2 * track].size(), size_t(zone.trackBytes)) << track;
        EXPECT_TRUE(disk.tracks[2 * track + 1].empty()) << track;
        EXPECT_EQ(gcr::toD64(disk.tracks[2 * track], track, back), zone.sectors) << track;
    }
    EXPECT_EQ(back, image);
}

INSTANTIATE_TEST_SUITE_P(Sizes, GcrImage, ::testing::Values(35, 40));

// A sector the image marks as damaged is written damaged: it does not read back.
struct Damage {
    uint8_t error;
    const char* name;
};
class GcrDamagedSector : public ::testing::TestWithParam<Damage> {};

TEST_P(GcrDamagedSector, DoesNotDecodeAndLeavesTheOthersAlone) {
    const std::vector<uint8_t> image = randomImage(35, 99);
    std::vector<uint8_t> errors(683, gcr::noError);
    errors[5] = GetParam().error;  // track 1, sector 5
    const gcr::Disk disk = gcr::fromD64(image, 35, errors);
    std::vector<uint8_t> back(image.size(), 0);
    EXPECT_EQ(gcr::toD64(disk.tracks[2], 1, back), 20);
    for (int sector = 0; sector < 21; ++sector) {
        const uint32_t at = gcr::sectorOffset(1, sector);
        const bool same = std::equal(image.begin() + at, image.begin() + at + 256, back.begin() + at);
        EXPECT_EQ(same, sector != 5) << sector;
    }
}

INSTANTIATE_TEST_SUITE_P(Errors, GcrDamagedSector,
                         ::testing::Values(Damage{gcr::headerNotFound, "HeaderNotFound"},
                                           Damage{gcr::noSync, "NoSync"},
                                           Damage{gcr::dataNotFound, "DataNotFound"},
                                           Damage{gcr::dataChecksum, "DataChecksum"},
                                           Damage{gcr::headerChecksum, "HeaderChecksum"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Decoding a track marks each sector read back with the disk's ID as sound (a damaged
// sector written anew), and leaves the marks of those still damaged or of another ID.
TEST(GcrDamagedSector, ReadBackWithTheDiskIdIsMarkedSound) {
    const std::vector<uint8_t> image = randomImage(35, 5);
    std::vector<uint8_t> errors(683, gcr::noError);
    errors[5] = gcr::dataChecksum;
    errors[6] = gcr::idMismatch;
    const gcr::Disk disk = gcr::fromD64(image, 35, errors);
    errors[7] = gcr::dataChecksum;  // as if the drive had written sector 7 again since
    std::vector<uint8_t> back(image.size(), 0);
    EXPECT_EQ(gcr::toD64(disk.tracks[2], 1, back, errors, gcr::diskId(image)), 20);
    std::vector<uint8_t> expected(683, gcr::noError);
    expected[5] = gcr::dataChecksum;
    expected[6] = gcr::idMismatch;
    EXPECT_EQ(errors, expected);
}

// The head passes a byte every 26 to 32 microseconds by density; sync marks raise no
// byte, and the first bytes after each mark are a header block's, sector by sector.
TEST(GcrHead, ReadsTheSectorHeadersInOrderAtTheZoneRate) {
    const std::vector<uint8_t> image = randomImage(35, 7);
    gcr::Disk disk = gcr::fromD64(image, 35, {});
    gcr::Head head;
    head.halfTrack = 2;
    head.motor = true;
    head.density = 3;
    head.clockMultiple = 2;  // a 1551: 52 cycles a byte
    EXPECT_EQ(gcr::turn(head, disk, 51), 0u);
    std::vector<uint8_t> afterSync;
    bool wasSync = false;
    int headers = 0;
    for (int i = 0; i < 7692; ++i) {
        const uint32_t ready = gcr::turn(head, disk, 52);
        if (wasSync && !head.sync) {
            afterSync.assign(1, head.input);
        } else if (ready && afterSync.size() && afterSync.size() < 10) {
            afterSync.push_back(head.input);
        }
        if (afterSync.size() == 10) {
            uint8_t block[8];
            ASSERT_TRUE(gcr::decode(afterSync.data(), block));
            ASSERT_TRUE(gcr::decode(afterSync.data() + 5, block + 4));
            if (block[0] == 0x08) {
                EXPECT_EQ(block[2], headers % 21);
                ++headers;
            }
            afterSync.clear();
        }
        wasSync = head.sync;
    }
    EXPECT_EQ(headers, 21);
}

TEST(GcrHead, StepperMovesHalfTracksAndStopsAtTheEnds) {
    gcr::Disk disk;
    gcr::Head head;
    head.halfTrack = 4;
    for (uint8_t phase : {1, 2, 3, 0}) gcr::setPhase(head, disk, phase);
    EXPECT_EQ(head.halfTrack, 8);
    for (int i = 0; i < 20; ++i) gcr::setPhase(head, disk, uint8_t(head.phase - 1));
    EXPECT_EQ(head.halfTrack, 2);                        // track 1: the bump stop
    gcr::setPhase(head, disk, uint8_t(head.phase + 2));  // two phases at once: no move
    EXPECT_EQ(head.halfTrack, 2);
}

}  // namespace

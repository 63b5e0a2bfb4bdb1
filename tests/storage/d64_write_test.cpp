// Writing into D64 images: the BAM and directory after saves, a full disk, 40-track
// images, error bytes kept, validate and format. The images are files built here.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "port_session.h"
#include "support/machine_helpers.h"

namespace {

uint8_t* sector(int track, int number) { return drive.d64Image + trackOffset[track] + 256 * number; }
uint8_t* bam() { return sector(18, 0); }
uint32_t bitmap(int track) {
    const uint8_t* entry = track <= 35 ? bam() + 4 * track : bam() + 0xC0 + 4 * (track - 36);
    return entry[1] | entry[2] << 8 | entry[3] << 16;
}
bool sectorUsed(int track, int number) { return !(bitmap(track) >> number & 1); }

std::vector<uint8_t> bytes(size_t size, uint8_t seed) {
    std::vector<uint8_t> data(size);
    for (size_t i = 0; i < size; ++i) data[i] = uint8_t(seed + i * 7 + i / 253);
    return data;
}
size_t blocksOf(size_t size) { return std::max<size_t>(1, (size + 253) / 254); }

uint16_t blocksFree() {
    const std::vector<uint8_t> all = listing();
    return uint16_t(all[all.size() - 30] | all[all.size() - 29] << 8);
}

std::string fileText(const std::string& path) { return readFile(path); }

class D64Writes : public ::testing::Test {
protected:
    std::unique_ptr<ScratchDirectory> scratch;
    std::string image;

    void SetUp() override {
        resetDrive(2);
        scratch = std::make_unique<ScratchDirectory>();
        image = scratch->file("disk.d64");
    }
    void TearDown() override { scratch.reset(); }

    // A blank image file of the given size, mounted and formatted by the drive.
    void formatted(size_t size, std::vector<uint8_t> fill = {}) {
        fill.resize(size, 0);
        writeFile(image, fill);
        ASSERT_TRUE(mountD64(image));
        ASSERT_EQ(diskCommand("N:BLANK,ID"), "00, OK,00,00");
    }

    // Each file's blocks in chain order, by name.
    std::map<std::string, std::vector<std::pair<int, int>>> chains() {
        std::map<std::string, std::vector<std::pair<int, int>>> all;
        for (int t = 18, s = 1; t != 0;) {
            const uint8_t* dir = sector(t, s);
            for (int k = 0; k < 8; ++k) {
                const uint8_t* entry = dir + 32 * k;
                if (!entry[2]) continue;
                std::string name(entry + 5, entry + 21);
                name = name.substr(0, name.find('\xA0'));
                for (int ft = entry[3], fs = entry[4]; ft != 0;) {
                    all[name].push_back({ft, fs});
                    const uint8_t* block = sector(ft, fs);
                    ft = block[0];
                    fs = block[1];
                }
            }
            t = dir[0];
            s = dir[1];
        }
        return all;
    }
};

TEST_F(D64Writes, BamAndDirectoryStayConsistentAfterSaves) {
    formatted(d64ImageBytes);
    const size_t sizes[] = {1, 2540, 25400, 700, 0};
    size_t used = 0;
    for (size_t i = 0; i < std::size(sizes); ++i) {
        ASSERT_EQ(saveThroughPort("FILE" + std::to_string(i), bytes(sizes[i], uint8_t(i))), "00, OK,00,00");
        used += blocksOf(sizes[i]);
    }
    EXPECT_EQ(blocksFree(), 664 - used);
    for (int t = 1; t <= 35; ++t)
        EXPECT_EQ(bam()[4 * t], std::popcount(bitmap(t) & ((1u << sectorsOnTrack(t)) - 1))) << "track " << t;
    std::map<std::pair<int, int>, std::string> owner;
    for (const auto& [name, blocks] : chains())
        for (const auto& block : blocks) {
            EXPECT_NE(block.first, 18) << name;
            EXPECT_TRUE(sectorUsed(block.first, block.second)) << name;
            EXPECT_TRUE(owner.emplace(block, name).second) << name << " shares a block with " << owner[block];
        }
    EXPECT_EQ(owner.size(), used);
    int usedOnTrack18 = 0;
    for (int s = 0; s < 19; ++s) usedOnTrack18 += sectorUsed(18, s);
    EXPECT_EQ(usedOnTrack18, 2) << "the BAM and one directory sector";
    // The file holds what the drive holds, and no temporary file is left beside it.
    EXPECT_TRUE(fileText(image) == std::string(drive.d64Image, drive.d64Image + d64ImageBytes));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch->path()), {}), 1);
    for (size_t i = 0; i < std::size(sizes); ++i)
        EXPECT_EQ(loadThroughPort("FILE" + std::to_string(i)).bytes.size(), std::max<size_t>(sizes[i], 1))
            << i;  // an empty file answers with one CR
}

TEST_F(D64Writes, FullDiskGivesDiskFullAndLeavesTheImageUnchanged) {
    formatted(d64ImageBytes);
    ASSERT_EQ(saveThroughPort("BIG", bytes(600 * 254, 1)), "00, OK,00,00");
    const std::string before = fileText(image);
    const std::vector<uint8_t> listed = listing();
    EXPECT_EQ(saveThroughPort("MORE", bytes(65 * 254, 2)), "72, DISK FULL,00,00");
    EXPECT_TRUE(fileText(image) == before);
    EXPECT_EQ(listing(), listed);
    EXPECT_EQ(saveThroughPort("REST", bytes(64 * 254, 3)), "00, OK,00,00");  // exactly what is left
    EXPECT_EQ(blocksFree(), 0);
}

TEST_F(D64Writes, DirectoryGrowsOnTrack18UntilIts144EntriesAreTaken) {
    mountD64InMemory(35);
    ASSERT_EQ(diskCommand("N:MANY,ID"), "00, OK,00,00");
    for (int i = 0; i < 144; ++i)
        ASSERT_EQ(saveThroughPort("F" + std::to_string(i), {1, 2}), "00, OK,00,00") << i;
    EXPECT_EQ(saveThroughPort("ONE MORE", {1, 2}), "72, DISK FULL,00,00");
    EXPECT_EQ(chains().size(), 144u);
    EXPECT_EQ(blocksFree(), 664 - 144);
    for (int s = 0; s < 19; ++s) EXPECT_TRUE(sectorUsed(18, s)) << s;
}

TEST_F(D64Writes, FortyTrackImageUsesTracks36To40) {
    formatted(196608);
    EXPECT_EQ(blocksFree(), 664 + 5 * 17);
    const std::vector<uint8_t> big = bytes(749 * 254, 9);
    ASSERT_EQ(saveThroughPort("BIG", big), "00, OK,00,00");
    bool reachedTrack40 = false;
    const auto files = chains();
    for (const auto& block : files.at("BIG")) reachedTrack40 |= block.first == 40;
    EXPECT_TRUE(reachedTrack40);
    EXPECT_EQ(blocksFree(), 0);
    ASSERT_EQ(openChannelByName(2, "BIG"), 0);
    EXPECT_EQ(readFromChannel(2, big.size() + 1), big);
    EXPECT_EQ(fileText(image).size(), 196608u);
}

// An image written by a DOS that keeps no BAM for tracks 36-40 still reads files there.
TEST_F(D64Writes, FileOnTrack38OfAFortyTrackImageLoads) {
    std::vector<uint8_t> disk(196608, 0);
    writeFile(image, disk);
    ASSERT_TRUE(mountD64(image));
    ASSERT_EQ(diskCommand("N:OTHER DOS,ID"), "00, OK,00,00");
    std::fill_n(bam() + 0xC0, 20, 0);  // no extended BAM: tracks 36-40 count as used
    sector(18, 1)[2] = 0x82, sector(18, 1)[3] = 38, sector(18, 1)[4] = 16;
    std::fill_n(sector(18, 1) + 5, 16, 0xA0);
    sector(18, 1)[5] = 'X';
    sector(38, 16)[0] = 0, sector(38, 16)[1] = 4, sector(38, 16)[2] = 0x01, sector(38, 16)[3] = 0x10,
               sector(38, 16)[4] = 0x60;
    EXPECT_EQ(loadThroughPort("X").bytes, (std::vector<uint8_t>{0x01, 0x10, 0x60}));
    EXPECT_EQ(blocksFree(), 664);
}

class D64ErrorBytes : public D64Writes, public ::testing::WithParamInterface<size_t> {};

TEST_P(D64ErrorBytes, AreKeptWhenTheImageIsWrittenBack) {
    const size_t sectors = GetParam() == 175531 ? 683 : 768;
    std::vector<uint8_t> disk(GetParam(), 0);
    for (size_t i = 0; i < sectors; ++i) disk[GetParam() - sectors + i] = uint8_t(1 + i % 3);
    writeFile(image, disk);
    ASSERT_TRUE(mountD64(image));
    ASSERT_EQ(diskCommand("N:KEPT"), "00, OK,00,00");  // no new ID: the sectors are not rewritten
    ASSERT_EQ(saveThroughPort("GAME", bytes(3000, 4)), "00, OK,00,00");
    const std::string written = fileText(image);
    ASSERT_EQ(written.size(), GetParam());
    EXPECT_TRUE(written.substr(GetParam() - sectors) == std::string(disk.end() - sectors, disk.end()));
}

INSTANTIATE_TEST_SUITE_P(Sizes, D64ErrorBytes, ::testing::Values(175531, 197376));

TEST_F(D64Writes, ValidateRebuildsTheBamFromTheDirectory) {
    formatted(d64ImageBytes);
    ASSERT_EQ(saveThroughPort("KEEP", bytes(2000, 5)), "00, OK,00,00");
    ASSERT_EQ(saveThroughPort("OPEN", bytes(2000, 6)), "00, OK,00,00");
    sector(18, 1)[32 + 2] = 0x02;  // OPEN was never closed
    for (int t = 1; t <= 35; ++t) std::fill_n(bam() + 4 * t, 4, 0);
    EXPECT_EQ(blocksFree(), 0);
    EXPECT_EQ(diskCommand("V"), "00, OK,00,00");
    EXPECT_EQ(blocksFree(), 664 - 8);
    EXPECT_EQ(chains().count("OPEN"), 0u);
    EXPECT_EQ(loadThroughPort("KEEP").bytes, bytes(2000, 5));
    // Counts that lie about bitmaps that are right are counted again, not added to.
    for (int t = 1; t <= 35; ++t) bam()[4 * t] = 200;
    EXPECT_EQ(diskCommand("V"), "00, OK,00,00");
    EXPECT_EQ(blocksFree(), 664 - 8);
}

TEST_F(D64Writes, FormatNamesTheDiskAndKeepsTheIdUnlessGivenOne) {
    formatted(d64ImageBytes);
    ASSERT_EQ(saveThroughPort("GAME", bytes(100, 7)), "00, OK,00,00");
    EXPECT_EQ(diskCommand("N0:SECOND"), "00, OK,00,00");
    const std::vector<uint8_t> all = listing();
    EXPECT_EQ(std::string(all.begin() + 8, all.begin() + 31),
              "SECOND\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\" ID 2A");
    EXPECT_EQ(all.size(), 64u);
    EXPECT_EQ(blocksFree(), 664);
    EXPECT_EQ(diskCommand("N:THIRD,XY"), "00, OK,00,00");
    EXPECT_EQ(std::string(bam() + 162, bam() + 164), "XY");
    EXPECT_EQ(diskCommand("N:"), "34,SYNTAX ERROR,00,00");
}

// A damaged BAM that calls a directory sector free must not let a new file overwrite it.
TEST_F(D64Writes, SaveKeepsADirectorySectorTheBamCallsFree) {
    formatted(d64ImageBytes);
    bam()[0] = 17, bam()[1] = 0;  // the directory now starts on track 17, marked free
    std::fill_n(sector(17, 0), 256, 0);
    sector(17, 0)[1] = 0xFF;
    ASSERT_FALSE(sectorUsed(17, 0));
    const std::vector<uint8_t> data = bytes(30 * 254, 11);
    ASSERT_EQ(saveThroughPort("SAFE", data), "00, OK,00,00");
    EXPECT_TRUE(sectorUsed(17, 0));
    EXPECT_EQ(loadThroughPort("SAFE").bytes, data);
}

TEST_F(D64Writes, LockedFilesAreNotScratched) {
    formatted(d64ImageBytes);
    ASSERT_EQ(saveThroughPort("LOCKED", bytes(10, 8)), "00, OK,00,00");
    ASSERT_EQ(saveThroughPort("LOOSE", bytes(10, 8)), "00, OK,00,00");
    sector(18, 1)[2] |= 0x40;
    EXPECT_EQ(diskCommand("S:LO*"), "01, FILES SCRATCHED,01,00");
    EXPECT_EQ(chains().count("LOCKED"), 1u);
}

// Another emulator (or any tool) changed the image file since it was mounted, by
// replacing it or by writing into it: what it wrote stays, and a save that clashes with it
// is refused rather than reported done.
class D64ChangedOnDisk : public D64Writes, public ::testing::WithParamInterface<bool> {};

TEST_P(D64ChangedOnDisk, SavesKeepWhatTheOtherWriterPutThere) {
    formatted(d64ImageBytes);
    const std::string other = scratch->file("other.d64");
    std::filesystem::copy_file(image, other);
    ASSERT_TRUE(mountD64(other));
    ASSERT_EQ(saveThroughPort("THEIRS", bytes(3000, 1)), "00, OK,00,00");
    ASSERT_TRUE(mountD64(image));
    if (GetParam()) {
        std::filesystem::rename(other, image);
    } else {
        const std::string theirs = fileText(other);
        writeFile(image, std::vector<uint8_t>(theirs.begin(), theirs.end()));
        std::filesystem::remove(other);
    }

    EXPECT_EQ(saveThroughPort("THEIRS", bytes(10, 2)), "63, FILE EXISTS,00,00");
    EXPECT_EQ(saveThroughPort("OURS", bytes(5000, 3)), "00, OK,00,00");
    std::filesystem::rename(image, scratch->file("moved.d64"));
    std::filesystem::copy_file(scratch->file("moved.d64"), image);  // once more, behind its back
    EXPECT_EQ(diskCommand("S:OURS"), "01, FILES SCRATCHED,01,00");
    EXPECT_EQ(saveThroughPort("OURS", bytes(700, 4)), "00, OK,00,00");

    ASSERT_TRUE(mountD64(image));  // what the file holds, read afresh
    EXPECT_EQ(loadThroughPort("THEIRS").bytes, bytes(3000, 1));
    EXPECT_EQ(loadThroughPort("OURS").bytes, bytes(700, 4));
    EXPECT_EQ(blocksFree(), 664 - blocksOf(3000) - blocksOf(700));
}

INSTANTIATE_TEST_SUITE_P(Ways, D64ChangedOnDisk, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Replaced" : "WrittenInPlace"; });

// A save killed at any moment leaves nothing of its own beside the image once the image
// is mounted again, and the image is whole.
TEST_F(D64Writes, KilledSavesLeaveNothingBesideTheImageAfterTheNextMount) {
    formatted(d64ImageBytes);
    writeFile(scratch->file(".disk.d64.vtmp-Stale1"), {1, 2, 3});  // as a save killed earlier left it
    writeFile(scratch->file(".disk.d64.backup"), {4});             // not ours
    for (int round = 0; round < 8; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            for (int i = 0;; ++i) saveThroughPort("@:F" + std::to_string(i % 3), bytes(20000, uint8_t(i)));
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + round * 1700));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    ASSERT_TRUE(mountD64(image));
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(scratch->path()))
        names.insert(entry.path().filename());
    EXPECT_EQ(names, (std::set<std::string>{"disk.d64", ".disk.d64.backup"}));
    EXPECT_EQ(fileText(image).size(), size_t(d64ImageBytes));
    for (const auto& [name, blocks] : chains()) EXPECT_EQ(loadThroughPort(name).bytes.size(), 20000u) << name;
}

}  // namespace

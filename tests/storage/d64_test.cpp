#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "drive/drive.h"
#include "port_session.h"

namespace {

using Block = std::pair<uint8_t, uint8_t>;

uint8_t* sector(uint8_t track, uint8_t sectorNumber) {
    return drive.d64Image + trackOffset[track] + 256 * sectorNumber;
}
uint8_t* bamSector() { return sector(18, 0); }

// A freshly formatted disk: all sectors free but the BAM and the first directory sector.
void formatDisk(const char* name) {
    std::memset(drive.d64Image, 0, sizeof drive.d64Image);
    uint8_t* bam = bamSector();
    bam[0] = 18, bam[1] = 1;
    const int sectors[36] = {0,  21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21,
                             19, 19, 19, 19, 19, 19, 19, 18, 18, 18, 18, 18, 18, 17, 17, 17, 17, 17};
    for (int t = 1; t <= 35; ++t) bam[4 * t] = static_cast<uint8_t>(t == 18 ? sectors[t] - 2 : sectors[t]);
    std::memset(bam + 144, 0xA0, 16);
    std::memcpy(bam + 144, name, std::strlen(name));
    bam[162] = 'I', bam[163] = 'D', bam[164] = 0xA0, bam[165] = '2', bam[166] = 'A';
    sector(18, 1)[1] = 0xFF;
}

void addEntry(Block directory, int slot, uint8_t type, const std::string& name, Block first,
              uint16_t blocks) {
    uint8_t* entry = sector(directory.first, directory.second) + 32 * slot;
    entry[2] = type;
    entry[3] = first.first, entry[4] = first.second;
    std::memset(entry + 5, 0xA0, 16);
    std::memcpy(entry + 5, name.data(), name.size());
    entry[30] = blocks & 0xFF, entry[31] = blocks >> 8;
}

// Writes a chain over the given blocks; the last one ends at byte lastByte. Data bytes count up.
void writeChain(const std::vector<Block>& blocks, uint8_t lastByte) {
    uint8_t value = 0;
    for (size_t i = 0; i < blocks.size(); ++i) {
        uint8_t* block = sector(blocks[i].first, blocks[i].second);
        const bool last = i + 1 == blocks.size();
        block[0] = last ? 0 : blocks[i + 1].first;
        block[1] = last ? lastByte : blocks[i + 1].second;
        for (int b = 2; b < 256; ++b) block[b] = value++;
    }
}

// The chain's data as the drive should send it.
std::vector<uint8_t> chainData(size_t blocks, uint8_t lastByte) {
    std::vector<uint8_t> data;
    uint8_t value = 0;
    for (size_t i = 0; i < blocks; ++i)
        for (int b = 2; b < 256; ++b, ++value)
            if (i + 1 < blocks || b <= lastByte) data.push_back(value);
    return data;
}

std::vector<uint8_t> concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<uint8_t> freeLine(uint16_t address, uint16_t blocks) {
    return concat({word(address + 30), word(blocks), bytesOf("BLOCKS FREE.             "), {0, 0, 0}});
}

class D64Drive : public ::testing::Test {
protected:
    void SetUp() override {
        resetDrive(2);
        formatDisk("TEST DISK");
    }
};

TEST_F(D64Drive, BlankDiskListsHeaderAndBlocksFree) {
    std::vector<uint8_t> header = concat({{0x01, 0x10, 0x1F, 0x10, 0, 0, 0x12, '"'},
                                          bytesOf("TEST DISK"),
                                          std::vector<uint8_t>(7, 0xA0),
                                          bytesOf("\" ID 2A"),
                                          {0}});
    EXPECT_EQ(listing(), concat({header, freeLine(0x101F, 664)}));
}

struct FileLineCase {
    uint8_t type;
    uint16_t blocks;
    std::string name;
    std::string text;  // the line between its link and the 0x00
};

class D64FileLine : public D64Drive, public ::testing::WithParamInterface<FileLineCase> {};

TEST_P(D64FileLine, LineHoldsSizeQuotedNameAndType) {
    const FileLineCase& c = GetParam();
    addEntry({18, 1}, 0, c.type, c.name, {1, 0}, c.blocks);
    const std::vector<uint8_t> got = listing();
    const std::vector<uint8_t> line(got.begin() + 32, got.end() - 32);
    const std::vector<uint8_t> expected =
        concat({word(0x101F + line.size()), word(c.blocks), bytesOf(c.text), {0}});
    EXPECT_EQ(line, expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Rows, D64FileLine,
    ::testing::Values(
        //            type  blocks  name                text
        FileLineCase{0x82, 5,     "GAME",             "   \"GAME\"             PRG  "},
        FileLineCase{0x81, 42,    "NOTES",            "  \"NOTES\"            SEQ   "},
        FileLineCase{0xC2, 123,   "LOCKED",           " \"LOCKED\"           PRG<   "},
        FileLineCase{0x02, 7,     "OPEN",             "   \"OPEN\"            *PRG  "},
        FileLineCase{0x86, 1,     "SIXTEEN CHARS OK", "   \"SIXTEEN CHARS OK\" ???  "},
        FileLineCase{0x80, 0,     "",                 "   \"\"                 DEL  "},
        FileLineCase{0x84, 1234,  "BIG",              "\"BIG\"              REL    "}));
// clang-format on

TEST_F(D64Drive, DirectoryOverTwoSectorsListsAndFindsEveryEntry) {
    sector(18, 1)[0] = 18, sector(18, 1)[1] = 4;
    sector(18, 4)[0] = 0, sector(18, 4)[1] = 0xFF;
    for (int slot = 0; slot < 8; ++slot)
        addEntry({18, 1}, slot, 0x82, "FIRST" + std::to_string(slot), {1, 0}, 1);
    addEntry({18, 4}, 3, 0x82, "SECOND", {2, 0}, 1);
    writeChain({{1, 0}}, 10);
    writeChain({{2, 0}}, 20);
    EXPECT_EQ(listing().size(), 32 + 9 * 32 + 32u);
    const LoadResult result = loadThroughPort("SECOND");
    EXPECT_EQ(result.firstStatus, 0);
    EXPECT_EQ(result.bytes, chainData(1, 20));
}

TEST_F(D64Drive, AsteriskLoadsTheFirstEntryWhateverItsKind) {
    addEntry({18, 1}, 1, 0x81, "DATA", {1, 0}, 1);
    addEntry({18, 1}, 2, 0x82, "PROGRAM", {2, 0}, 1);
    writeChain({{1, 0}}, 50);
    writeChain({{2, 0}}, 60);
    EXPECT_EQ(loadThroughPort("*").bytes.size(), 49u);
    EXPECT_EQ(loadThroughPort("*ANYTHING").bytes.size(), 49u);
}

TEST_F(D64Drive, NamesAreComparedWholeAndWithCase) {
    addEntry({18, 1}, 0, 0x82, "GAME", {1, 0}, 1);
    writeChain({{1, 0}}, 100);
    struct Row {
        std::string name;
        uint8_t status;
    };
    const Row rows[] = {{"GAME", 0}, {"0:GAME", 0}, {"game", 2}, {"GAM", 2}, {"GAMES", 2}, {"1GAME", 2}};
    for (const Row& row : rows) {
        EXPECT_EQ(request(row.name), row.status) << row.name;
        EXPECT_EQ(answer().size(), row.status == 0 ? 99u : 0u) << row.name;
    }
}

TEST_F(D64Drive, DollarWithDrivePrefixOrNumberGivesTheDirectory) {
    for (const char* name : {"$", "$0", "0:$"}) {
        request(name);
        ASSERT_EQ(answer().size(), 64u) << name;
        EXPECT_EQ(answer()[0], 0x01) << name;
    }
}

TEST_F(D64Drive, FileLengthFollowsTheLastBlocksEndByte) {
    struct Row {
        std::vector<Block> chain;
        uint8_t lastByte;
        size_t bytes;
    };
    const Row rows[] = {
        {{{17, 0}}, 100, 99},
        {{{17, 0}, {17, 5}, {19, 3}}, 255, 762},
        {{{17, 0}, {35, 16}}, 2, 255},
        {{{17, 0}}, 1, 0},
        {{{17, 0}}, 0, 0},
    };
    addEntry({18, 1}, 0, 0x82, "FILE", {17, 0}, 1);
    for (const Row& row : rows) {
        writeChain(row.chain, row.lastByte);
        EXPECT_EQ(request("FILE"), 0);
        EXPECT_EQ(answer(), chainData(row.chain.size(), row.lastByte));
        EXPECT_EQ(answer().size(), row.bytes);
    }
}

TEST_F(D64Drive, WholeLoadDeliversEveryByteAndEndsWithStatus3) {
    addEntry({18, 1}, 0, 0x82, "GAME", {17, 0}, 3);
    writeChain({{17, 0}, {17, 5}, {19, 3}}, 255);
    const LoadResult result = loadThroughPort("0:GAME");
    EXPECT_EQ(result.firstStatus, 0);
    EXPECT_EQ(result.bytes, chainData(3, 255));
    EXPECT_TRUE(result.endedWithStatus3);
    EXPECT_TRUE(result.handshakesAnswered);
    EXPECT_TRUE(answer().empty());  // the CLOSE ended the transfer
    EXPECT_EQ(drive.lastChannelCommand, 0xE0);
}

TEST_F(D64Drive, MissingFileAnswersStatus2AfterTheName) {
    const LoadResult result = loadThroughPort("NOTHERE");
    EXPECT_EQ(result.firstStatus, 2);
    EXPECT_TRUE(result.handshakesAnswered);
}

TEST_F(D64Drive, FileLongerThanALoadIsRefusedWithFileTooLarge) {
    std::vector<Block> chain;
    for (uint8_t t = 1; t <= 17; ++t)
        for (uint8_t s = 0; s < 21; ++s) chain.push_back({t, s});
    writeChain(chain, 255);  // 357 blocks
    addEntry({18, 1}, 0, 0x82, "HUGE", {1, 0}, 357);
    EXPECT_EQ(request("HUGE"), 2);
    EXPECT_TRUE(answer().empty());
    EXPECT_EQ(errorChannel(), "52, FILE TOO LARGE,00,00");
}

struct BrokenChain {
    const char* what;
    std::vector<Block> links;  // (track, sector) each block points at, starting at 1/0
    const char* status;        // what the error channel says
};

class D64BrokenFileChain : public D64Drive, public ::testing::WithParamInterface<BrokenChain> {};

TEST_P(D64BrokenFileChain, IsAReadErrorNotAMissingFile) {
    Block at{1, 0};
    for (const Block& link : GetParam().links) {
        sector(at.first, at.second)[0] = link.first;
        sector(at.first, at.second)[1] = link.second;
        at = link;
        if (link.first < 1 || link.first > 35 || link.second > 16) break;
    }
    addEntry({18, 1}, 0, 0x82, "BROKEN", {1, 0}, 3);
    EXPECT_EQ(request("BROKEN"), 2);
    EXPECT_TRUE(answer().empty());
    EXPECT_EQ(errorChannel(), GetParam().status);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Rows, D64BrokenFileChain,
    ::testing::Values(
        BrokenChain{"track beyond 35",          {{1, 1}, {36, 0}},         "66,ILLEGAL TRACK OR SECTOR,36,00"},
        BrokenChain{"track 255",                {{255, 255}},              "66,ILLEGAL TRACK OR SECTOR,255,255"},
        BrokenChain{"sector beyond the track",  {{31, 17}},                "66,ILLEGAL TRACK OR SECTOR,31,17"},
        BrokenChain{"loop to itself",           {{1, 0}},                  "20,READ ERROR,01,00"},
        BrokenChain{"loop to an earlier block", {{1, 1}, {2, 2}, {1, 1}}, "20,READ ERROR,01,01"}),
    // clang-format on
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

TEST_F(D64Drive, DirectoryChainThatLoopsOrLeavesTheDiskEndsTheListing) {
    addEntry({18, 1}, 0, 0x82, "ONLY", {1, 0}, 1);
    for (Block link : {Block{18, 1}, Block{36, 0}, Block{18, 19}, Block{0xFF, 0xFF}}) {
        sector(18, 1)[0] = link.first;
        sector(18, 1)[1] = link.second;
        EXPECT_EQ(listing().size(), 96u) << int(link.first);
        EXPECT_EQ(request("MISSING"), 2);
    }
}

TEST_F(D64Drive, ListingOfAHugeDirectoryIsCutButStillEnds) {
    // A directory running through every sector of tracks 1-17: 357 sectors, 2856 entries.
    std::vector<Block> chain;
    for (uint8_t t = 1; t <= 17; ++t)
        for (uint8_t s = 0; s < 21; ++s) chain.push_back({t, s});
    writeChain(chain, 0xFF);
    for (const Block& block : chain)
        for (int slot = 0; slot < 8; ++slot) sector(block.first, block.second)[32 * slot + 2] = 0x82;
    bamSector()[0] = 1, bamSector()[1] = 0;
    // Loaded at $1001 the listing stays below $FD00, where the I/O registers begin.
    const std::vector<uint8_t> got = listing();
    ASSERT_LE(0x1001 + got.size() - 2, 0xFD00u);
    EXPECT_GT(0x1001 + got.size() - 2, 0xFD00u - 32);
    EXPECT_EQ(std::vector<uint8_t>(got.end() - 3, got.end()), (std::vector<uint8_t>{0, 0, 0}));
    EXPECT_EQ(std::string(got.end() - 28, got.end() - 16), "BLOCKS FREE.");
}

class D64ImageFile : public ::testing::Test {
protected:
    std::string path = ::testing::TempDir() + "varnok_d64_" + std::to_string(getpid()) + ".d64";
    void TearDown() override { std::remove(path.c_str()); }
    void write(size_t bytes, uint8_t value) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        const std::vector<uint8_t> data(bytes, value);
        if (bytes) std::fwrite(data.data(), 1, data.size(), file);
        std::fclose(file);
    }
};

TEST_F(D64ImageFile, ShortImageFillsOnlyTheStartAndIsNeverWritten) {
    std::memset(drive.d64Image, 0x77, sizeof drive.d64Image);
    write(1000, 0x11);
    ASSERT_TRUE(mountD64(path));
    EXPECT_EQ(drive.d64Image[999], 0x11);
    EXPECT_EQ(drive.d64Image[1000], 0x00);
    EXPECT_EQ(drive.d64Image[d64ImageBytes - 1], 0x00);
    EXPECT_TRUE(drive.writeProtected);
}

// At start-up the drive is attached and empty; an image it cannot mount leaves it so.
TEST_F(D64ImageFile, MissingEmptyOrOversizedImageLeavesTheDriveEmpty) {
    resetDrive(1);
    EXPECT_FALSE(mountD64(path + ".missing"));
    write(0, 0);
    EXPECT_FALSE(mountD64(path));
    write(197377, 0);
    EXPECT_FALSE(mountD64(path));
    EXPECT_EQ(drive.medium, noMedium);
    EXPECT_TRUE(drive.attached);
    EXPECT_EQ(request("$"), 2);
    EXPECT_EQ(errorChannel(), "74,DRIVE NOT READY,00,00");
}

TEST(TrackOffsets, FollowTheZonesOfA35TrackDisk) {
    EXPECT_EQ(trackOffset[1], 0u);
    EXPECT_EQ(trackOffset[2], 21u * 256);
    EXPECT_EQ(trackOffset[18], 91392u);
    EXPECT_EQ(trackOffset[25], 91392u + 7 * 19 * 256);
    EXPECT_EQ(trackOffset[31], 91392u + (7 * 19 + 6 * 18) * 256);
    EXPECT_EQ(trackOffset[36], 174848u);
}

}  // namespace

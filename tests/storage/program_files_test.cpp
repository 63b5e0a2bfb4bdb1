#include "storage/program_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bus/processor.h"
#include "fileio/files.h"
#include "memory/memory.h"
#include "support/fake_platform.h"
#include "ted/ted.h"

namespace {

constexpr size_t snapshotBytes = 65608;

class ProgramFiles : public ::testing::Test {
protected:
    std::string path = ::testing::TempDir() + "varnok_program_" + std::to_string(getpid()) + ".bin";

    void SetUp() override {
        resetFakePlatform();
        ASSERT_TRUE(allocateRamBlock());
        std::memset(memory.ram, 0xEE, 0x10000);
    }
    void TearDown() override { std::remove(path.c_str()); }

    void writeFile(const std::vector<uint8_t>& bytes) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    std::vector<uint8_t> readFile() {
        std::vector<uint8_t> bytes;
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) return bytes;
        for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
        std::fclose(file);
        return bytes;
    }
    void writePrg(uint16_t address, size_t dataBytes) {
        std::vector<uint8_t> bytes = {uint8_t(address & 0xFF), uint8_t(address >> 8)};
        for (size_t i = 0; i < dataBytes; ++i) bytes.push_back(static_cast<uint8_t>(i + 1));
        writeFile(bytes);
    }
    static uint16_t pointer(uint16_t at) { return uint16_t(memory.ram[at] | memory.ram[at + 1] << 8); }
};

struct PrgCase {
    uint16_t address;
    size_t dataBytes;
    bool loaded;
    uint16_t pointers;  // 0xEEEE: left alone
};

class PrgLoads : public ProgramFiles, public ::testing::WithParamInterface<PrgCase> {};

TEST_P(PrgLoads, DataLandsAtItsAddressAndBasicPointersFollowTheLength) {
    const PrgCase& c = GetParam();
    writePrg(c.address, c.dataBytes);
    loadProgramFile(path.c_str());
    const uint32_t end = c.address + c.dataBytes;
    if (c.loaded && c.dataBytes > 0) {
        EXPECT_EQ(memory.ram[c.address], 1);
        EXPECT_EQ(memory.ram[end - 1], uint8_t(c.dataBytes));
    }
    if (!c.loaded) {
        EXPECT_EQ(memory.ram[c.address], 0xEE);
    }
    if (end < 0x10000) {
        EXPECT_EQ(memory.ram[end], 0xEE);
    }
    for (uint16_t at : {0x2D, 0x2F, 0x31, 0x9D}) EXPECT_EQ(pointer(at), c.pointers) << std::hex << at;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Rows, PrgLoads,
    ::testing::Values(
        //       address  data bytes  loaded  pointers
        PrgCase{0x1001,   1,          true,   0x1002},
        PrgCase{0x4000,   0,          false,  0xEEEE},  // a load address and nothing to load
        PrgCase{0xF000,   4095,       true,   0x2000},  // the last byte lands at $FFFE
        PrgCase{0xF000,   4096,       false,  0xEEEE},  // it would land at $FFFF
        PrgCase{0x2000,   55903,      true,   60000},
        PrgCase{0x2000,   55904,      true,   0xEEEE},
        PrgCase{0x8000,   55903,      false,  0xEEEE}));
// clang-format on

TEST_F(ProgramFiles, FilesTooShortMissingOrNotFilesAreRefusedAndChangeNothing) {
    for (const std::vector<uint8_t>& bytes :
         {std::vector<uint8_t>{}, std::vector<uint8_t>{0x01}, std::vector<uint8_t>{0x01, 0x10}}) {
        writeFile(bytes);
        EXPECT_EQ(loadProgramFile(path.c_str()), LoadStatus::tooShort) << bytes.size();
    }
    EXPECT_EQ(loadProgramFile((path + ".missing").c_str()), LoadStatus::unreadable);
    EXPECT_EQ(loadProgramFile(::testing::TempDir().c_str()), LoadStatus::unreadable);  // a directory
    const std::string fifo = path + ".fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(loadProgramFile(fifo.c_str()), LoadStatus::unreadable);  // at once, with no writer
    std::remove(fifo.c_str());
    writePrg(0x1001, 0x10000);  // longer than the whole memory
    EXPECT_EQ(loadProgramFile(path.c_str()), LoadStatus::pastMemoryEnd);
    for (uint32_t a = 0; a < 0x10000; ++a) ASSERT_EQ(memory.ram[a], 0xEE) << a;
}

TEST_F(ProgramFiles, SavedProgramLoadsBackToTheSameBytes) {
    for (uint32_t a = 0x3000; a < 0x3100; ++a) memory.ram[a] = uint8_t(a * 3);
    ASSERT_TRUE(saveProgramFile(path.c_str(), 0x3000, 0x3100));
    const std::vector<uint8_t> file = readFile();
    ASSERT_EQ(file.size(), 0x102u);
    EXPECT_EQ(file[0], 0x00);
    EXPECT_EQ(file[1], 0x30);
    EXPECT_EQ(file[2], memory.ram[0x3000]);
    std::memset(memory.ram + 0x3000, 0, 0x100);
    loadProgramFile(path.c_str());
    for (uint32_t a = 0x3000; a < 0x3100; ++a) ASSERT_EQ(memory.ram[a], uint8_t(a * 3));
}

TEST_F(ProgramFiles, SaveOfTheWholeTopOfMemoryAndBadRanges) {
    EXPECT_TRUE(saveProgramFile(path.c_str(), 0xFF00, 0x10000));
    EXPECT_EQ(readFile().size(), 0x102u);
    std::remove(path.c_str());
    EXPECT_FALSE(saveProgramFile(path.c_str(), 0x2000, 0x2000));
    EXPECT_FALSE(saveProgramFile(path.c_str(), 0x2000, 0x10001));
    EXPECT_TRUE(readFile().empty());
    EXPECT_FALSE(saveProgramFile((::testing::TempDir() + "no/such/dir/x.prg").c_str(), 0x1000, 0x1001));
}

TEST_F(ProgramFiles, SaveOverAReadOnlyFileFailsAndKeepsIt) {
    writeFile({0x01, 0x10, 0xAA});
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(saveProgramFile(path.c_str(), 0x2000, 0x2100));
    EXPECT_FALSE(saveSnapshot(path.c_str()));
    EXPECT_EQ(readFile(), (std::vector<uint8_t>{0x01, 0x10, 0xAA}));
}

TEST_F(ProgramFiles, TypeRunFillsTheKeyboardBuffer) {
    typeRun();
    EXPECT_EQ(std::string(reinterpret_cast<char*>(memory.ram + 0x0527), 4), "RUN\r");
    EXPECT_EQ(memory.ram[0xEF], 4);
}

TEST_F(ProgramFiles, TypedKeysStopAtTheTenTheBufferHolds) {
    typeKeys("LOAD\"*\",8\rRUN\r");
    EXPECT_EQ(std::string(reinterpret_cast<char*>(memory.ram + 0x0527), 10), "LOAD\"*\",8\r");
    EXPECT_EQ(memory.ram[0xEF], 10);
    EXPECT_EQ(memory.ram[0x0527 + 10], 0xEE);  // nothing written past the buffer
}

class Snapshots : public ProgramFiles {
protected:
    void setMachine() {
        reg = Registers{};
        reg.PC = 0x1234;
        reg.N = reg.B = reg.I = reg.C = 1;
        reg.AC = 0x7F, reg.XR = 0x01, reg.YR = 0x02, reg.SP = 0xF3;
        memory.romEnabled = 1;
        ted.timer1.counter = 0x1111, ted.timer1.reload = 0xABCD, ted.timer1.running = 0;
        ted.timer2.counter = 0x2222, ted.timer2.running = 0;
        ted.timer3.counter = 0x3333, ted.timer3.running = 1;
        ted.rasterCompare = 0x1A5, ted.singleClock = 1;
        for (uint32_t a = 0; a < 0x10000; ++a) memory.ram[a] = uint8_t(a ^ a >> 8);
    }
    void scrambleMachine() {
        reg = Registers{};
        reg.V = reg.Z = reg.D = 1;
        memory.romEnabled = 0;
        ted.timer1.counter = ted.timer2.counter = ted.timer3.counter = -1;
        ted.timer1.reload = 0;
        ted.timer1.running = ted.timer2.running = ted.timer3.running = 0;
        ted.rasterCompare = 0, ted.singleClock = 0;
        std::memset(memory.ram, 0x55, 0x10000);
    }
    static uint32_t field(const std::vector<uint8_t>& file, size_t at) {
        return file[at] | file[at + 1] << 8 | file[at + 2] << 16 | uint32_t(file[at + 3]) << 24;
    }
};

TEST_F(Snapshots, FileHoldsTheHeaderFieldsThenTheRam) {
    setMachine();
    ASSERT_TRUE(saveSnapshot(path.c_str()));
    const std::vector<uint8_t> file = readFile();
    ASSERT_EQ(file.size(), snapshotBytes);
    struct Row {
        size_t offset;
        uint32_t value;
    };
    // clang-format off
    const Row rows[] = {
        {4, 0x1234}, {8, 0x95},     {12, 0x7F},   {16, 0x01},   {20, 0x02},   {24, 0xF3},
        {28, 0x400}, {32, 1},       {36, 0x1111}, {40, 0xABCD}, {44, 0},      {48, 0x2222},
        {52, 0x564B01A5}, {56, 0},  {60, 0x3333}, {64, 0x564B0001}, {68, 1},
    };
    // clang-format on
    for (const Row& row : rows) EXPECT_EQ(field(file, row.offset), row.value) << row.offset;
    EXPECT_EQ(file[0] | file[1] << 8, 0);
    EXPECT_EQ(file[2] | file[3] << 8, 1);
    EXPECT_EQ(file[72 + 0x1234], memory.ram[0x1234]);
}

TEST_F(Snapshots, RoundTripRestoresRegistersTimersRomAndAllRam) {
    setMachine();
    ASSERT_TRUE(saveSnapshot(path.c_str()));
    scrambleMachine();
    loadSnapshot(path.c_str());
    EXPECT_EQ(reg.PC, 0x1234);
    EXPECT_EQ(packStatus(), 0x95 | 0x20);
    EXPECT_EQ(reg.AC, 0x7F);
    EXPECT_EQ(reg.XR, 0x01);
    EXPECT_EQ(reg.YR, 0x02);
    EXPECT_EQ(reg.SP, 0xF3);
    EXPECT_NE(memory.romEnabled, 0);
    EXPECT_EQ(ted.timer1.counter, 0x1111);
    EXPECT_EQ(ted.timer1.reload, 0xABCD);
    EXPECT_EQ(ted.timer2.counter, 0x2222);
    EXPECT_EQ(ted.timer3.counter, 0x3333);
    // Every timer runs after a load, even those stopped when it was saved.
    EXPECT_EQ(ted.timer1.running, 1);
    EXPECT_EQ(ted.timer2.running, 1);
    EXPECT_EQ(ted.timer3.running, 1);
    EXPECT_EQ(ted.rasterCompare, 0x1A5);
    EXPECT_EQ(ted.singleClock, 1);
    for (uint32_t a = 0; a < 0x10000; ++a) ASSERT_EQ(memory.ram[a], uint8_t(a ^ a >> 8)) << a;
}

class WrongSizeSnapshots : public Snapshots, public ::testing::WithParamInterface<size_t> {};

TEST_P(WrongSizeSnapshots, AreRefusedAndLeaveTheMachineAsItWas) {
    setMachine();
    ASSERT_TRUE(saveSnapshot(path.c_str()));
    std::vector<uint8_t> file = readFile();
    file.resize(GetParam(), 0x99);
    writeFile(file);
    scrambleMachine();
    const uint8_t slackBefore = memory.ram[0x10000];
    EXPECT_EQ(loadSnapshot(path.c_str()), LoadStatus::wrongSize);
    EXPECT_EQ(reg.PC, 0);
    EXPECT_EQ(reg.V, 1);
    EXPECT_EQ(memory.romEnabled, 0);
    EXPECT_EQ(ted.timer1.running, 0);
    EXPECT_EQ(ted.timer3.counter, -1);
    for (uint32_t a = 0; a < 0x10000; ++a) ASSERT_EQ(memory.ram[a], 0x55) << a;
    EXPECT_EQ(memory.ram[0x10000], slackBefore);
}

INSTANTIATE_TEST_SUITE_P(Lengths, WrongSizeSnapshots,
                         ::testing::Values(0, 6, 72, 1072, snapshotBytes - 1, snapshotBytes + 1,
                                           snapshotBytes + 10000));

TEST_F(Snapshots, SaveThroughAPlantedLinkAtTheTemporaryNameNeverFollowsIt) {
    // Every temporary name the save could take is a link to a victim file.
    files::setTemporarySuffixSource([] { return std::string("planted"); });
    const size_t slash = path.find_last_of('/');
    const std::string temporary = path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".vtmp-planted";
    const std::string victim = path + ".victim";
    {
        std::FILE* file = std::fopen(victim.c_str(), "wb");
        std::fputs("keep", file);
        std::fclose(file);
    }
    ASSERT_EQ(symlink(victim.c_str(), temporary.c_str()), 0);
    EXPECT_FALSE(saveSnapshot(path.c_str()));
    EXPECT_FALSE(saveProgramFile(path.c_str(), 0x1000, 0x1001));
    files::setTemporarySuffixSource(nullptr);
    struct stat info {};
    EXPECT_EQ(stat(victim.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 4) << "the victim was written through the link";
    EXPECT_TRUE(readFile().empty());
    std::remove(temporary.c_str());
    std::remove(victim.c_str());
}

}  // namespace

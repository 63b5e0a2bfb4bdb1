// Drive 8 as programs use it, on both media: SAVE and LOAD, data files written with
// PRINT# and read with GET#, the error channel and the disk commands, name patterns.
// Every exchange goes through the port as the KERNAL's 1551 routines drive it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "port_session.h"
#include "support/kernal_cable.h"
#include "support/machine_helpers.h"

namespace {

enum class Media { d64, hostFolder };

// A program: load address, then `size` bytes that count up.
std::vector<uint8_t> program(uint16_t address, size_t size) {
    std::vector<uint8_t> bytes = word(address);
    for (size_t i = 0; i < size; ++i) bytes.push_back(uint8_t(i * 3 + i / 251));
    return bytes;
}

// The blocks-free figure of the listing's last line.
uint16_t blocksFree() {
    const std::vector<uint8_t> all = listing();
    return uint16_t(all[all.size() - 30] | all[all.size() - 29] << 8);
}

// The names in the listing, in order.
std::vector<std::string> listedNames(const std::string& request = "$") {
    openChannelByName(0, request);
    const std::vector<uint8_t> all = readFromChannel(0);
    closeChannelOnBus(0);
    std::vector<std::string> names;
    for (size_t at = 32; at + 32 < all.size(); at += 32) {
        const auto open = std::find(all.begin() + at, all.begin() + at + 32, '"');
        const auto close = std::find(open + 1, all.begin() + at + 32, '"');
        names.emplace_back(open + 1, close);
    }
    return names;
}

class DriveChannels : public ::testing::TestWithParam<Media> {
protected:
    std::unique_ptr<ScratchDirectory> scratch;
    std::string medium;

    void SetUp() override {
        scratch = std::make_unique<ScratchDirectory>();
        if (GetParam() == Media::d64) {
            resetDrive(2);
            medium = scratch->file("disk.d64");
            writeFile(medium, std::vector<uint8_t>(d64ImageBytes, 0));
            ASSERT_TRUE(mountD64(medium));
            ASSERT_EQ(diskCommand("N:TEST DISK,ID"), "00, OK,00,00");
        } else {
            resetDrive(1);
            medium = scratch->file("disk");
            ASSERT_EQ(mkdir(medium.c_str(), 0700), 0);
            ASSERT_TRUE(mountHostDirectory(medium));
        }
        errorChannel();  // past the power-on message
    }
    void TearDown() override {
        chmod(medium.c_str(), 0700);
        scratch.reset();
    }
};

TEST_P(DriveChannels, PowerOnShowsTheDosVersionThenOk) {
    powerOnDrive(true);
    cable::init();  // as the KERNAL starts
    EXPECT_EQ(errorChannel(), "73,CBM DOS V2.6 TDISK,00,00");
    EXPECT_EQ(errorChannel(), "00, OK,00,00");
    EXPECT_TRUE(handshakesAnswered);
}

TEST_P(DriveChannels, SavedProgramLoadsBackAndScratchGivesItsBlocksBack) {
    const uint16_t before = blocksFree();
    const std::vector<uint8_t> game = program(0x1001, 3000);
    EXPECT_EQ(saveThroughPort("GAME", game), "00, OK,00,00");
    EXPECT_EQ(listedNames(), std::vector<std::string>{"GAME"});
    if (GetParam() == Media::d64) {
        EXPECT_EQ(blocksFree(), before - 12);
    }
    const LoadResult loaded = loadThroughPort("GAME");
    EXPECT_EQ(loaded.firstStatus, 0);
    EXPECT_EQ(loaded.bytes, game);
    EXPECT_TRUE(loaded.endedWithStatus3);
    EXPECT_TRUE(loaded.handshakesAnswered);
    EXPECT_EQ(diskCommand("S0:GAME"), "01, FILES SCRATCHED,01,00");
    EXPECT_TRUE(listedNames().empty());
    EXPECT_EQ(blocksFree(), before);
    EXPECT_EQ(loadThroughPort("GAME").firstStatus, 2);
    EXPECT_EQ(errorChannel(), "62, FILE NOT FOUND,00,00");
}

TEST_P(DriveChannels, ExistingNameIsKeptUnlessTheSaveSaysReplace) {
    const std::vector<uint8_t> first = program(0x2000, 10), second = program(0x3000, 600);
    ASSERT_EQ(saveThroughPort("GAME", first), "00, OK,00,00");
    EXPECT_EQ(saveThroughPort("GAME", second), "63, FILE EXISTS,00,00");
    EXPECT_EQ(loadThroughPort("GAME").bytes, first);
    EXPECT_EQ(saveThroughPort("@0:GAME", second), "00, OK,00,00");
    EXPECT_EQ(loadThroughPort("GAME").bytes, second);
    EXPECT_EQ(listedNames(), std::vector<std::string>{"GAME"});
}

TEST_P(DriveChannels, SeqFileWrittenWithPrintIsReadBackWithGet) {
    ASSERT_EQ(openChannelByName(2, "SCORES,S,W"), 0);
    writeToChannel(2, bytesOf("ANNA 900\r"));  // each PRINT# is a LISTEN of its own
    writeToChannel(2, bytesOf("BERT 850\r"));
    closeChannelOnBus(2);
    EXPECT_EQ(errorChannel(), "00, OK,00,00");
    ASSERT_EQ(openChannelByName(3, "SCORES,S,R"), 0);
    std::string read;
    bool last = false;
    for (int guard = 0; guard < 100 && !last; ++guard) read += char(getByte(3, last));
    closeChannelOnBus(3);
    EXPECT_EQ(read, "ANNA 900\rBERT 850\r");
    EXPECT_TRUE(handshakesAnswered);
    const std::vector<uint8_t> all = listing();
    EXPECT_NE(std::string(all.begin(), all.end()).find("\"SCORES\"           SEQ"), std::string::npos);
}

TEST_P(DriveChannels, ThreeDataFilesAreOpenAtOnce) {
    // Written on channels 2, 5 and 14 in turns, read back on 3, 4 and 6 in turns.
    const uint8_t writers[3] = {2, 5, 14}, readers[3] = {3, 4, 6};
    for (uint8_t channel : writers)
        ASSERT_EQ(openChannelByName(channel, "F" + std::to_string(channel) + ",S,W"), 0);
    for (int round = 0; round < 3; ++round)
        for (uint8_t channel : writers) writeToChannel(channel, {uint8_t('A' + round), channel});
    for (uint8_t channel : writers) closeChannelOnBus(channel);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(openChannelByName(readers[i], "F" + std::to_string(writers[i])), 0);
    std::vector<uint8_t> got[3];
    for (int round = 0; round < 6; ++round)
        for (int i = 0; i < 3; ++i) {
            bool last = false;
            got[i].push_back(getByte(readers[i], last));
            EXPECT_EQ(last, round == 5);
        }
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(got[i], (std::vector<uint8_t>{'A', writers[i], 'B', writers[i], 'C', writers[i]}));
}

// The KERNAL may end a LISTEN twice (CLRCHN after CLOSE): the second UNLISTEN does nothing.
TEST_P(DriveChannels, RepeatedUnlistenNeitherReopensNorRunsAgain) {
    ASSERT_EQ(saveThroughPort("GAME", program(0x1001, 5)), "00, OK,00,00");
    ASSERT_EQ(openChannelByName(2, "GAME"), 0);
    bool last = false;
    EXPECT_EQ(getByte(2, last), 0x01);
    busCommand(0x3F);
    EXPECT_EQ(getByte(2, last), 0x10) << "the file is not opened again from its start";
    EXPECT_EQ(diskCommand("S:GAME"), "01, FILES SCRATCHED,01,00");
    busCommand(0x3F);
    EXPECT_EQ(errorChannel(), "00, OK,00,00");
}

TEST_P(DriveChannels, AppendAddsToTheEndOfAFile) {
    ASSERT_EQ(openChannelByName(2, "LOG,S,W"), 0);
    writeToChannel(2, bytesOf("ONE\r"));
    closeChannelOnBus(2);
    ASSERT_EQ(openChannelByName(2, "LOG,A"), 0);
    writeToChannel(2, bytesOf("TWO\r"));
    closeChannelOnBus(2);
    ASSERT_EQ(openChannelByName(2, "LOG"), 0);
    EXPECT_EQ(readFromChannel(2), bytesOf("ONE\rTWO\r"));
    EXPECT_EQ(openChannelByName(4, "NOLOG,A"), 2);
    EXPECT_EQ(errorChannel(), "62, FILE NOT FOUND,00,00");
}

TEST_P(DriveChannels, PatternsChooseFilesForLoadListAndScratch) {
    for (const char* name : {"GAME", "GAMMA", "FILE1", "FILE22", "OTHER"})
        ASSERT_EQ(saveThroughPort(name, program(0x1001, name[1])), "00, OK,00,00");
    EXPECT_EQ(loadThroughPort("GAM*").bytes, program(0x1001, 'A'));
    EXPECT_EQ(loadThroughPort("FILE?").bytes, program(0x1001, 'I'));
    EXPECT_EQ(loadThroughPort("?THER").bytes, program(0x1001, 'T'));
    EXPECT_EQ(loadThroughPort("FILE?").firstStatus, 0);
    EXPECT_EQ(loadThroughPort("G?M").firstStatus, 2);
    EXPECT_EQ(listedNames("$:GA*"), (std::vector<std::string>{"GAME", "GAMMA"}));
    EXPECT_EQ(listedNames("$0:FILE??"), std::vector<std::string>{"FILE22"});
    EXPECT_EQ(diskCommand("S:GAM*,0:FILE1"), "01, FILES SCRATCHED,03,00");
    EXPECT_EQ(listedNames(), (std::vector<std::string>{"FILE22", "OTHER"}));
}

TEST_P(DriveChannels, RenameKeepsTheContentsUnderTheNewName) {
    const std::vector<uint8_t> game = program(0x1001, 40);
    ASSERT_EQ(saveThroughPort("GAME", game), "00, OK,00,00");
    ASSERT_EQ(saveThroughPort("OTHER", game), "00, OK,00,00");
    EXPECT_EQ(diskCommand("R0:NEW=0:GAME"), "00, OK,00,00");
    EXPECT_EQ(loadThroughPort("NEW").bytes, game);
    EXPECT_EQ(loadThroughPort("GAME").firstStatus, 2);
    EXPECT_EQ(diskCommand("R:OTHER=NEW"), "63, FILE EXISTS,00,00");
    EXPECT_EQ(diskCommand("R:X=MISSING"), "62, FILE NOT FOUND,00,00");
    EXPECT_EQ(diskCommand("R:X*=NEW"), "33,SYNTAX ERROR,00,00");
}

TEST_P(DriveChannels, TypeLettersAreCheckedWhenReading) {
    ASSERT_EQ(saveThroughPort("GAME", program(0x1001, 5)), "00, OK,00,00");
    EXPECT_EQ(openChannelByName(2, "GAME,S,R"), 2);
    EXPECT_EQ(errorChannel(), "64, FILE TYPE MISMATCH,00,00");
    EXPECT_EQ(openChannelByName(2, "GAME,P,R"), 0);
    EXPECT_EQ(readFromChannel(2), program(0x1001, 5));
}

struct CommandCase {
    const char* command;
    const char* answer;
};

TEST_P(DriveChannels, CommandChannelAnswersEveryCommand) {
    const CommandCase rows[] = {
        {"I", "00, OK,00,00"},
        {"I0", "00, OK,00,00"},
        {"V", "00, OK,00,00"},
        {"X", "31,SYNTAX ERROR,00,00"},
        {"S", "34,SYNTAX ERROR,00,00"},
        {"R:NEW", "30,SYNTAX ERROR,00,00"},
        {"S:NOTHING", "01, FILES SCRATCHED,00,00"},
        {"UJ", "73,CBM DOS V2.6 TDISK,00,00"},
    };
    for (const CommandCase& row : rows) EXPECT_EQ(diskCommand(row.command), row.answer) << row.command;
    EXPECT_EQ(diskCommand("S:" + std::string(57, 'A')), "32,SYNTAX ERROR,00,00");
    // OPEN 15,8,15,"command" runs it too; a CR at the end, as PRINT# sends it, is not part of it.
    openChannelByName(15, "S:NOTHING\r");
    EXPECT_EQ(errorChannel(), "01, FILES SCRATCHED,00,00");
}

// A zero-length file is answered as empty: its first byte is already the last.
TEST_P(DriveChannels, ZeroLengthFileIsAnsweredAsEmpty) {
    ASSERT_EQ(openChannelByName(2, "EMPTY,P,W"), 0);
    closeChannelOnBus(2);
    ASSERT_EQ(errorChannel(), "00, OK,00,00");
    const LoadResult loaded = loadThroughPort("EMPTY");
    EXPECT_EQ(loaded.firstStatus, 3);
    EXPECT_EQ(loaded.bytes, std::vector<uint8_t>{0x0D});
    EXPECT_TRUE(loaded.endedWithStatus3);
}

// A load that would run past $FFFF is refused before a byte reaches memory.
TEST_P(DriveChannels, LoadRunningPastTheTopOfMemoryIsFileTooLarge) {
    ASSERT_EQ(saveThroughPort("TOP", program(0xFF00, 256)), "00, OK,00,00");
    ASSERT_EQ(saveThroughPort("OVER", program(0xFF00, 257)), "00, OK,00,00");
    EXPECT_EQ(loadThroughPort("TOP").bytes.size(), 258u);
    EXPECT_EQ(loadThroughPort("OVER").firstStatus, 2);
    EXPECT_EQ(errorChannel(), "52, FILE TOO LARGE,00,00");
    ASSERT_EQ(openChannelByName(2, "OVER"), 0);  // a data channel reads it whole
    EXPECT_EQ(readFromChannel(2).size(), 259u);
}

TEST_P(DriveChannels, BadNamesForNewFilesAreRefused) {
    const CommandCase rows[] = {{"", "34,SYNTAX ERROR,00,00"},        {"A*", "33,SYNTAX ERROR,00,00"},
                                {"A?B", "33,SYNTAX ERROR,00,00"},     {"../UP", "33,SYNTAX ERROR,00,00"},
                                {"/ROOT", "33,SYNTAX ERROR,00,00"},   {"A/B", "33,SYNTAX ERROR,00,00"},
                                {"REL,R,W", "31,SYNTAX ERROR,00,00"}, {"$", "33,SYNTAX ERROR,00,00"}};
    for (const CommandCase& row : rows)
        EXPECT_EQ(saveThroughPort(row.command, program(0x1001, 3)), row.answer) << row.command;
    EXPECT_TRUE(listedNames().empty());
}

TEST_P(DriveChannels, ReadOnlyMediumIsWriteProtected) {
    ASSERT_EQ(saveThroughPort("GAME", program(0x1001, 5)), "00, OK,00,00");
    chmod(medium.c_str(), GetParam() == Media::d64 ? 0444 : 0555);
    if (GetParam() == Media::d64) {
        ASSERT_TRUE(mountD64(medium));
    }
    const std::string before = GetParam() == Media::d64 ? readFile(medium) : "";
    EXPECT_EQ(saveThroughPort("NEW", program(0x1001, 5)), "26, WRITE PROTECT ON,00,00");
    EXPECT_EQ(diskCommand("S:GAME"), "26, WRITE PROTECT ON,00,00");
    EXPECT_EQ(diskCommand("R:X=GAME"), "26, WRITE PROTECT ON,00,00");
    EXPECT_EQ(openChannelByName(2, "GAME,A"), 2);
    EXPECT_EQ(errorChannel(), "26, WRITE PROTECT ON,00,00");
    EXPECT_EQ(listedNames(), std::vector<std::string>{"GAME"});
    EXPECT_EQ(loadThroughPort("GAME").bytes, program(0x1001, 5));
    if (GetParam() == Media::d64) {
        EXPECT_TRUE(readFile(medium) == before);
    }
}

INSTANTIATE_TEST_SUITE_P(Media, DriveChannels, ::testing::Values(Media::d64, Media::hostFolder),
                         [](const auto& info) { return info.param == Media::d64 ? "D64" : "HostFolder"; });

}  // namespace

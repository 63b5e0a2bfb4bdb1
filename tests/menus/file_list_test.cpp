#include "menus/file_list.h"

#include <sys/stat.h>

#include "menus/file_menu_fixture.h"

namespace {

using Listing = FileMenuTest;

std::vector<std::string> namesOf(const FileList& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.count; ++i) names.push_back(list.entries[i].name);
    return names;
}

TEST_F(Listing, StopsAtTheListLimits) {
    for (int i = 0; i < 3; ++i) std::filesystem::create_directory("dir" + std::to_string(i));
    for (int i = 100; i < 400; ++i) writeFile("p" + std::to_string(i) + ".prg");
    FileList list;
    EXPECT_EQ(readFileList(list, "*.PRG"), 255);
    EXPECT_EQ(std::string(list.entries[3].name), "DIR2");
    EXPECT_EQ(std::string(list.entries[254].name), "P350.PRG");

    std::filesystem::create_directory("many");
    std::filesystem::current_path("many");
    for (int i = 1000; i < 1260; ++i) std::filesystem::create_directory("d" + std::to_string(i));
    writeFile("late.prg");
    EXPECT_EQ(readFileList(list, "*.PRG"), 251);  // 250 directories, ".." among them
    EXPECT_EQ(std::string(list.entries[250].name), "LATE.PRG");
}

TEST_F(Listing, SortsBytesAsSignedAndListsOnlyDirectoriesAndRegularFiles) {
    ASSERT_EQ(mkfifo("pipe.prg", 0600), 0);  // opening it would block the menu
    std::filesystem::create_symlink("missing.prg", "dead.prg");
    std::filesystem::create_directory("abc");
    std::filesystem::create_directory_symlink("abc", "ab");
    for (const char* file : {"ab.prg", "a.prg", "\xC3\xA9.prg"}) writeFile(file);
    writeFile(std::string(70, 'n') + ".prg");
    FileList list;
    readFileList(list, "*.PRG");
    EXPECT_EQ(namesOf(list), (std::vector<std::string>{"..", "AB", "ABC", "\xC3\xA9.PRG", "A.PRG", "AB.PRG",
                                                       std::string(63, 'N')}));
    EXPECT_EQ(list.entries[6].hostName, std::string(70, 'n') + ".prg");  // the cut name still opens

    std::filesystem::current_path("/");
    readFileList(list, "*.PRG");
    for (int i = 0; i < list.count; ++i) EXPECT_STRNE(list.entries[i].name, "..");
}

TEST(PatternMatch, ExtensionsMatchWithoutRegardToCase) {
    const std::pair<const char*, bool> cases[] = {{"GAME.PRG", true}, {"game.prg", true},   {".PRG", true},
                                                  {"A.B.PRG", true},  {"A.PRG.BAK", false}, {"PRG", false},
                                                  {"A.PRGX", false},  {"SAVE.FRE", false}};
    for (const auto& [name, matches] : cases) EXPECT_EQ(matchesPattern(name, "*.PRG"), matches) << name;
    EXPECT_TRUE(matchesPattern("A.PRG", "?.PRG"));
    EXPECT_FALSE(matchesPattern("AB.PRG", "?.PRG"));
}

}  // namespace

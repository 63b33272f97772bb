#include "data/name_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "tests/scratch_dir.h"

namespace towngen {
namespace {

std::vector<std::string> namesIn(const NameList& list) {
  return std::vector<std::string>(list.begin(), list.end());
}

TEST(ReadNames, WordsAreNamesWhateverTheLayout) {
  const struct {
    const char* file;
    std::vector<std::string> names;
  } cases[] = {
      {"Aldous\nMatilda\n", {"Aldous", "Matilda"}},
      {"Aldous\nMatilda", {"Aldous", "Matilda"}},
      {"Aldous\r\nMatilda\r\n", {"Aldous", "Matilda"}},
      {"  Aldous Matilda\n", {"Aldous", "Matilda"}},
      {"\tAldous\t\n\n\v\fMatilda \r", {"Aldous", "Matilda"}},
      {"Ann\nAnn\nAnn\n", {"Ann", "Ann", "Ann"}},
      {"Jos\xC3\xA9 o'Neil", {"Jos\xC3\xA9", "o'Neil"}},
      {"", {}},
      {" \n\r\n\t", {}},
  };
  for (const auto& c : cases) {
    std::istringstream in(c.file);
    NameList list;
    EXPECT_EQ(readNames(in, list).count, static_cast<std::int32_t>(c.names.size())) << c.file;
    EXPECT_EQ(namesIn(list), c.names) << c.file;
  }
}

// A name past the longest a data file may hold stops the reading at its line;
// a list keeps only the names a pick can reach, and counts them all.
TEST(ReadNames, LongNamesStopTheReadingAndLongListsAreCounted) {
  const std::string longest(kMaxDataWordLength, 'n');
  const struct {
    std::string file;
    std::int32_t count;
    std::int64_t faultLine;  // 0: read to the end
  } cases[] = {
      {"Hal\n" + longest + "\n", 2, 0},
      {"Hal\n\r\n  Joan " + longest + "n\nPiers", 2, 3},
      {longest + "\v\f" + longest + "n", 1, 1},
  };
  for (const auto& c : cases) {
    std::istringstream in(c.file);
    NameList list;
    const NamesRead read = readNames(in, list);
    EXPECT_EQ(read.count, c.count) << c.faultLine;
    EXPECT_EQ(read.fault.line, c.faultLine);
    EXPECT_EQ(static_cast<bool>(read.fault), c.faultLine != 0);
  }
  NameList many;
  for (int i = 0; i < 40000; ++i) many.append(std::to_string(i));
  EXPECT_EQ(many.count(), 40000);
  EXPECT_EQ(std::distance(many.begin(), many.end()), kReachableEntries);
}

TEST(LoadNameList, AppendsToTheChosenListAndTellsHowItWent) {
  testing::ScratchDir dir;
  dir.write("male.txt", "Aldous\r\nHal\r\n");
  dir.write("empty.txt", "");
  std::filesystem::create_directory("female.txt");
  const FolderDataSource folder(dir.path());
  const struct {
    std::string_view file;
    bool opened;
    std::int32_t count;
    std::error_code problem;
  } cases[] = {
      {"male.txt", true, 2, {}},
      {"empty.txt", true, 0, {}},
      {"last.txt", false, 0, std::make_error_code(std::errc::no_such_file_or_directory)},
#ifndef _WIN32  // a folder opens here, and reads as empty
      {"female.txt", true, 0, std::make_error_code(std::errc::is_a_directory)},
#endif
  };
  for (const auto& c : cases) {
    NameLists lists;
    lists.maleNames.append("Already");
    const NameListLoad load = loadNameList(MaleFirstName, c.file, lists, folder);
    EXPECT_EQ(load.fileName, c.file);
    EXPECT_EQ(load.opened, c.opened) << c.file;
    EXPECT_EQ(load.count, c.count) << c.file;
    EXPECT_EQ(load.problem, c.problem) << c.file;
    EXPECT_EQ(lists.maleNames.count(), 1 + c.count) << c.file;
    EXPECT_TRUE(lists.femaleNames.isEmpty());
  }
}

TEST(LoadNameList, KindsSelectTheirListsFromAnySource) {
  MemoryDataSource memory;
  memory.add("names.txt", "Fletcher Cooper");
  NameLists lists;
  EXPECT_EQ(loadNameList(LastName, "names.txt", lists, memory).count, 2);
  EXPECT_EQ(loadNameList(FemaleFirstName, "names.txt", lists, memory).count, 2);
  EXPECT_FALSE(loadNameList(MaleFirstName, "male.txt", lists, memory).opened);
  EXPECT_EQ(namesIn(lists.lastNames), (std::vector<std::string>{"Fletcher", "Cooper"}));
  EXPECT_EQ(lists.femaleNames.count(), 2);
  EXPECT_EQ(lists.maleNames.count(), 0);
}

}  // namespace
}  // namespace towngen

#include "data/name_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
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
    EXPECT_EQ(readNames(in, list), static_cast<std::int32_t>(c.names.size())) << c.file;
    EXPECT_EQ(namesIn(list), c.names) << c.file;
  }
}

TEST(LoadNameList, ReportsTheLoadAndAppendsToTheChosenList) {
  testing::ScratchDir dir;
  dir.write("male.txt", "Aldous\r\nHal\r\n");
  NameLists lists;
  lists.maleNames.append("Already");
  std::ostringstream out;
  EXPECT_EQ(loadNameList(MaleFirstName, "male.txt", lists, out), 2);
  EXPECT_EQ(out.str(),
            "\n male.txt opened successfully - loading...\n Total Loaded (male.txt) 2\n");
  EXPECT_EQ(namesIn(lists.maleNames), (std::vector<std::string>{"Already", "Aldous", "Hal"}));
  EXPECT_TRUE(lists.femaleNames.isEmpty());
  EXPECT_TRUE(lists.lastNames.isEmpty());
}

TEST(LoadNameList, KindsSelectTheirLists) {
  testing::ScratchDir dir;
  dir.write("names.txt", "Fletcher");
  NameLists lists;
  std::ostringstream out;
  loadNameList(LastName, "names.txt", lists, out);
  loadNameList(FemaleFirstName, "names.txt", lists, out);
  EXPECT_EQ(lists.lastNames.count(), 1);
  EXPECT_EQ(lists.femaleNames.count(), 1);
  EXPECT_EQ(lists.maleNames.count(), 0);
}

TEST(LoadNameList, MissingAndEmptyFiles) {
  testing::ScratchDir dir;
  dir.write("empty.txt", "");
  NameLists lists;
  std::ostringstream missing;
  EXPECT_EQ(loadNameList(FemaleFirstName, "female.txt", lists, missing), 0);
  EXPECT_EQ(missing.str(), "Data file \"female.txt\" failed to open\n");
  std::ostringstream empty;
  EXPECT_EQ(loadNameList(LastName, "empty.txt", lists, empty), 0);
  EXPECT_EQ(empty.str(),
            "\n empty.txt opened successfully - loading...\n Total Loaded (empty.txt) 0\n");
}

// A folder in place of the file: where the system opens it (Linux), reading it
// fails at once; where it does not (Windows), it fails to open.
TEST(LoadNameList, AFolderYieldsNoNames) {
  testing::ScratchDir dir;
  std::filesystem::create_directory("female.txt");
  NameLists lists;
  std::ostringstream out;
  EXPECT_EQ(loadNameList(FemaleFirstName, "female.txt", lists, out), 0);
#ifdef _WIN32
  EXPECT_EQ(out.str(), "Data file \"female.txt\" failed to open\n");
#else
  EXPECT_EQ(out.str(),
            "\n female.txt opened successfully - loading...\n Total Loaded (female.txt) 0\n");
#endif
}

}  // namespace
}  // namespace towngen

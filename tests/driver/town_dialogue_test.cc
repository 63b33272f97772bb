#include "driver/town_dialogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "data/data_source.h"
#include "tests/recording_console.h"
#include "tests/scratch_dir.h"

namespace towngen {
namespace {

constexpr const char* kLoadMessages =
    "\n Loading Data...\n"
    "\n male.txt opened successfully - loading...\n Total Loaded (male.txt) 2\n"
    "\n female.txt opened successfully - loading...\n Total Loaded (female.txt) 1\n"
    "\n last.txt opened successfully - loading...\n Total Loaded (last.txt) 3\n";

constexpr const char* kIntroduction =
    "[cls]\n This program generates the statistics for a town's population.\n"
    " You need to enter a Town_Name every time you make a town. The \n"
    " name can only be a single word, so if the name is multi-worded,\n"
    " use an underscore like shown in the word Town_Name. Make sure to\n"
    " add a file extension (such as .txt / .doc), so your computer will\n"
    " recognize what program to open the file with.\n\n"
    " Myself: I prefer using .txt as I know every computer can easily\n"
    " recognize a text file.\n\n"
    " You will note the counts of Male and Female names above. If you\n"
    " desire more names, you can type in new names in the text files:\n"
    " male.txt and female.txt. The software counts the list as the\n"
    " names are loaded.\n\n"
    " Population is considered to be a medival town, where 66% will be\n"
    " Farmers, 29% will be craftsmen, and 5% Nobles.\n\n"
    " Finale Note: When the program gets into the loop for generating\n"
    " characters, the data will scroll by as it does to show you that\n"
    " it's working. Try not to put a crazy-high number in unless you\n"
    " want to test how long it takes to generate millions, or billions\n"
    " of characters!!\n\n [pause]";

constexpr const char* kTownPrompt =
    "[cls]\n Enter a name for the town you are about to make:\n"
    " (maximum of 15 characeters - to include the file extention)\n\n ";
constexpr const char* kPopulationPrompt =
    "[cls]\n Please enter population count (1 or higher):\n\n"
    " Yes, you can generate '1' so as to make a single character\n ";
constexpr const char* kMinAgePrompt =
    "[cls]\n Enter minimum age value (use 0 for infants/new borns):\n\n ";
constexpr const char* kMaxAgePrompt =
    "\n Enter maximum age of population (typical would be 60):\n\n ";
constexpr const char* kContinuePrompt =
    "[cls]\n Enter '0' or less to quit, or any positive number to continue\n\n";
constexpr const char* kNotANumber =
    "\n That is not a whole number from -2147483648 to 2147483647 - try again.\n";

std::string completion(const std::string& townName) {
  return "\n\n Population generation complete.\n Open the file: " + townName +
         " in the same directory as this program\n\n[pause]";
}

// A scratch working directory with small data files, and the dialogue run on
// given answers with everything it writes recorded.
class TownDialogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("data.txt", "<note> </note> Ring_of_Warmth tccRings Sword_+1 tccWeapons");
    dir.write("male.txt", "Aldous\r\nHal\r\n");
    dir.write("female.txt", "Matilda\n");
    dir.write("last.txt", "Fletcher Atwood Dunn");
  }

  std::string run(const std::string& answers, std::uint32_t seed = 1) {
    std::istringstream in(answers);
    std::ostringstream out;
    testing::RecordingConsole console(out);
    Random random(seed);
    EXPECT_EQ(runTowngen(in, out, console, random), 0);
    return out.str();
  }

  std::string startUp() const { return std::string(kLoadMessages) + kIntroduction; }

  testing::ScratchDir dir;
};

TEST_F(TownDialogueTest, OneTownWholeTranscript) {
  EXPECT_EQ(run("Town.txt 2 0 60 0"), startUp() + kTownPrompt + kPopulationPrompt + kMinAgePrompt +
                                          kMaxAgePrompt + "1\n2\n" + completion("Town.txt") +
                                          kContinuePrompt);
  const std::string town = dir.read("Town.txt");
  EXPECT_EQ(town.rfind("1) Name: ", 0), 0u);
  EXPECT_NE(town.find("\r\n\r\n2) Name: "), std::string::npos);
  EXPECT_NE(town.substr(town.size() - 2), "\r\n");
}

TEST_F(TownDialogueTest, AnswersMayShareALine) {
  const std::string spread = run("A\n3\n10\n40\n0\n");
  const std::string spreadTown = dir.read("A");
  EXPECT_EQ(run("A 3 10 40 0"), spread);
  EXPECT_EQ(dir.read("A"), spreadTown);
}

TEST_F(TownDialogueTest, NameLengthLimitIsFifteen) {
  EXPECT_EQ(run("sixteen_chars_xx fifteen_chars_x 1 0 60 0"),
            startUp() + kTownPrompt +
                "[cls]\n Name was longer than 15 characters - try again.\n\n" + "[pause]" +
                kTownPrompt + kPopulationPrompt + kMinAgePrompt + kMaxAgePrompt + "1\n" +
                completion("fifteen_chars_x") + kContinuePrompt);
  EXPECT_TRUE(std::filesystem::exists("fifteen_chars_x"));
  EXPECT_FALSE(std::filesystem::exists("sixteen_chars_xx"));
}

// Every data file, traits.txt too (which the dialogue does not read), present
// or not.
TEST_F(TownDialogueTest, DataFileNamesAreRefused) {
  std::vector<std::string> names(kDataFileNames.begin(), kDataFileNames.end());
  names.push_back("./male.txt");
  for (const std::string& name : names) {
    const std::string out = run(name + " 0");
    EXPECT_NE(out.find(std::string("[cls]\n ") + name +
                       " is a data file of this program and cannot be a town name - try "
                       "again.\n\n[pause]"),
              std::string::npos)
        << name;
  }
  EXPECT_EQ(dir.read("male.txt"), "Aldous\r\nHal\r\n");
  EXPECT_EQ(dir.read("data.txt"), "<note> </note> Ring_of_Warmth tccRings Sword_+1 tccWeapons");
  EXPECT_FALSE(std::filesystem::exists("traits.txt"));
}

TEST_F(TownDialogueTest, PopulationOfZeroOrLessGoesToTheContinuePrompt) {
  for (const char* population : {"0", "-5"}) {
    EXPECT_EQ(run(std::string("Empty ") + population + " 0"),
              startUp() + kTownPrompt + kPopulationPrompt +
                  "\n You can't have a town that doesn't have any people in it.\n\n [pause]" +
                  kContinuePrompt);
    EXPECT_FALSE(std::filesystem::exists("Empty"));
  }
}

TEST_F(TownDialogueTest, TwoTownsNumberFromOneAndTheSameNameIsReplaced) {
  const std::string out = run("T 3 0 60 1 U 2 0 60 7 T 1 0 60 0");
  const std::string secondTown = std::string(kContinuePrompt) + kTownPrompt + kPopulationPrompt +
                                 kMinAgePrompt + kMaxAgePrompt + "1\n2\n" + completion("U");
  EXPECT_NE(out.find(secondTown), std::string::npos);
  EXPECT_EQ(dir.read("U").find("2) Name:") != std::string::npos, true);
  const std::string replaced = dir.read("T");
  EXPECT_EQ(replaced.find("2) Name:"), std::string::npos);  // one townsperson now
  EXPECT_EQ(replaced.rfind("1) Name:", 0), 0u);
}

TEST_F(TownDialogueTest, NonNumbersAreAskedAgain) {
  EXPECT_EQ(run("T x 1 -- 0 +60x 60 yes 0"),
            startUp() + kTownPrompt + kPopulationPrompt + kNotANumber +
                std::string(kPopulationPrompt).substr(5) + kMinAgePrompt + kNotANumber +
                std::string(kMinAgePrompt).substr(5) + kMaxAgePrompt + kNotANumber + kMaxAgePrompt +
                "1\n" + completion("T") + kContinuePrompt + kNotANumber +
                std::string(kContinuePrompt).substr(5));
}

TEST_F(TownDialogueTest, AnswersAreReadWholeHoweverLong) {
  const std::string longWord(100000, '9');
  const std::string out = run("T 2147483648 " + longWord + " 1 0 60 0");
  EXPECT_EQ(out.find(longWord.substr(0, 100)), std::string::npos);  // never echoed
  EXPECT_TRUE(std::filesystem::exists("T"));

  // Zero-padded numbers keep their value; a long town name is still too long.
  const std::string zeros(100000, '0');
  const std::string padded =
      run(std::string(70, 'x') + " P " + zeros + "3 -" + zeros + "0 +" + zeros + "60 0");
  EXPECT_NE(padded.find("\n Name was longer than 15 characters"), std::string::npos);
  EXPECT_NE(padded.find(std::string(kMaxAgePrompt) + "1\n2\n3\n" + completion("P")),
            std::string::npos);
}

TEST_F(TownDialogueTest, EndOfInputAtEveryPromptEndsQuietly) {
  const struct {
    const char* answers;
    const char* endsWith;
  } cases[] = {
      {"", kTownPrompt},           {"T", kPopulationPrompt},      {"T 5", kMinAgePrompt},
      {"T 5 0", kMaxAgePrompt},    {"T 1 0 60", kContinuePrompt}, {"T 0", kContinuePrompt},
      {"T 1 0 60 5", kTownPrompt},
  };
  for (const auto& c : cases) {
    const std::string out = run(c.answers);
    const std::string end = c.endsWith;
    ASSERT_GE(out.size(), end.size()) << c.answers;
    EXPECT_EQ(out.substr(out.size() - end.size()), end) << c.answers;
  }
}

TEST_F(TownDialogueTest, AnEarlierTownIsKeptUntilTheNewOneIsComplete) {
  dir.write("T", "an earlier town");
  run("T 5 0");  // the input ends before the town is made
  EXPECT_EQ(dir.read("T"), "an earlier town");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 5);
  run("T 1 0 60 0");
  EXPECT_EQ(dir.read("T").rfind("1) Name: ", 0), 0u);
}

TEST_F(TownDialogueTest, UncreatableTownFileIsReportedAndNothingIsGenerated) {
  std::filesystem::create_directory("Folder");
  // A NUL byte would end the name early: "m" would be written.
  for (const std::string& name :
       {std::string("Folder"), std::string("no_such/T.txt"), std::string("m\0x", 3)}) {
    const std::string out = run(name + " 3 0");
    EXPECT_EQ(out, startUp() + kTownPrompt + kPopulationPrompt + "\n The town file " + name +
                       " could not be created - check the name and the folder.\n\n [pause]" +
                       kContinuePrompt)
        << name;
  }
  EXPECT_FALSE(std::filesystem::exists("m"));
}

TEST_F(TownDialogueTest, FailedWritesAreReportedInsteadOfCompletion) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  const std::string out = run("/dev/full 3 0 60 0");
  EXPECT_EQ(out.find("Population generation complete"), std::string::npos);
  EXPECT_NE(out.find("\n\n Writing the town file /dev/full failed: No space left on device.\n\n"
                     "[pause]" +
                     std::string(kContinuePrompt)),
            std::string::npos);
}

TEST_F(TownDialogueTest, EmptyNameListsAreReportedFirstMaleThenFemaleThenLast) {
  std::filesystem::remove("male.txt");
  std::filesystem::remove("female.txt");
  const std::string out = run("T 1 0 60 0");
  EXPECT_EQ(out,
            "\n Loading Data...\n"
            "Data file \"male.txt\" failed to open\n"
            "Data file \"female.txt\" failed to open\n"
            "\n last.txt opened successfully - loading...\n Total Loaded (last.txt) 3\n"
            "\n male.txt did not load properly - \n"
            " Verify that there is a file named male.txt in the\n"
            " folder, and that it has at least one name in it. If you\n"
            " are unable to resolve the issue, contact the author\n"
            " (Tavenor) at:\n\n"
            " towngen-support@example.org\n\n [pause]");
  EXPECT_FALSE(std::filesystem::exists("T"));

  dir.write("male.txt", "Hal");
  dir.write("female.txt", "Matilda");
  dir.write("last.txt", " \r\n");
  EXPECT_NE(run("").find("\n last.txt did not load properly - \n"), std::string::npos);
}

TEST_F(TownDialogueTest, MissingCatalogueStillMakesTowns) {
  std::filesystem::remove("data.txt");
  const std::string out = run("T 30 0 60 0");
  EXPECT_EQ(out.rfind("\n data.txt file failed to open\n\n male.txt opened", 0), 0u);
  EXPECT_NE(out.find(completion("T")), std::string::npos);
  EXPECT_EQ(dir.read("T").find("Magic Item(s)"), std::string::npos);
}

}  // namespace
}  // namespace towngen

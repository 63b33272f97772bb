#include "census/towncensus.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/scratch_dir.h"

namespace towngen {
namespace {

constexpr const char* kTown =
    "1) Name: Hal Dunn Sex: Male Occupation: Noble\r\n"
    "Age: 34 Str: 18(45) Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
    "Coins:\r\n40cp, 3gp\r\nGems(s):\r\nJasper (50gp) Pearl (575gp)\r\n"
    "Magic Item(s):\r\nRing of Warmth\r\n\r\n"
    "2) Name: Joan Atwood Sex: Female Occupation: Farmer\r\n"
    "Age: 20 Str: 9 Dex: 12 Con: 10 Int: 9 Wis: 11 Cha: 13 Com: 10\r\n"
    "Coins:\r\n7cp";

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome run(const std::vector<std::string>& arguments, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int status = runTowncensus(arguments, in, out, err);
  return {status, out.str(), err.str()};
}

TEST(Towncensus, HelpAndVersion) {
  const Outcome help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: towncensus [--csv FILE] [--json FILE] TOWN_FILE\n", 0), 0u);
  const Outcome version = run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("towncensus ", 0), 0u);
}

TEST(Towncensus, UsageErrorsExitWithTwo) {
  const std::vector<std::vector<std::string>> cases = {{},
                                                       {"--csv"},
                                                       {"--bogus", "T"},
                                                       {"A", "B"},
                                                       {"--csv", "-", "--json", "-", "T"},
                                                       {"--csv=", "T"},
                                                       {"--csv", "a", "--csv", "b", "T"}};
  for (const auto& arguments : cases) {
    const Outcome outcome = run(arguments);
    EXPECT_EQ(outcome.status, 2) << arguments.size();
    EXPECT_NE(outcome.err.find("Try 'towncensus --help'"), std::string::npos);
    EXPECT_EQ(outcome.out, "");
  }
}

TEST(Towncensus, CensusOfAFile) {
  testing::ScratchDir dir;
  dir.write("Town.txt", kTown);
  const Outcome outcome = run({"Town.txt"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(outcome.out.rfind("Census of Town.txt\n\nPopulation: 2\n  Noble      1 (50.0%)\n", 0),
            0u);
  EXPECT_NE(outcome.out.find("Coins: 47cp 0sp 0ep 3gp 0pp\nCoins worth: 3.47 gp\n"),
            std::string::npos);
  EXPECT_NE(outcome.out.find("575.00 gp     Pearl, carried by 1) Hal Dunn\n"), std::string::npos);
  EXPECT_NE(outcome.out.find("628.40 gp     1) Hal Dunn, Noble\n"), std::string::npos);
}

TEST(Towncensus, ExportsToFilesOrStandardOutput) {
  testing::ScratchDir dir;
  const Outcome csv = run({"--csv", "-", "-"}, kTown);
  EXPECT_EQ(csv.status, 0);
  EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 3);  // header and two records

  const Outcome json = run({"--json=town.json", "--csv", "town.csv", "-"}, kTown);
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(json.out, "");  // no census when exporting
  EXPECT_EQ(nlohmann::json::parse(dir.read("town.json")).size(), 2u);
  EXPECT_EQ(dir.read("town.csv"), csv.out);
}

TEST(Towncensus, NotATownFileExitsWithOneAndNamesTheLine) {
  testing::ScratchDir dir;
  dir.write("Broken.txt", std::string(kTown) + "\r\n\r\nnonsense\r\n");
  const Outcome outcome = run({"Broken.txt"});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(
      outcome.err.rfind("towncensus: Broken.txt:15: not a town file: expected a name line", 0), 0u);
  const Outcome missing = run({"Missing.txt"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "towncensus: cannot open Missing.txt\n");
  const Outcome unwritable = run({"--csv", "no/such/folder.csv", "-"}, kTown);
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.err, "towncensus: cannot write no/such/folder.csv\n");
}

TEST(Towncensus, WarnsOnceAboutInvalidUtf8) {
  std::string town = kTown;
  town.replace(town.find("Hal"), 3, "H\xE4l");
  const Outcome outcome = run({"--json", "-", "-"}, town);
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err,
            "towncensus: warning: 1 bytes that are not valid UTF-8 were written as U+FFFD in the "
            "JSON output\n");
}

}  // namespace
}  // namespace towngen

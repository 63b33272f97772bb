#include "driver/towncensus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "report/town_exports.h"
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
  EXPECT_NE(help.out.find("\nUsage: towncensus [OPTIONS] TOWN_FILE\n"), std::string::npos);
  for (const char* option :
       {"--csv FILE", "--json FILE", "--jsonl FILE", "--census", "-h,--help"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
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
                                                       {"--csv", "a", "--csv", "b", "T"},
                                                       {"--roster-limit", "5", "T"},
                                                       {"--html", "p", "--roster-limit", "-1", "T"},
                                                       {"--notes-limit", "5", "--csv", "c", "T"},
                                                       {"--foundry", "-", "--json", "-", "T"}};
  for (const auto& arguments : cases) {
    const Outcome outcome = run(arguments);
    EXPECT_EQ(outcome.status, 2) << arguments.size();
    EXPECT_NE(outcome.err.find("Try 'towncensus --help'"), std::string::npos);
    EXPECT_EQ(outcome.out, "");
  }
  EXPECT_EQ(run({"--notes-limit", "5", "T"}).err,
            "towncensus: --notes-limit needs --notes or --foundry\n"
            "Try 'towncensus --help' for more information.\n");
  const struct {
    const char* limit;
    const char* message;
  } limits[] = {
      {"-1", "'-1' is not a whole number from 0 to 9,223,372,036,854,775,807"},
      {"1e3", "'1e3' is not a whole number from 0 to 9,223,372,036,854,775,807"},
      {"9223372036854775808",
       "'9223372036854775808' is not a whole number from 0 to 9,223,372,036,854,775,807"},
  };
  for (const auto& c : limits) {
    EXPECT_EQ(run({"--html", "p", "--roster-limit", c.limit, "T"}).err,
              std::string("towncensus: --roster-limit: ") + c.message +
                  "\nTry 'towncensus --help' for more information.\n");
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

// Every export of the one table of them is an option of towncensus that
// writes it: a file alone on standard output or all at once into files, a
// folder into the folder named.
TEST(Towncensus, EveryExportOfTheTableIsAnOption) {
  testing::ScratchDir dir;
  std::vector<std::string> all;
  const auto fileOf = [](const ExportFormat& format) {
    return format.target == ExportTarget::File
               ? std::string(format.name) + std::string(format.extension)
               : std::string("standard input/.towncensus-notes");
  };
  for (const ExportFormat& format : kExportFormats) {
    if (format.target == ExportTarget::File) {
      const Outcome alone = run({std::string(format.option), "-", "-"}, kTown);
      EXPECT_EQ(alone.status, 0) << format.option << ": " << alone.err;
      EXPECT_NE(alone.out.find("Joan"), std::string::npos) << format.option;
    }
    all.insert(all.end(), {std::string(format.option),
                           format.target == ExportTarget::File ? fileOf(format) : "."});
  }
  all.push_back("-");
  EXPECT_EQ(run(all, kTown).status, 0);
  for (const ExportFormat& format : kExportFormats) {
    EXPECT_NE(
        dir.read(fileOf(format)).find(format.target == ExportTarget::File ? "Joan" : "towncensus"),
        std::string::npos)
        << format.name;
  }
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
  EXPECT_EQ(missing.err, "towncensus: cannot open Missing.txt: No such file or directory\n");
  const Outcome unwritable = run({"--csv", "no/such/folder.csv", "-"}, kTown);
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.err,
            "towncensus: cannot write no/such/folder.csv: No such file or directory\n");
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

// Outputs never replace the town being read, each other, or an earlier
// export unless the new one is complete; what is left on disk is checked.
TEST(Towncensus, HostileCommandsAndFilesLeaveEveryFileAlone) {
  testing::ScratchDir dir;
  dir.write("t.txt", kTown);
  dir.write("empty.txt", "");
  dir.write("cut.txt", std::string(kTown).substr(0, 60));
  dir.write("bad.txt",
            std::string(kTown) + "\r\n\r\n3) Name: A B Sex: Male Occupation: X\r\nAge: 1");
  std::error_code error;
  std::filesystem::create_symlink("t.txt", dir.path() / "link.txt", error);
  const bool linked = !error && std::filesystem::is_symlink(dir.path() / "link.txt");
  std::filesystem::create_directory(dir.path() / "folder");
  dir.write("out.csv", "earlier");
  const auto entries = std::distance(std::filesystem::directory_iterator(dir.path()), {});
  const struct {
    std::vector<std::string> arguments;
    int status;
    const char* message;  // the start of standard error
    const char* csvLeft;  // what out.csv holds afterwards ("earlier": untouched)
  } cases[] = {
      {{"--csv", "t.txt", "t.txt"}, 2, "towncensus: --csv t.txt names the town file", "earlier"},
      {{"--json", "./t.txt", "t.txt"}, 2, "towncensus: --json ./t.txt names the town", "earlier"},
      {{"--jsonl", "link.txt", "t.txt"}, 2, "towncensus: --jsonl link.txt names the", "earlier"},
      {{"--html", "t.txt", "t.txt"}, 2, "towncensus: --html t.txt names the town file", "earlier"},
      {{"--csv", "out.csv", "--html", "out.csv", "t.txt"},
       2,
       "towncensus: --csv and --html",
       "earlier"},
      {{"--csv", "out.csv", "--json", "./out.csv", "t.txt"},
       2,
       "towncensus: --csv and --json",
       "earlier"},
      {{"--csv", "-", "--census", "t.txt"}, 2, "towncensus: only one of the census", "earlier"},
      {{"--csv", "out.csv", "bad.txt"},
       1,
       "towncensus: bad.txt:16: the file ends early: expected",
       "earlier"},
      {{"--csv", "out.csv", "empty.txt"},
       1,
       "towncensus: empty.txt holds no townsperson\n",
       "earlier"},
      {{"--csv", "out.csv", "cut.txt"}, 1, "towncensus: cut.txt:2: the file ends early", "earlier"},
      {{"--csv", "out.csv", "folder"}, 1, "towncensus: cannot read folder", "earlier"},
      {{"--csv", "out.csv", "--census", "t.txt"}, 0, "", "number,first_name,"},
  };
  for (const auto& c : cases) {
    if (!linked && c.arguments[1] == "link.txt") continue;
    dir.write("out.csv", "earlier");
    const Outcome outcome = run(c.arguments);
    const std::string shown = c.arguments[0] + " " + c.arguments[1];
    EXPECT_EQ(outcome.status, c.status) << shown;
    EXPECT_EQ(outcome.err.rfind(c.message, 0), 0u) << shown << ": " << outcome.err;
    EXPECT_EQ(dir.read("out.csv").rfind(c.csvLeft, 0), 0u) << shown;
    EXPECT_EQ(dir.read("t.txt"), kTown) << shown;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), entries)
        << shown;  // no unfinished file left behind
  }
  EXPECT_NE(run({"--csv", "out.csv", "--census", "t.txt"}).out.find("Census of t.txt"),
            std::string::npos);
}

// CSV and JSON agree: the same items (empty texts too), no percentile but
// after Str 18; JSON Lines holds the same objects, one a line.
// --notes writes the town's folder of notes inside DIR, replaces a folder
// it wrote, and refuses, changing nothing, a DIR that is a file or missing
// and a folder of the town's name that it did not write.
TEST(Towncensus, NotesGoInAFolderOfTheirOwn) {
  namespace fs = std::filesystem;
  testing::ScratchDir dir;
  dir.write("Ashford.txt", kTown);
  fs::create_directory("vault");
  const Outcome made = run({"--notes", "vault", "Ashford.txt"});
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.out, "");
  const auto namesIn = [](const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::string> notes = {".towncensus-notes", "0001 Hal Dunn.md",
                                          "0002 Joan Atwood.md", "Town of Ashford.md"};
  EXPECT_EQ(namesIn("vault/Ashford"), notes);
  EXPECT_EQ(namesIn("vault"), std::vector<std::string>{"Ashford"});  // nothing left beside

  // Made again, the folder it wrote is replaced whole.
  dir.write("vault/Ashford/0009 Old Note.md", "gone");
  EXPECT_EQ(run({"--notes", "vault", "Ashford.txt"}).status, 0);
  EXPECT_EQ(namesIn("vault/Ashford"), notes);
  EXPECT_EQ(namesIn("vault"), std::vector<std::string>{"Ashford"});

  // A folder of that name without the mark is the user's own.
  fs::create_directories("mine/Ashford");
  dir.write("mine/Ashford/plans.md", "my plans");
  const Outcome theirs = run({"--notes", "mine", "Ashford.txt"});
  EXPECT_EQ(theirs.status, 1);
  EXPECT_EQ(theirs.err, "towncensus: " + (fs::path("mine") / "Ashford").string() +
                            " is not a folder of notes towncensus wrote, and is left as it is\n");
  EXPECT_EQ(namesIn("mine/Ashford"), std::vector<std::string>{"plans.md"});
  EXPECT_EQ(namesIn("mine"), std::vector<std::string>{"Ashford"});

  dir.write("afile", "x");
  const Outcome notAFolder = run({"--notes", "afile", "Ashford.txt"});
  EXPECT_EQ(notAFolder.status, 1);
  const auto words = [](std::errc why) { return std::make_error_code(why).message(); };
  EXPECT_EQ(notAFolder.err, "towncensus: " + (fs::path("afile") / "Ashford").string() +
                                " cannot be written: " + words(std::errc::not_a_directory) + "\n");
  EXPECT_EQ(dir.read("afile"), "x");
  const Outcome missing = run({"--notes", "nowhere", "Ashford.txt"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "towncensus: " + (fs::path("nowhere") / "Ashford").string() +
                             " cannot be written: " + words(std::errc::no_such_file_or_directory) +
                             "\n");
  EXPECT_FALSE(fs::exists("nowhere"));

  // A town file that is not one leaves no folder.
  dir.write("Bad.txt", "1) Name: Hal\n");
  EXPECT_EQ(run({"--notes", "vault", "Bad.txt"}).status, 1);
  EXPECT_EQ(namesIn("vault"), std::vector<std::string>{"Ashford"});
}

// A folder the notes cannot be written into is refused with the system's
// reason, and nothing is made in it. Root writes into any folder, and
// Windows keeps no such mode: there it is skipped.
TEST(Towncensus, NotesRefuseAFolderTheyCannotWriteInto) {
  namespace fs = std::filesystem;
  testing::ScratchDir dir;
  dir.write("Ashford.txt", kTown);
  fs::create_directory("locked");
  fs::permissions("locked", fs::perms::owner_read | fs::perms::owner_exec);
  std::error_code error;
  if (fs::create_directory("locked/probe", error)) {
    fs::remove("locked/probe");
    fs::permissions("locked", fs::perms::owner_all);
    GTEST_SKIP() << "this user writes into a folder without write permission";
  }
  const Outcome locked = run({"--notes", "locked", "Ashford.txt"});
  fs::permissions("locked", fs::perms::owner_all);
  EXPECT_EQ(locked.status, 1);
  EXPECT_EQ(locked.err, "towncensus: " + (fs::path("locked") / "Ashford").string() +
                            " cannot be written: " +
                            std::make_error_code(std::errc::permission_denied).message() + "\n");
  EXPECT_TRUE(fs::is_empty("locked"));
}

TEST(Towncensus, ExportsAgree) {
  std::string town = kTown;
  town.replace(town.find("Ring of Warmth"), 14, ", Wand, ");
  const Outcome csv = run({"--csv", "-", "-"}, town);
  EXPECT_NE(csv.out.find(",45,40,0,0,3,0,Jasper (50gp); Pearl (575gp),; Wand; ,"),
            std::string::npos);
  EXPECT_NE(csv.out.find(",Farmer,20,9,12,10,9,11,13,10,,7,0,0,0,0,,,0.07\r\n"), std::string::npos);
  const Outcome json = run({"--json", "-", "-"}, town);
  const nlohmann::json array = nlohmann::json::parse(json.out);
  EXPECT_EQ(array[0]["magicItems"], (nlohmann::json{"", "Wand", ""}));
  EXPECT_TRUE(array[1]["strPercentile"].is_null());
  const Outcome lines = run({"--jsonl", "-", "-"}, town);
  std::istringstream objects(lines.out);
  std::string line;
  for (const nlohmann::json& expected : array) {
    ASSERT_TRUE(std::getline(objects, line));
    EXPECT_EQ(nlohmann::json::parse(line), expected);
  }
  EXPECT_FALSE(std::getline(objects, line));
}

}  // namespace
}  // namespace towngen

#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/number_text.h"
#include "data/data_source.h"
#include "driver/default_data.h"
#include "tests/recording_console.h"
#include "tests/scratch_dir.h"

namespace towngen {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// Runs the command line; the dialogue's clock and batch mode's entropy both
// give `seed` when no --seed is given.
Outcome run(const std::vector<std::string>& arguments, const std::string& input = "",
            std::uint32_t seed = 1) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  testing::RecordingConsole console(out);
  const int status = runCommandLine(arguments, {in, out, err, console, false, seed, seed});
  return {status, out.str(), err.str()};
}

std::string contentsOf(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

TEST(CommandLine, HelpVersionAndUsageErrors) {
  const Outcome help = run({"-h"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage: towngen [OPTIONS]"), std::string::npos);
  EXPECT_EQ(run({"--version"}).out, "towngen 1.0.0\n");

  testing::ScratchDir dir;
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } cases[] = {
      {{"--bogus"}, "The following argument was not expected: --bogus"},
      {{"extra"}, "The following argument was not expected: extra"},
      {{"--population", "5"}, "--population requires --town"},
      {{"--town", "T"}, "--town requires --population"},
      {{"--town", "", "--population", "1"}, "--town: needs a file name"},
      {{"--town", "T", "--population", "0"},
       "--population: '0' is not a whole number from 1 to 2,147,483,647"},
      {{"--town", "T", "--population", "x"},
       "--population: 'x' is not a whole number from 1 to 2,147,483,647"},
      {{"--town", "T", "--population", "2147483648"},
       "--population: '2147483648' is not a whole number from 1 to 2,147,483,647"},
      {{"--town", "T", "--population", "5", "--min-age", "1.5"},
       "--min-age: '1.5' is not a whole number from 0 to 2,147,483,646"},
      {{"--seed", "-1"}, "--seed: '-1' is not a whole number from 0 to 4,294,967,295"},
      {{"--seed", "4294967296"},
       "--seed: '4294967296' is not a whole number from 0 to 4,294,967,295"},
      {{"--min-age", "3"}, "--min-age requires --town"},
      {{"--quiet"}, "--quiet requires --town"},
      {{"--init", "--town", "T", "--population", "1"}, "--town excludes --init"},
      {{"--town", "male.txt", "--population", "3"},
       "male.txt is a data file of this program and cannot be a town"},
      {{"--town", "./male.txt", "--population", "3"},
       "./male.txt is a data file of this program and cannot be a town"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = run(c.arguments);
    EXPECT_EQ(outcome.status, 2) << c.message;
    EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')), std::string("towngen: ") + c.message);
    EXPECT_EQ(outcome.out, "") << c.message;
  }
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

// A town made without the dialogue is the town the dialogue makes for the
// same seed and answers (its maximum age one more: --max-age is included),
// and the golden town for its seed.
TEST(CommandLine, BatchTownsAreTheDialoguesTowns) {
  testing::ScratchDir dir;
  const std::string golden = TOWNGEN_GOLDEN_DIR;
  const Outcome batch = run({"--town", "B.txt", "--population", "40", "--min-age", "14",
                             "--max-age", "69", "--data-dir", golden, "--seed", "2026"});
  EXPECT_EQ(batch.status, 0);
  EXPECT_EQ(batch.out, "");
  const std::string town = dir.read("B.txt");
  EXPECT_EQ(town, contentsOf(fs::path(golden) / "town_2026_40_14_70.txt"));
  EXPECT_EQ(batch.err, "B.txt: 40 townspeople, " + grouped(static_cast<std::int64_t>(town.size())) +
                           " bytes, seed 2026\n");

  dir.copyDefaultData();
  const Outcome unseeded = run({"--town", "C.txt", "--population", "300", "--quiet"}, "", 77);
  EXPECT_EQ(unseeded.err, "");  // quiet, and seeded from the "entropy"
  EXPECT_EQ(run({"--seed", "77"}, "D.txt 300 0 61 0").status, 0);
  EXPECT_EQ(dir.read("C.txt"), dir.read("D.txt"));

  // Standard output carries the town and nothing else; the ages reach the
  // maximum given.
  const Outcome piped = run(
      {"--town", "-", "--population", "300", "--seed", "77", "--min-age", "59", "--max-age", "60"});
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.err, "standard output: 300 townspeople, seed 77\n");
  EXPECT_NE(piped.out.find("Age: 60 "), std::string::npos);
  EXPECT_NE(piped.out.find("Age: 59 "), std::string::npos);
  EXPECT_EQ(piped.out.find("Age: 61 "), std::string::npos);
  EXPECT_EQ(run({"--seed", "77"}, "E.txt 300 59 61 0").status, 0);
  EXPECT_EQ(piped.out, dir.read("E.txt"));
}

// The town without its lines that start with `label`.
std::string withoutLines(std::string town, std::string_view label) {
  for (std::size_t at = town.find(label); at != std::string::npos; at = town.find(label, at)) {
    town.erase(at, town.find('\n', at) + 1 - at);
  }
  return town;
}

// The golden towns of each mode fix its order of draws, to a file or to
// standard output. Traits come from draws of their own: without its traits
// lines, a town with traits is the same town made without them.
TEST(CommandLine, ModesMakeTheirGoldenTowns) {
  testing::ScratchDir dir;
  const std::string golden = TOWNGEN_GOLDEN_DIR;
  const struct {
    const char* file;
    const char* population;
    std::vector<std::string> modes;
  } towns[] = {
      {"households_2026_80_0_60.txt", "80", {"--households"}},
      {"traits_2026_40_0_60.txt", "40", {"--traits"}},
      {"households_traits_2026_80_0_60.txt", "80", {"--traits", "--households"}},
      {"ties_2026_80_0_60.txt", "80", {"--ties"}},
      {"households_traits_ties_2026_80_0_60.txt", "80", {"--households", "--traits", "--ties"}},
  };
  for (const auto& town : towns) {
    const std::string expected = contentsOf(fs::path(golden) / town.file);
    for (const char* path : {"H.txt", "-"}) {
      std::vector<std::string> arguments = {"--town",        path,         "--population",
                                            town.population, "--data-dir", golden,
                                            "--seed",        "2026",       "--quiet"};
      arguments.insert(arguments.end(), town.modes.begin(), town.modes.end());
      const Outcome made = run(arguments);
      EXPECT_EQ(made.status, 0) << town.file;
      EXPECT_EQ(made.err, "") << town.file;
      EXPECT_EQ(std::string(path) == "-" ? made.out : dir.read(path), expected)
          << town.file << " " << path;
    }
    // Ties too come from draws of their own: without its ties lines, the
    // town of ties alone is the town made without them.
    if (town.modes == std::vector<std::string>{"--ties"}) {
      EXPECT_EQ(run({"--town", "-", "--population", town.population, "--data-dir", golden, "--seed",
                     "2026"})
                    .out,
                withoutLines(expected, "Ties: "));
    }
    const auto traits = std::find(town.modes.begin(), town.modes.end(), "--traits");
    if (traits == town.modes.end() || town.modes.size() > 2) continue;
    std::vector<std::string> arguments = {"--town",     "-",    "--population", town.population,
                                          "--data-dir", golden, "--seed",       "2026"};
    arguments.insert(arguments.end(), town.modes.begin(), traits);
    arguments.insert(arguments.end(), traits + 1, town.modes.end());
    EXPECT_EQ(run(arguments).out, withoutLines(expected, "Traits: ")) << town.file;
  }
}

// The dialogue makes towns of the modes asked, each the town --town makes
// for the same seed and answers; without traits.txt it says that it uses
// the built-in traits, and traits that cannot be used stop it.
TEST(CommandLine, TheDialogueMakesTownsOfTheModesAsked) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  const Outcome dialogue = run({"--households", "--traits", "--seed", "5"}, "Kin.txt 300 0 61 0");
  EXPECT_EQ(dialogue.status, 0);
  EXPECT_EQ(dialogue.err, "");
  EXPECT_NE(dialogue.out.find(" Open the file: Kin.txt in the same directory"), std::string::npos);
  EXPECT_EQ(run({"--town", "Batch.txt", "--population", "300", "--households", "--traits", "--seed",
                 "5", "--quiet"})
                .status,
            0);
  const std::string town = dir.read("Kin.txt");
  EXPECT_EQ(town, dir.read("Batch.txt"));
  EXPECT_NE(town.find("\r\nHousehold: 1 head"), std::string::npos);
  EXPECT_NE(town.find("\r\nTraits: "), std::string::npos);

  fs::remove("traits.txt");
  const Outcome builtIn = run({"--traits", "--seed", "5"}, "Plain.txt 30 0 61 0");
  EXPECT_EQ(builtIn.err,
            "towngen: cannot load traits.txt: No such file or directory; using the built-in "
            "traits\n");
  EXPECT_NE(dir.read("Plain.txt").find("\r\nTraits: "), std::string::npos);
  dir.write("traits.txt", "<note> </note>\nfreckles looks\n");
  const Outcome refused = run({"--traits"}, "Never.txt 30 0 61 0");
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "towngen: traits.txt:2: unknown kind \"looks\"; the kinds are appearance, manner, "
            "motive, quirk and secret\n");
  EXPECT_EQ(refused.out, "");
  EXPECT_FALSE(fs::exists("Never.txt"));
}

// Traits come from the data folder's traits.txt, or the built-in one when
// it has none, which is said; traits that cannot be used stop the town.
TEST(CommandLine, TraitsComeFromTheFolderOrAreBuiltIn) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  fs::remove("traits.txt");  // the four files every town needs
  const Outcome builtIn = run({"--town", "T.txt", "--population", "5", "--traits", "--quiet"});
  EXPECT_EQ(builtIn.status, 0);
  EXPECT_EQ(builtIn.err,
            "towngen: cannot load traits.txt: No such file or directory; using the built-in "
            "traits\n");
  EXPECT_NE(dir.read("T.txt").find("\r\nTraits: "), std::string::npos);
  dir.write("traits.txt", "<note> </note>\nfreckles looks\n");
  const Outcome refused = run({"--town", "U.txt", "--population", "5", "--traits", "--quiet"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "towngen: traits.txt:2: unknown kind \"looks\"; the kinds are appearance, manner, "
            "motive, quirk and secret\n");
  EXPECT_FALSE(fs::exists("U.txt"));
  EXPECT_EQ(run({"--town", "traits.txt", "--population", "5"}).status, 2);  // a data file
}

// A folder with none of the data files makes towns from the built-in ones
// and says so; with some of them, the missing one is an error. The dialogue
// keeps its report, and points to --init on standard error.
TEST(CommandLine, AnEmptyFolderUsesTheBuiltInData) {
  testing::ScratchDir dir;
  const Outcome dialogue = run({});
  EXPECT_NE(dialogue.out.find(" male.txt did not load properly - \n"), std::string::npos);
  EXPECT_EQ(dialogue.err,
            "towngen: `towngen --init` writes the default name lists and catalogue here\n");
  const Outcome builtIn = run({"--town", "A.txt", "--population", "50", "--seed", "3"});
  EXPECT_EQ(builtIn.status, 0);
  EXPECT_EQ(builtIn.err.rfind("towngen: using the built-in name lists and catalogue; `towngen "
                              "--init` writes them here to edit\n",
                              0),
            0u);
  fs::create_directory("shipped");
  for (const DataFile& file : defaultDataFiles())
    dir.write("shipped/" + std::string(file.name), file.contents);
  EXPECT_EQ(
      run({"--town", "B.txt", "--population", "50", "--seed", "3", "--data-dir", "shipped"}).status,
      0);
  EXPECT_EQ(dir.read("A.txt"), dir.read("B.txt"));

  // So does an empty folder given, as the working directory does.
  fs::create_directory("empty");
  const Outcome empty =
      run({"--town", "E.txt", "--population", "50", "--seed", "3", "--data-dir", "empty"});
  EXPECT_EQ(empty.status, 0);
  EXPECT_EQ(empty.err.rfind("towngen: using the built-in name lists and catalogue; `towngen "
                            "--init empty` writes them there to edit\n",
                            0),
            0u);
  EXPECT_EQ(dir.read("A.txt"), dir.read("E.txt"));

  dir.write("data.txt", "<note> </note>");
  const Outcome some = run({"--town", "C.txt", "--population", "50"});
  EXPECT_EQ(some.status, 1);
  EXPECT_EQ(some.err, "towngen: cannot load male.txt: No such file or directory\n");
  // A folder given that is not there is no folder without data files.
  const Outcome given = run({"--town", "C.txt", "--population", "50", "--data-dir", "none"});
  EXPECT_EQ(given.status, 1);
  EXPECT_EQ(given.err, "towngen: cannot load the data files of none: No such file or directory\n");
  EXPECT_FALSE(fs::exists("C.txt"));
}

// Each bad value is named with what is accepted, in the program's words.
TEST(CommandLine, UsageErrorsSayWhatIsAccepted) {
  testing::ScratchDir dir;
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } cases[] = {
      {{"--population", "abc"},
       "--population: 'abc' is not a whole number from 1 to 2,147,483,647"},
      {{"--population", "0"}, "--population: '0' is not a whole number from 1 to 2,147,483,647"},
      {{"--population", "1", "--seed", "99999999999"},
       "--seed: '99999999999' is not a whole number from 0 to 4,294,967,295"},
      {{"--population", "1", "--min-age", "-8"},
       "--min-age: '-8' is not a whole number from 0 to 2,147,483,646"},
      {{"--population", "1", "--max-age", "2147483647"},
       "--max-age: '2147483647' is not a whole number from 0 to 2,147,483,646"},
      {{"--population", "1", "--min-age", "50", "--max-age", "10"},
       "--min-age 50 is above --max-age 10: the youngest age cannot be above the oldest"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = {"--town", "T.txt"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const Outcome outcome = run(arguments);
    EXPECT_EQ(outcome.status, 2) << c.message;
    EXPECT_EQ(outcome.err, std::string("towngen: ") + c.message +
                               "\nTry 'towngen --help' for more information.\n");
  }
  // Leading zeros are decimal, and the largest values work.
  EXPECT_EQ(run({"--town", "-", "--population", "010", "--seed", "4294967295", "--min-age",
                 "2147483646", "--max-age", "2147483646"})
                .err,
            "towngen: using the built-in name lists and catalogue; `towngen --init` writes them "
            "here to edit\nstandard output: 10 townspeople, seed 4294967295\n");
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(CommandLine, BatchFailuresExitWithOneAndLeaveNothing) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  fs::create_directory("empty");
  const struct {
    std::vector<std::string> arguments;
    std::string message;
  } cases[] = {
      {{"--town", "T.txt", "--data-dir", "empty/male.txt"},
       "towngen: cannot load the data files of empty/male.txt: No such file or directory\n"},
      {{"--town", "T.txt", "--data-dir", "male.txt"},
       "towngen: cannot load the data files of male.txt: Not a directory\n"},
      {{"--town", "none/T.txt"}, "towngen: cannot create none/T.txt: No such file or directory\n"},
      {{"--town", "/dev/full"}, "towngen: cannot write /dev/full: No space left on device\n"},
  };
  for (const auto& c : cases) {
    if (c.arguments[1] == "/dev/full" && !fs::exists("/dev/full")) continue;
    std::vector<std::string> arguments = {"--population", "3000"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const Outcome outcome = run(arguments);
    EXPECT_EQ(outcome.status, 1) << c.message;
    EXPECT_EQ(outcome.err, c.message);
    EXPECT_EQ(outcome.out, "");
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}),
            std::ssize(kDataFileNames) + 1);  // the data files, "empty"
}

// A catalogue that cannot be read is a warning, and the town is made without
// magic items.
TEST(CommandLine, CatalogueProblemsAreWarnings) {
  const struct {
    const char* catalogue;  // null: a folder in its place
    const char* warning;
  } cases[] = {
      {nullptr,
       "towngen: warning: cannot open data.txt: Is a directory; the town has no magic "
       "items\n"},
      {"<note> </note>\n\nRing\x01 tccBogus",
       "towngen: warning: data.txt:3: The data.txt file is corrupt. A data type did not match "
       "Data: "
       "Ring\\x01 - tccBogus; the nearest tags are tccRods, tccRings, tccWands\n"},
  };
  for (const auto& c : cases) {
    testing::ScratchDir dir;
    dir.copyDefaultData();
    fs::remove("data.txt");
    if (c.catalogue == nullptr) {
      fs::create_directory("data.txt");
    } else {
      dir.write("data.txt", c.catalogue);
    }
    const Outcome outcome = run({"--town", "T.txt", "--population", "200", "--quiet"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, c.warning);
    EXPECT_EQ(dir.read("T.txt").find("Magic Item(s):"), std::string::npos);
  }
}

// --init writes what is missing and keeps what is there, byte for byte.
TEST(CommandLine, InitWritesTheDefaultDataFiles) {
  testing::ScratchDir dir;
  fs::create_directory("some");
  dir.write("some/last.txt", "Mine");
  dir.write("file", "");
  const Outcome fresh = run({"--init", "new/folder"});
  EXPECT_EQ(fresh.status, 0);
  std::string written;
  for (const char* name : {"male.txt", "female.txt", "last.txt", "data.txt", "traits.txt"}) {
    written += "wrote " + (fs::path("new/folder") / name).string() + "\n";
  }
  EXPECT_EQ(fresh.out, written);
  for (const DataFile& file : defaultDataFiles()) {
    EXPECT_EQ(dir.read("new/folder/" + std::string(file.name)),
              contentsOf(fs::path(TOWNGEN_GAMEDATA_DIR) / file.name));
  }
  const Outcome kept = run({"--init", "some"});
  EXPECT_EQ(kept.status, 0);
  EXPECT_NE(
      kept.out.find("kept  " + (fs::path("some") / "last.txt").string() + " (there already)\n"),
      std::string::npos);
  EXPECT_EQ(dir.read("some/last.txt"), "Mine");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "some"), {}), 5);

  const Outcome blocked = run({"--init", "file/sub"});
  EXPECT_EQ(blocked.status, 1);
  EXPECT_EQ(blocked.err.rfind("towngen: cannot make the folder file/sub: ", 0), 0u);
}

}  // namespace
}  // namespace towngen

#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

Outcome run(const std::vector<std::string>& arguments, const std::string& input = "",
            std::uint32_t clockSeed = 1) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  testing::RecordingConsole console(out);
  const int status = runCommandLine(arguments, {in, out, err, console, false, clockSeed});
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
  const std::vector<std::vector<std::string>> cases = {
      {"--bogus"},
      {"extra"},
      {"--population", "5"},
      {"--town", "T"},
      {"--town", "", "--population", "1"},
      {"--town", "T", "--population", "0"},
      {"--town", "T", "--population", "x"},
      {"--town", "T", "--population", "2147483648"},
      {"--town", "T", "--population", "5", "--min-age", "1.5"},
      {"--seed", "-1"},
      {"--seed", "4294967296"},
      {"--min-age", "3"},
      {"--quiet"},
      {"--init", "--town", "T", "--population", "1"},
      {"--town", "male.txt", "--population", "3"},
      {"--town", "./male.txt", "--population", "3"},
  };
  for (const std::vector<std::string>& arguments : cases) {
    const Outcome outcome = run(arguments);
    std::string shown;
    for (const std::string& argument : arguments) shown += argument + " ";
    EXPECT_EQ(outcome.status, 2) << shown;
    EXPECT_EQ(outcome.err.rfind("towngen: ", 0), 0u) << shown;
    EXPECT_EQ(outcome.out, "") << shown;
  }
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

// A town made without the dialogue is the town the dialogue makes for the
// same seed and answers, and the golden town for its seed.
TEST(CommandLine, BatchTownsAreTheDialoguesTowns) {
  testing::ScratchDir dir;
  const std::string golden = TOWNGEN_GOLDEN_DIR;
  const Outcome batch = run({"--town", "B.txt", "--population", "40", "--min-age", "14",
                             "--max-age", "70", "--data-dir", golden, "--seed", "2026"});
  EXPECT_EQ(batch.status, 0);
  EXPECT_EQ(batch.err, "");
  const std::string town = dir.read("B.txt");
  EXPECT_EQ(town, contentsOf(fs::path(golden) / "town_2026_40_14_70.txt"));
  EXPECT_EQ(batch.out,
            "B.txt: 40 townspeople, " + std::to_string(town.size()) + " bytes, seed 2026\n");

  dir.copyDefaultData();
  const Outcome clocked = run({"--town", "C.txt", "--population", "300", "--quiet"}, "", 77);
  EXPECT_EQ(clocked.out, "");  // quiet, and seeded from the "clock"
  EXPECT_EQ(run({"--seed", "77"}, "D.txt 300 0 60 0").status, 0);
  EXPECT_EQ(dir.read("C.txt"), dir.read("D.txt"));
}

TEST(CommandLine, BatchFailuresExitWithOneAndLeaveNothing) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  fs::create_directory("empty");
  const struct {
    std::vector<std::string> arguments;
    std::string message;
  } cases[] = {
      {{"--town", "T.txt", "--data-dir", "empty"},
       "towngen: warning: cannot open " + (fs::path("empty") / "data.txt").string() +
           ": No such file or directory; the town has no magic items\ntowngen: cannot load " +
           (fs::path("empty") / "male.txt").string() + ": No such file or directory\n"},
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
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 5);  // data files, "empty"
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
  for (const char* name : {"male.txt", "female.txt", "last.txt", "data.txt"}) {
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
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "some"), {}), 4);

  const Outcome blocked = run({"--init", "file/sub"});
  EXPECT_EQ(blocked.status, 1);
  EXPECT_EQ(blocked.err.rfind("towngen: cannot make the folder file/sub: ", 0), 0u);
}

}  // namespace
}  // namespace towngen

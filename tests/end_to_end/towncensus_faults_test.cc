// The built towncensus stopped by a signal, and fed endless input: an earlier
// export stays as it was, nothing unfinished is left, memory stays bounded.

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>

#include "tests/end_to_end/program_run.h"
#include "tests/scratch_dir.h"
#include "town/packed_townspeople.h"

namespace towngen {
namespace {

namespace fs = std::filesystem;

bool holdsUnfinishedFile(const fs::path& folder) {
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().find("towngen-unfinished") != std::string::npos) {
      return true;
    }
  }
  return false;
}

TEST(TowncensusFaults, SignalsLeaveTheEarlierExportAndNoUnfinishedFile) {
  testing::ScratchDir dir;
  std::string town;
  Townsperson person;
  person.name = "Hal Dunn";
  person.occupation = "Farmer";
  person.Str = person.Dex = person.Con = person.Int = person.Wis = person.Cha = person.Com = 10;
  for (person.number = 1; person.number <= 5000; ++person.number) {
    appendTownsperson(town, person, 10000);
  }
  for (const int signal : {SIGINT, SIGTERM}) {
    dir.write("out.csv", "earlier");
    testing::RunOptions options;
    options.program = TOWNCENSUS_BINARY;
    options.arguments = {"--csv", "out.csv", "--jsonl", "out.jsonl", "-"};
    options.keepInputOpen = true;  // the town is still coming in
    options.interruptWhen = [&] { return holdsUnfinishedFile(dir.path()); };
    options.interruptSignal = signal;
    const testing::RunResult result = testing::runProgram(dir.path(), town, options);
    EXPECT_EQ(result.signal, signal);
    EXPECT_EQ(dir.read("out.csv"), "earlier");
    EXPECT_FALSE(fs::exists(dir.path() / "out.jsonl"));
    EXPECT_FALSE(holdsUnfinishedFile(dir.path()));
  }
}

TEST(TowncensusFaults, EndlessLinesAreRefusedAtTheLimit) {
  testing::ScratchDir dir;
  testing::RunOptions options;
  options.program = TOWNCENSUS_BINARY;
  options.arguments = {"/dev/zero"};
  const testing::RunResult result = testing::runProgram(dir.path(), "", options);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.errorOutput, "towncensus: /dev/zero:1: line longer than 16 MiB\n");
}

}  // namespace
}  // namespace towngen

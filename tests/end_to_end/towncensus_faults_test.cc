// The built towncensus stopped by a signal, and fed endless input: an earlier
// export stays as it was, nothing unfinished is left, memory stays bounded.

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>
#include <vector>

#include "data/data_source.h"
#include "tests/end_to_end/program_run.h"
#include "tests/scratch_dir.h"
#include "town/packed_townspeople.h"

namespace towngen {
namespace {

namespace fs = std::filesystem;

// Enough for towncensus on any input, far less than a million texts would take.
// (AddressSanitizer reserves far more address space for itself.)
#if defined(__SANITIZE_ADDRESS__)
constexpr std::uint64_t kMemoryLimitMb = 0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr std::uint64_t kMemoryLimitMb = 0;
#else
constexpr std::uint64_t kMemoryLimitMb = 120;
#endif
#else
constexpr std::uint64_t kMemoryLimitMb = 120;
#endif

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
    appendTownsperson(town, person);
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

// Interrupted at the first moment an unfinished file shows, again and again,
// by each of the signals that end the programs: none is ever left behind.
TEST(TowncensusFaults, InterruptsAtTheEarliestMomentLeaveNothing) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  const std::string town(64 << 10, 'x');  // never a whole line: the reading goes on
  const struct {
    std::string program;
    std::vector<std::string> arguments;
  } cases[] = {
      {TOWNCENSUS_BINARY, {"--csv", "out.csv", "--jsonl", "out.jsonl", "-"}},
      {TOWNGEN_BINARY, {"--town", "Town.txt", "--population", "2000000000"}},
  };
  int interrupted = 0;
  for (const auto& c : cases) {
    for (int run = 0; run < 120; ++run) {
      testing::RunOptions options;
      options.program = c.program;
      options.arguments = c.arguments;
      options.keepInputOpen = true;
      options.askWithoutPause = true;
      options.interruptWhen = [&] { return holdsUnfinishedFile(dir.path()); };
      options.interruptSignal = run % 2 == 0 ? SIGINT : SIGTERM;
      const testing::RunResult result = testing::runProgram(dir.path(), town, options);
      interrupted += result.signal != 0 ? 1 : 0;
      ASSERT_FALSE(holdsUnfinishedFile(dir.path())) << c.program << ", run " << run;
    }
  }
  EXPECT_EQ(interrupted, 240);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), std::ssize(kDataFileNames));
}

// Towns made one after another without a seed differ, and each names its
// seed; a town written to standard output is read back through a pipe.
TEST(TowngenAndTowncensus, UnseededTownsDifferAndPipesCarryTowns) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  std::vector<std::string> summaries;
  std::vector<std::string> towns;
  for (const char* name : {"A.txt", "B.txt", "C.txt"}) {
    testing::RunOptions options;
    options.arguments = {"--town", name, "--population", "100"};
    const testing::RunResult result = testing::runProgram(dir.path(), "", options);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "");
    summaries.push_back(result.errorOutput.substr(result.errorOutput.find(", seed ")));
    towns.push_back(dir.read(name));
  }
  EXPECT_NE(summaries[0], summaries[1]);
  EXPECT_NE(summaries[1], summaries[2]);
  EXPECT_NE(towns[0], towns[1]);

  testing::RunOptions pipeline;
  pipeline.program = "/bin/sh";
  pipeline.arguments = {"-c", std::string(TOWNGEN_BINARY) + " --town - --population 500 --seed 7 " +
                                  "--quiet | " + TOWNCENSUS_BINARY + " --html page.html -"};
  const testing::RunResult piped = testing::runProgram(dir.path(), "", pipeline);
  EXPECT_EQ(piped.exitCode, 0) << piped.errorOutput;
  EXPECT_EQ(piped.errorOutput, "");
  EXPECT_NE(dir.read("page.html").find("500 townspeople"), std::string::npos);
}

// A million different magic items: past the first 10,000 they are counted
// together, so the census runs in bounded memory.
TEST(TowncensusFaults, EndlessDifferentTextsAreTalliedInBoundedMemory) {
  testing::ScratchDir dir;
  std::string town;
  int item = 0;
  for (int block = 1; block <= 200; ++block) {
    if (block > 1) town += "\r\n\r\n";
    town += std::to_string(block) +
            ") Name: Hal Dunn Sex: Male Occupation: Farmer\r\nAge: 30 Str: 9 Dex: 9 Con: 9 Int: 9 "
            "Wis: 9 Cha: 9 Com: 9\r\nCoins:\r\n1cp\r\nMagic Item(s):\r\n";
    for (int i = 0; i < 5000; ++i) town += (i == 0 ? "i" : ", i") + std::to_string(++item);
  }
  dir.write("Many.txt", town);
  testing::RunOptions options;
  options.program = TOWNCENSUS_BINARY;
  options.arguments = {"Many.txt"};
  options.memoryLimit = std::uint64_t{kMemoryLimitMb} << 20;
  const testing::RunResult result = testing::runProgram(dir.path(), "", options);
  EXPECT_EQ(result.exitCode, 0) << result.errorOutput;
  EXPECT_NE(result.output.find("  990000  other magic items (past the first 10,000 different "
                               "ones)\n"),
            std::string::npos);
}

TEST(TowncensusFaults, EndlessLinesAreRefusedAtTheLimit) {
  testing::ScratchDir dir;
  testing::RunOptions options;
  options.program = TOWNCENSUS_BINARY;
  options.arguments = {"/dev/zero"};
  const testing::RunResult result = testing::runProgram(dir.path(), "", options);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.errorOutput, "towncensus: /dev/zero:1: line longer than 64 KiB\n");
}

}  // namespace
}  // namespace towngen

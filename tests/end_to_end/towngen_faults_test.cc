// The built program against damaged data files, hostile answers and failing
// town files: it must end normally, say what went wrong, and harm no file.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "common/random.h"
#include "tests/end_to_end/program_run.h"
#include "tests/scratch_dir.h"

namespace towngen {
namespace {

namespace fs = std::filesystem;
using testing::RunOptions;
using testing::RunResult;

constexpr const char* kOneTown = "T.txt 20 0 60 0\n";
constexpr const char* kNameFiles[] = {"male.txt", "female.txt", "last.txt"};

int blocksIn(const std::string& town) {
  int blocks = 0;
  for (std::size_t at = town.find(") Name: "); at != std::string::npos;
       at = town.find(") Name: ", at + 1)) {
    ++blocks;
  }
  return blocks;
}

class TowngenFaults : public ::testing::Test {
 protected:
  void SetUp() override { dir.copyDefaultData(); }

  RunResult run(const std::string& input, const RunOptions& options = {}) {
    RunResult result = testing::runProgram(dir.path(), input, options);
    EXPECT_FALSE(result.timedOut) << input.substr(0, 40);
    return result;
  }

  // Runs one town of 20 and checks that the program ended normally.
  RunResult runOneTown(const RunOptions& options = {}) {
    RunResult result = run(kOneTown, options);
    EXPECT_EQ(result.exitCode, 0);
    return result;
  }

  void expectNameListReported(const RunResult& result, const std::string& file) {
    EXPECT_NE(result.output.find("\n " + file + " did not load properly - \n"), std::string::npos)
        << file;
    EXPECT_FALSE(fs::exists(dir.path() / "T.txt")) << file;
  }

  void expectTownMade(const RunResult& result) {
    EXPECT_NE(result.output.find("Population generation complete."), std::string::npos);
    EXPECT_EQ(blocksIn(dir.read("T.txt")), 20);
  }

  testing::ScratchDir dir;
};

TEST_F(TowngenFaults, MissingDataFiles) {
  for (const char* file : kNameFiles) {
    fs::remove(dir.path() / file);
    const RunResult result = runOneTown();
    EXPECT_NE(result.output.find(std::string("Data file \"") + file + "\" failed to open\n"),
              std::string::npos);
    expectNameListReported(result, file);
    dir.copyDefaultData();
  }
  fs::remove(dir.path() / "data.txt");
  const RunResult result = runOneTown();
  EXPECT_EQ(result.output.rfind("\n data.txt file failed to open\n", 0), 0u);
  expectTownMade(result);
  EXPECT_EQ(dir.read("T.txt").find("Magic Item(s)"), std::string::npos);
}

TEST_F(TowngenFaults, EmptyDataFiles) {
  for (const char* file : kNameFiles) {
    dir.write(file, "");
    const RunResult result = runOneTown();
    EXPECT_NE(result.output.find(std::string("Total Loaded (") + file + ") 0\n"),
              std::string::npos);
    expectNameListReported(result, file);
    dir.copyDefaultData();
  }
  dir.write("data.txt", "");
  const RunResult result = runOneTown();
  EXPECT_EQ(result.output.rfind("\n Loading Data...\n\n male.txt opened", 0), 0u);
  expectTownMade(result);
}

TEST_F(TowngenFaults, UnreadableDataFiles) {
  const bool root = geteuid() == 0;
  RunOptions options;
  options.asNobody = root;
  fs::permissions(dir.path(), fs::perms::all);  // nobody must reach the folder
  for (const char* file : {"male.txt", "female.txt", "last.txt", "data.txt"}) {
    fs::permissions(dir.path() / file, fs::perms::none);
    const RunResult result = run(kOneTown, options);
    if (result.exitCode == 125 || result.exitCode == 126 || result.exitCode == 127) {
      GTEST_SKIP() << "cannot run the program as an unprivileged user here";
    }
    EXPECT_EQ(result.exitCode, 0) << file;
    const std::string failed = std::string(file) == "data.txt"
                                   ? "\n data.txt file failed to open\n"
                                   : std::string("Data file \"") + file + "\" failed to open\n";
    EXPECT_NE(result.output.find(failed), std::string::npos) << file;
    fs::permissions(dir.path() / file, fs::perms::owner_read | fs::perms::owner_write);
    fs::remove(dir.path() / "T.txt");
  }
}

TEST_F(TowngenFaults, DirectoriesInPlaceOfDataFiles) {
  for (const char* file : kNameFiles) {
    fs::remove(dir.path() / file);
    fs::create_directory(dir.path() / file);
    expectNameListReported(runOneTown(), file);
    fs::remove(dir.path() / file);
    dir.copyDefaultData();
  }
  fs::remove(dir.path() / "data.txt");
  fs::create_directory(dir.path() / "data.txt");
  expectTownMade(runOneTown());
}

TEST_F(TowngenFaults, HugeNameListLoadsAndWorks) {
  std::string names;
  for (int i = 0; names.size() < 50'000'000; ++i) names += "Surname" + std::to_string(i) + "\n";
  dir.write("last.txt", names);
  const RunResult result = runOneTown();
  EXPECT_NE(result.output.find(" Total Loaded (last.txt) "), std::string::npos);
  expectTownMade(result);
}

TEST_F(TowngenFaults, BinaryGarbageDataFiles) {
  Random random(99);
  for (const char* file : {"male.txt", "female.txt", "last.txt", "data.txt"}) {
    std::string garbage(1 << 16, '\0');
    for (char& byte : garbage) byte = static_cast<char>(random.rand() & 0xFF);
    dir.write(file, garbage);
  }
  const RunResult result = runOneTown();
  EXPECT_NE(result.output.find("The data.txt file is corrupt."), std::string::npos);
  expectTownMade(result);
}

TEST_F(TowngenFaults, CrLfDataFilesReadAsLf) {
  for (const char* file : {"male.txt", "female.txt", "last.txt", "data.txt"}) {
    std::string text = dir.read(file);
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    dir.write(file, crlf);
  }
  const RunResult result = runOneTown();
  EXPECT_EQ(result.output.find("corrupt"), std::string::npos);
  EXPECT_NE(result.output.find(" Total Loaded (male.txt) 318\n"), std::string::npos);
  expectTownMade(result);
  EXPECT_EQ(dir.read("T.txt").find("\r\r"), std::string::npos);
}

// No file of ours is left unfinished in the folder.
void expectNoUnfinishedFile(const fs::path& folder) {
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    EXPECT_EQ(entry.path().filename().string().find("towngen-unfinished"), std::string::npos)
        << entry.path();
  }
}

TEST_F(TowngenFaults, TownFilesThatCannotBeWritten) {
  fs::create_directory(dir.path() / "Folder");
  dir.write("Kept.txt", "an earlier town");
  ASSERT_EQ(chmod((dir.path() / "Kept.txt").c_str(), 0444), 0);
  const struct {
    const char* name;
    const char* message;
    bool asNobody;
  } cases[] = {
      {"Folder", "The town file Folder could not be created", false},
      {"none/T.txt", "The town file none/T.txt could not be created", false},
      {"Kept.txt", "The town file Kept.txt could not be created", true},
      {"/dev/full", "Writing the town file /dev/full failed: No space left on device.", false},
      {"data.txt", "data.txt is a data file of this program", false},
  };
  for (const auto& c : cases) {
    RunOptions options;
    options.asNobody = c.asNobody;
    if (c.asNobody && geteuid() == 0) {
      ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
      ASSERT_EQ(chown((dir.path() / "Kept.txt").c_str(), 0, 0), 0);
    } else if (c.asNobody) {
      continue;  // the owner of a read-only file may still replace it
    }
    const RunResult result = run(std::string(c.name) + " 3000 0 60 0\n", options);
    EXPECT_EQ(result.exitCode, 0) << c.name;
    EXPECT_NE(result.output.find(c.message), std::string::npos) << c.name;
    EXPECT_EQ(result.output.find("Population generation complete."), std::string::npos);
  }
  EXPECT_EQ(dir.read("data.txt").substr(0, 6), "<note>");
  EXPECT_EQ(dir.read("Kept.txt"), "an earlier town");
  expectNoUnfinishedFile(dir.path());
}

TEST_F(TowngenFaults, DevicesAreWrittenNotReplaced) {
  const RunResult result = run("/dev/null 300 0 60 0\n");
  EXPECT_NE(result.output.find("Population generation complete."), std::string::npos);
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(TowngenFaults, EndOfInputAtEveryPrompt) {
  for (const char* input : {"", "T", "T 5", "T 5 0", "T 5 0 60", "T 0", "T 5 0 60 1"}) {
    const RunResult result = run(input);
    EXPECT_EQ(result.exitCode, 0) << input;
  }
}

TEST_F(TowngenFaults, BadNumbersAtEveryPrompt) {
  const std::string bad = "abc + - -- 1e3 0x10 4.5 99999999999 -2147483649 2147483648 " +
                          std::string(1 << 20, '9') + " " + std::string(1 << 20, 'x') + " ";
  const RunResult result = run("T.txt " + bad + "20 " + bad + "0 " + bad + "60 " + bad + "0\n");
  EXPECT_EQ(result.exitCode, 0);
  expectTownMade(result);
  EXPECT_LT(result.output.size(), 100'000u);  // long words are not echoed
}

TEST_F(TowngenFaults, SignedNumbersAreNumbers) {
  const RunResult result = run("T.txt +20 -0 +60 -1\n");
  EXPECT_EQ(result.exitCode, 0);
  expectTownMade(result);
}

// A stopped town leaves the earlier town of its name as it was, and no
// unfinished file.
TEST_F(TowngenFaults, LargestPopulationStartsAndCanBeStopped) {
  for (const int signal : {SIGINT, SIGTERM}) {
    dir.write("T.txt", "an earlier town");
    RunOptions options;
    options.interruptWhenSeen = "\n5000\n";
    options.interruptSignal = signal;
    const RunResult result = run("T.txt 2147483647 0 60\n", options);
    EXPECT_EQ(result.signal, signal);
    EXPECT_EQ(result.output.find("Population generation complete."), std::string::npos);
    EXPECT_NE(result.output.find("(typical would be 60):\n\n 1\n2\n3\n"), std::string::npos);
    EXPECT_EQ(dir.read("T.txt"), "an earlier town");
    expectNoUnfinishedFile(dir.path());
  }
}

}  // namespace
}  // namespace towngen

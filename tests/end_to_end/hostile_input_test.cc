// Both programs against hostile inputs: data files too long or not files at
// all, town files cut short or holding numbers too large, limits on file size,
// links planted by another user, unfinished files of killed runs. Each case
// states its exit code, its exact message, a bound on the memory it may take
// and what it leaves on disk.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "data/data_source.h"
#include "tests/end_to_end/program_run.h"
#include "tests/scratch_dir.h"

namespace towngen {
namespace {

namespace fs = std::filesystem;

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOWNGEN_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(TOWNGEN_SANITIZED)
constexpr bool kMeasuresMemory = false;  // the sanitizer's own memory would be counted
#else
constexpr bool kMeasuresMemory = true;
#endif

constexpr uid_t kNobody = 65534;
const std::string kTownFile = "T.txt";

struct HostileCase {
  std::string what{};
  std::function<void(testing::ScratchDir&)> prepare{};  // in a folder with the default data
  std::string program = TOWNGEN_BINARY;
  std::vector<std::string> arguments{};
  std::string input{};              // for the dialogue
  std::uint64_t fileSizeLimit = 0;  // bytes, 0 for none
  int exitCode = 0;
  std::string errorOutput{};                          // exact
  std::string outputHolds{};                          // a part of standard output
  std::int64_t mostMemoryMb = 64;                     // the peak it may reach
  std::vector<std::string> leftOnDisk{};              // besides the data files, sorted
  std::function<void(testing::ScratchDir&)> check{};  // of what it left, where more is to say
};

// The files a case left, by their paths in the folder, less the data files.
std::vector<std::string> filesIn(const fs::path& folder) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (fs::is_directory(entry.symlink_status())) continue;
    const std::string name = entry.path().lexically_relative(folder).string();
    if (std::find(kDataFileNames.begin(), kDataFileNames.end(), name) != kDataFileNames.end()) {
      continue;
    }
    files.push_back(name);
  }
  std::sort(files.begin(), files.end());
  return files;
}

void runCase(const HostileCase& c) {
  SCOPED_TRACE(c.what);
  testing::ScratchDir dir;
  dir.copyDefaultData();
  if (c.prepare) c.prepare(dir);
  testing::RunOptions options;
  options.program = c.program;
  options.arguments = c.arguments;
  options.timeout = std::chrono::seconds(30);
  options.fileSizeLimit = c.fileSizeLimit;
  if (kMeasuresMemory) options.memoryLimit = std::uint64_t{2} << 30;  // ends a runaway early
  const testing::RunResult result = testing::runProgram(dir.path(), c.input, options);
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, c.exitCode);
  EXPECT_EQ(result.errorOutput, c.errorOutput);
  EXPECT_NE(result.output.find(c.outputHolds), std::string::npos) << result.output.substr(0, 500);
  if (kMeasuresMemory) {
    EXPECT_LE(result.peakMemoryKb, c.mostMemoryMb << 10);
  }
  EXPECT_EQ(filesIn(dir.path()), c.leftOnDisk);
  if (c.check) c.check(dir);
}

std::string repeated(char c, std::size_t count) { return std::string(count, c); }

// A process number that no process has: that of a child that has ended.
pid_t endedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

std::string unfinished(const std::string& file, pid_t process) {
  return file + ".towngen-unfinished-" + std::to_string(process) + "-0";
}

void replaceBy(testing::ScratchDir& dir, const std::string& name, const char* linkTarget) {
  fs::remove(dir.path() / name);
  if (linkTarget != nullptr) {
    fs::create_symlink(linkTarget, dir.path() / name);
  } else {
    mkfifo((dir.path() / name).c_str(), 0600);
  }
}

// A folder open to all with the sticky bit, as a shared temporary folder is,
// holding "victim.txt" and links to it: "Foreign.txt" of another user,
// "Own.txt" of the user who runs the test.
void shareFolderWithLinks(testing::ScratchDir& dir) {
  fs::create_directory(dir.path() / "shared");
  fs::permissions(dir.path() / "shared", fs::perms::all | fs::perms::sticky_bit);
  dir.write("shared/victim.txt", "precious");
  fs::create_symlink("victim.txt", dir.path() / "shared/Foreign.txt");
  fs::create_symlink("victim.txt", dir.path() / "shared/Own.txt");
  ASSERT_EQ(lchown((dir.path() / "shared/Foreign.txt").c_str(), kNobody, kNobody), 0);
}

const std::vector<std::string> kSharedFolder = {"shared/Foreign.txt", "shared/Own.txt",
                                                "shared/victim.txt"};

// kSharedFolder with `more` files, sorted.
std::vector<std::string> sharedFolderAnd(std::vector<std::string> more) {
  more.insert(more.end(), kSharedFolder.begin(), kSharedFolder.end());
  std::sort(more.begin(), more.end());
  return more;
}

void expectVictim(testing::ScratchDir& dir, bool replaced) {
  EXPECT_EQ(dir.read("shared/victim.txt") == "precious", !replaced);
}

// The victim of the shared folder is another user's, readable by its owner
// alone, as a file one may write through a link to (as the superuser).
void shareAnotherUsersFile(testing::ScratchDir& dir) {
  shareFolderWithLinks(dir);
  ASSERT_EQ(chown((dir.path() / "shared/victim.txt").c_str(), kNobody, kNobody), 0);
  fs::permissions(dir.path() / "shared/victim.txt", fs::perms::owner_read | fs::perms::owner_write);
}

// Links that lead through another user's link in a shared folder: a link of
// one's own to it, a link in a folder of one's own to it, and a link of a
// folder, with a folder "private" it leads to.
void chainLinks(testing::ScratchDir& dir) {
  shareFolderWithLinks(dir);
  fs::create_symlink("Foreign.txt", dir.path() / "shared/Chain.txt");
  fs::create_directory(dir.path() / "normal");
  fs::create_symlink("../shared/Foreign.txt", dir.path() / "normal/Through.txt");
  fs::create_directory(dir.path() / "private");
  fs::create_symlink("../private", dir.path() / "shared/folder");
  ASSERT_EQ(lchown((dir.path() / "shared/folder").c_str(), kNobody, kNobody), 0);
}

const std::vector<std::string> kChainLinks =
    sharedFolderAnd({"normal/Through.txt", "shared/Chain.txt", "shared/folder"});

// A link "dangling.txt" to "made.txt", which is not there.
void dangle(testing::ScratchDir& dir) {
  fs::create_symlink("made.txt", dir.path() / "dangling.txt");
}

// The link dangles no more, and leads to what was written.
void expectLinkKept(testing::ScratchDir& dir) {
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path() / "dangling.txt")));
  EXPECT_TRUE(fs::is_regular_file(fs::status(dir.path() / "dangling.txt")));
  EXPECT_GT(fs::file_size(dir.path() / "made.txt"), 0u);
}

const char* const kNotFollowed =
    ": a link that another user made in a folder open to all; it is not followed\n";

TEST(HostileInput, Towngen) {
  const pid_t ended = endedProcess();
  const std::string running = unfinished(kTownFile, getpid());
  const std::string dialogue = "T.txt 20 0 60 0\n";
  const std::string noData =
      "towngen: `towngen --init` writes the default name lists and "
      "catalogue here\n";
  const std::vector<std::string> batch = {"--town", kTownFile, "--population", "20", "--quiet"};
  const std::string longName = "Hal\n" + repeated('a', 4 << 20) + "\n";
  const HostileCase cases[] = {
      {.what = "a name of 4 MB",
       .prepare = [&](auto& dir) { dir.write("male.txt", longName); },
       .arguments = batch,
       .exitCode = 1,
       .errorOutput = "towngen: male.txt:2: a name longer than 1,024 bytes\n"},
      {.what = "a name of 4 MB, in the dialogue",
       .prepare = [&](auto& dir) { dir.write("male.txt", longName); },
       .input = dialogue,
       .errorOutput = noData,
       .outputHolds = "\n male.txt opened successfully - loading...\n male.txt:2: a name longer "
                      "than 1,024 bytes\n Total Loaded (male.txt) 0\n\n female.txt"},
      {.what = "a word of 4 MB in the catalogue's note",
       .prepare = [&](auto& dir) { dir.write("data.txt", "<note>\n\n" + repeated('n', 4 << 20)); },
       .arguments = batch,
       .errorOutput = "towngen: warning: data.txt:3: a word longer than 1,024 bytes - the magic "
                      "items from there on were not loaded\n",
       .leftOnDisk = {kTownFile}},
      {.what = "a name list that is a device",
       .prepare = [](auto& dir) { replaceBy(dir, "male.txt", "/dev/zero"); },
       .arguments = batch,
       .exitCode = 1,
       .errorOutput = "towngen: cannot load male.txt: a device, not a regular file\n"},
      {.what = "a catalogue that is a device",
       .prepare = [](auto& dir) { replaceBy(dir, "data.txt", "/dev/zero"); },
       .arguments = batch,
       .errorOutput = "towngen: warning: cannot open data.txt: a device, not a regular file; the "
                      "town has no magic items\n",
       .leftOnDisk = {kTownFile}},
      {.what = "a name list that is a named pipe",
       .prepare = [](auto& dir) { replaceBy(dir, "last.txt", nullptr); },
       .arguments = batch,
       .exitCode = 1,
       .errorOutput = "towngen: cannot load last.txt: a named pipe, not a regular file\n"},
      {.what = "a named pipe, in the dialogue",
       .prepare = [](auto& dir) { replaceBy(dir, "female.txt", nullptr); },
       .input = dialogue,
       .errorOutput = noData,
       .outputHolds = "Data file \"female.txt\" failed to open\n"},
      {.what = "a limit on file size",
       .arguments = {"--town", kTownFile, "--population", "3000", "--quiet"},
       .fileSizeLimit = 100 << 10,
       .exitCode = 1,
       .errorOutput = "towngen: cannot write T.txt: File too large\n"},
      {.what = "the unfinished files of a killed run and of a running one",
       .prepare =
           [&](auto& dir) {
             dir.write(unfinished(kTownFile, ended), "left by a killed run");
             dir.write(running, "still being written");
           },
       .arguments = batch,
       .errorOutput = "towngen: removed " + unfinished(kTownFile, ended) +
                      ", left unfinished by a run that was stopped\n",
       .leftOnDisk = {kTownFile, running}},
      {.what = "the unfinished file of a killed run, in the dialogue",
       .prepare = [&](auto& dir) { dir.write(unfinished(kTownFile, ended), "left"); },
       .input = dialogue,
       .leftOnDisk = {kTownFile}},
      {.what = "a link that names no file",
       .prepare = dangle,
       .arguments = {"--town", "dangling.txt", "--population", "5", "--quiet"},
       .leftOnDisk = {"dangling.txt", "made.txt"},
       .check = expectLinkKept},
      {.what = "traits.txt named as the dialogue's town",
       .input = "traits.txt\n5\n0\n60\n0\n",
       .outputHolds = "\n traits.txt is a data file of this program and cannot be a town name - "
                      "try again.\n",
       .check =
           [](auto& dir) {
             EXPECT_EQ(dir.read("traits.txt"),
                       dir.read(std::string(TOWNGEN_GAMEDATA_DIR) + "/traits.txt"));
           }},
      {.what = "a trait of 4 MB",
       .prepare =
           [&](auto& dir) {
             dir.write("traits.txt", "<note> </note>\n" + repeated('t', 4 << 20) + " quirk\n");
           },
       .arguments = {"--town", kTownFile, "--population", "20", "--traits", "--quiet"},
       .exitCode = 1,
       .errorOutput = "towngen: traits.txt:2: a word longer than 1,024 bytes\n"},
      {.what = "traits.txt that is a device",
       .prepare = [](auto& dir) { replaceBy(dir, "traits.txt", "/dev/zero"); },
       .arguments = {"--town", kTownFile, "--population", "20", "--traits", "--quiet"},
       .exitCode = 1,
       .errorOutput = "towngen: cannot load traits.txt: a device, not a regular file\n"},
      {.what = "a child's trait after 32,768 others of its kind",
       .prepare =
           [&](auto& dir) {
             std::string traits = "<note> </note>\nx manner y motive z quirk w secret\n";
             for (int i = 0; i < 32768; ++i) traits += "a_face appearance\n";
             dir.write("traits.txt", traits + "CHILDLOOK appearance/child\n");
           },
       .arguments = {"--town", kTownFile, "--population", "200", "--traits", "--seed", "1",
                     "--quiet"},
       .leftOnDisk = {kTownFile},
       .check =
           [](auto& dir) {
             EXPECT_NE(dir.read(kTownFile).find("Traits: CHILDLOOK; "), std::string::npos);
           }},
      {.what = "households at the top of the age range",
       .arguments = {"--town", kTownFile, "--population", "2000", "--households", "--seed", "9",
                     "--min-age", "2147483600", "--max-age", "2147483646", "--quiet"},
       .leftOnDisk = {kTownFile}},
  };
  for (const HostileCase& c : cases) runCase(c);
}

// Links of another user can be made only by the superuser.
TEST(HostileInput, LinksOfAnotherUser) {
  if (geteuid() != 0) GTEST_SKIP() << "only the superuser can make a link of another user";
  const auto makeTown = [](auto& dir) {
    testing::RunOptions options;
    options.arguments = {"--town", kTownFile, "--population", "30", "--seed", "1", "--quiet"};
    ASSERT_EQ(testing::runProgram(dir.path(), "", options).exitCode, 0);
  };
  const auto refused = [](const std::string& program, const std::string& verb,
                          const std::string& path) {
    return program + ": cannot " + verb + " " + path + kNotFollowed;
  };
  const std::vector<std::string> town = {"--population", "5", "--quiet", "--town"};
  const auto towngen = [&](const std::string& path) {
    std::vector<std::string> arguments = town;
    arguments.push_back(path);
    return arguments;
  };
  const HostileCase cases[] = {
      {.what = "a link of another user in a shared folder",
       .prepare = shareFolderWithLinks,
       .arguments = towngen("shared/Foreign.txt"),
       .exitCode = 1,
       .errorOutput = refused("towngen", "create", "shared/Foreign.txt"),
       .leftOnDisk = kSharedFolder,
       .check = [](auto& dir) { expectVictim(dir, false); }},
      {.what = "a link of one's own in a shared folder, to another user's file",
       .prepare = shareAnotherUsersFile,
       .arguments = towngen("shared/Own.txt"),
       .leftOnDisk = kSharedFolder,
       .check =
           [](auto& dir) {
             expectVictim(dir, true);
             struct stat status {};
             ASSERT_EQ(stat((dir.path() / "shared/victim.txt").c_str(), &status), 0);
             EXPECT_EQ(status.st_uid, kNobody);
             EXPECT_EQ(status.st_gid, kNobody);
             EXPECT_EQ(status.st_mode & 07777, 0600u);
           }},
      {.what = "a link of the folder's owner in a shared folder",
       .prepare =
           [](auto& dir) {
             shareFolderWithLinks(dir);
             ASSERT_EQ(chown((dir.path() / "shared").c_str(), kNobody, kNobody), 0);
           },
       .arguments = towngen("shared/Foreign.txt"),
       .leftOnDisk = kSharedFolder,
       .check = [](auto& dir) { expectVictim(dir, true); }},
      {.what = "a link of one's own to another user's link",
       .prepare = chainLinks,
       .arguments = towngen("shared/Chain.txt"),
       .exitCode = 1,
       .errorOutput = refused("towngen", "create", "shared/Chain.txt"),
       .leftOnDisk = kChainLinks,
       .check = [](auto& dir) { expectVictim(dir, false); }},
      {.what = "a link in a folder of one's own to another user's link",
       .prepare = chainLinks,
       .arguments = towngen("normal/Through.txt"),
       .exitCode = 1,
       .errorOutput = refused("towngen", "create", "normal/Through.txt"),
       .leftOnDisk = kChainLinks,
       .check = [](auto& dir) { expectVictim(dir, false); }},
      {.what = "another user's link of a folder on the way",
       .prepare = chainLinks,
       .arguments = towngen("shared/folder/new.txt"),
       .exitCode = 1,
       .errorOutput = refused("towngen", "create", "shared/folder/new.txt"),
       .leftOnDisk = kChainLinks},
      {.what = "towncensus: a link of another user in a shared folder",
       .prepare =
           [&](auto& dir) {
             makeTown(dir);
             shareFolderWithLinks(dir);
           },
       .program = TOWNCENSUS_BINARY,
       .arguments = {"--csv", "shared/Foreign.txt", kTownFile},
       .exitCode = 1,
       .errorOutput = refused("towncensus", "write", "shared/Foreign.txt"),
       .leftOnDisk = sharedFolderAnd({kTownFile}),
       .check = [](auto& dir) { expectVictim(dir, false); }},
      {.what = "towncensus: a link in a folder of one's own to another user's link",
       .prepare =
           [&](auto& dir) {
             makeTown(dir);
             chainLinks(dir);
           },
       .program = TOWNCENSUS_BINARY,
       .arguments = {"--json", "normal/Through.txt", kTownFile},
       .exitCode = 1,
       .errorOutput = refused("towncensus", "write", "normal/Through.txt"),
       .leftOnDisk =
           [] {
             std::vector<std::string> files = kChainLinks;
             files.insert(files.begin(), kTownFile);
             return files;
           }(),
       .check = [](auto& dir) { expectVictim(dir, false); }},
  };
  for (const HostileCase& c : cases) runCase(c);
}

// A town of one townsperson with `gems` as its gem line.
std::string townWithGems(const std::string& gems) {
  return "1) Name: Hal Dunn Sex: Male Occupation: Farmer\r\nAge: 30 Str: 9 Dex: 9 Con: 9 Int: 9 "
         "Wis: 9 Cha: 9 Com: 9\r\nCoins:\r\n1cp\r\nGems(s):\r\n" +
         gems;
}

// A town of `count` townspeople, each named and employed by `person(i)`.
std::string townOf(int count, const std::function<std::string(int)>& person) {
  std::string town;
  for (int i = 1; i <= count; ++i) {
    if (i > 1) town += "\r\n\r\n";
    town += std::to_string(i) + ") Name: " + person(i) +
            "\r\nAge: 30 Str: 9 Dex: 9 Con: 9 Int: 9 Wis: 9 Cha: 9 Com: 9\r\nCoins:\r\n1cp";
  }
  return town;
}

TEST(HostileInput, Towncensus) {
  const pid_t ended = endedProcess();
  const auto makeTown = [](auto& dir) {
    testing::RunOptions options;
    options.arguments = {"--town", kTownFile, "--population", "3000", "--seed", "1", "--quiet"};
    ASSERT_EQ(testing::runProgram(dir.path(), "", options).exitCode, 0);
  };
  const std::vector<std::string> csv = {"--csv", "out.csv", "--jsonl", "out.jsonl", kTownFile};
  const HostileCase cases[] = {
      {.what = "a line of 16 MB",
       .prepare =
           [](auto& dir) {
             dir.write(kTownFile,
                       townWithGems("x (1gp)\r\nMagic Item(s):\r\n" + repeated('i', 16 << 20)));
           },
       .program = TOWNCENSUS_BINARY,
       .arguments = {"--html", "page.html", kTownFile},
       .exitCode = 1,
       .errorOutput = "towncensus: T.txt:8: line longer than 64 KiB\n",
       .leftOnDisk = {kTownFile}},
      {.what = "5,000 different occupations of 8 KB",
       .prepare =
           [](auto& dir) {
             dir.write(kTownFile, townOf(5000, [](int i) {
                         return "Hal Dunn Sex: Male Occupation: " + std::to_string(i) +
                                repeated('o', 8 << 10);
                       }));
           },
       .program = TOWNCENSUS_BINARY,
       .arguments = {"--html", "page.html", "--census", kTownFile},
       .outputHolds = "  1       1000ooooo",
       .mostMemoryMb = 100,
       .leftOnDisk = {kTownFile, "page.html"}},
      {.what = "3,000 names of 30 KB",
       .prepare =
           [](auto& dir) {
             dir.write(kTownFile, townOf(3000, [](int i) {
                         return "Hal" + std::to_string(i) + " " + repeated('n', 30 << 10) +
                                " Sex: Male Occupation: Farmer";
                       }));
           },
       .program = TOWNCENSUS_BINARY,
       .arguments = {"--html", "page.html", kTownFile},
       .mostMemoryMb = 100,
       .leftOnDisk = {kTownFile, "page.html"}},
      {.what = "gems worth more than a double holds, summed",
       .prepare =
           [](auto& dir) {
             dir.write(kTownFile, townWithGems("Ruby (9.99999e+307gp) Ruby (9.99999e+307gp)"));
           },
       .program = TOWNCENSUS_BINARY,
       .arguments = {"--json", "out.json", kTownFile},
       .exitCode = 1,
       .errorOutput =
           "towncensus: T.txt:6: the file ends early: expected a gem line such as \"Jasper "
           "(50gp) Pearl (575gp)\" (values above zero and below 1e+12, written with "
           "up to six significant digits)\n",
       .leftOnDisk = {kTownFile}},
      {.what = "a town cut after a line end",
       .prepare = [](auto& dir) { dir.write(kTownFile, townWithGems("Ruby (50gp)\r\n")); },
       .program = TOWNCENSUS_BINARY,
       .arguments = {kTownFile},
       .exitCode = 1,
       .errorOutput = "towncensus: T.txt:6: the file ends in a line end, which towngen never "
                      "writes last: it may have been cut short\n",
       .leftOnDisk = {kTownFile}},
      {.what = "a limit on file size",
       .prepare = makeTown,
       .program = TOWNCENSUS_BINARY,
       .arguments = csv,
       .fileSizeLimit = 100 << 10,
       .exitCode = 1,
       .errorOutput = "towncensus: cannot write out.csv: File too large\n",
       .leftOnDisk = {kTownFile}},
      {.what = "the unfinished file of a killed run",
       .prepare =
           [&](auto& dir) {
             makeTown(dir);
             dir.write(unfinished("out.csv", ended), "left by a killed run");
           },
       .program = TOWNCENSUS_BINARY,
       .arguments = csv,
       .errorOutput = "towncensus: removed " + unfinished("out.csv", ended) +
                      ", left unfinished by a run that was stopped\n",
       .leftOnDisk = {kTownFile, "out.csv", "out.jsonl"}},
      {.what = "a link that names no file",
       .prepare =
           [&](auto& dir) {
             makeTown(dir);
             dangle(dir);
           },
       .program = TOWNCENSUS_BINARY,
       .arguments = {"--csv", "dangling.txt", kTownFile},
       .leftOnDisk = {kTownFile, "dangling.txt", "made.txt"},
       .check = expectLinkKept},
  };
  for (const HostileCase& c : cases) runCase(c);
}

}  // namespace
}  // namespace towngen

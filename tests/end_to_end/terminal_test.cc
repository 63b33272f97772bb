// The built program on a real (pseudo-)terminal: the screen is cleared at each
// prompt, the key wait takes one key without Enter and without echo, and the
// terminal's settings come back afterwards, also when Ctrl-C ends the wait.

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "data/data_source.h"
#include "tests/end_to_end/program_run.h"
#include "tests/scratch_dir.h"

namespace towngen {
namespace {

constexpr const char* kClear = "\x1b[H\x1b[2J\x1b[3J";
constexpr const char* kKeyWait = "Press any key to continue . . . ";

class TerminalSession {
 public:
  // `fileSizeLimit`, when not 0, is the most bytes the program may write to a
  // file: a write past it fails as on a full disk.
  explicit TerminalSession(const std::filesystem::path& workDir,
                           std::vector<std::string> arguments = {}, rlim_t fileSizeLimit = 0) {
    winsize size{};
    size.ws_row = 40;
    size.ws_col = 100;
    child_ = forkpty(&master_, nullptr, nullptr, &size);
    if (child_ == 0) {
      if (chdir(workDir.c_str()) != 0) _exit(126);
      if (fileSizeLimit != 0) {
        signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the program
        const rlimit limit = {fileSizeLimit, fileSizeLimit};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(125);
      }
      std::vector<char*> argv = {const_cast<char*>("towngen")};
      for (std::string& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      execv(TOWNGEN_BINARY, argv.data());
      _exit(127);
    }
  }
  ~TerminalSession() {
    if (child_ > 0 && !ended_) {
      kill(child_, SIGKILL);
      waitpid(child_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
  }

  bool started() const { return child_ > 0; }

  // Reads the screen output until `text` has appeared; returns all read so far
  // in this call (empty on a time-out).
  std::string readUntil(const std::string& text,
                        std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
    std::string seen;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (seen.find(text) == std::string::npos) {
      if (std::chrono::steady_clock::now() > deadline) return {};
      pollfd fd = {master_, POLLIN, 0};
      if (poll(&fd, 1, 100) <= 0) continue;
      char buffer[4096];
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) return seen;
      seen.append(buffer, static_cast<std::size_t>(n));
    }
    return seen;
  }

  void type(const std::string& keys) {
    ASSERT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }

  // Whether the terminal is in its usual line mode: lines and echo.
  bool lineModeWithEcho() const {
    termios settings{};
    if (tcgetattr(master_, &settings) != 0) return false;
    return (settings.c_lflag & ICANON) != 0 && (settings.c_lflag & ECHO) != 0;
  }

  int waitForSignal() {
    int status = 0;
    waitpid(child_, &status, 0);
    ended_ = true;
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  }

 private:
  int master_ = -1;
  pid_t child_ = -1;
  bool ended_ = false;
};

int occurrences(const std::string& text, const std::string& part) {
  int count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(Terminal, ClearsWaitsForOneKeyAndRestoresSettings) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  TerminalSession terminal(dir.path());
  ASSERT_TRUE(terminal.started());

  const std::string introduction = terminal.readUntil(kKeyWait);
  ASSERT_FALSE(introduction.empty());
  EXPECT_LT(introduction.find(kClear), introduction.find("This program generates"));
  EXPECT_FALSE(terminal.lineModeWithEcho());  // single keys, no echo, while waiting

  terminal.type("%");  // one key, no Enter
  const std::string townPrompt = terminal.readUntil("characeters - to include the file");
  ASSERT_FALSE(townPrompt.empty());
  EXPECT_EQ(townPrompt.find('%'), std::string::npos);  // the key was not echoed
  EXPECT_EQ(townPrompt.rfind(std::string("\r\n") + kClear, 0), 0u);
  EXPECT_TRUE(terminal.lineModeWithEcho());

  terminal.type("T.txt\r");
  const std::string population = terminal.readUntil("single character");
  terminal.type("3\r");
  const std::string ages = terminal.readUntil("use 0 for infants");
  terminal.type("0\r60\r");
  const std::string done = terminal.readUntil(kKeyWait);
  EXPECT_EQ(occurrences(population + ages + done, kClear), 2);  // population, ages
  EXPECT_NE(done.find("Population generation complete."), std::string::npos);
  EXPECT_FALSE(terminal.lineModeWithEcho());

  terminal.type("\x03");  // Ctrl-C during the key wait
  EXPECT_EQ(terminal.waitForSignal(), SIGINT);
  EXPECT_TRUE(terminal.lineModeWithEcho());
}

// Passes the introduction, answers for a town of `population` and waits until
// the 2000th townspeople is counted.
void startTown(TerminalSession& terminal, const std::string& population) {
  ASSERT_TRUE(terminal.started());
  ASSERT_FALSE(terminal.readUntil(kKeyWait).empty());
  terminal.type(" ");
  terminal.readUntil("characeters - to include the file");
  terminal.type("Big.txt\r" + population + "\r0\r60\r");
  ASSERT_FALSE(terminal.readUntil("\r\n2000\r\n").empty());
}

TEST(Terminal, CtrlCDuringGenerationLeavesTheTerminalUsable) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  TerminalSession terminal(dir.path());
  startTown(terminal, "2000000000");
  terminal.type("\x03");
  EXPECT_EQ(terminal.waitForSignal(), SIGINT);
  EXPECT_TRUE(terminal.lineModeWithEcho());
}

TEST(Terminal, KeysTypedDuringGenerationDoNotAnswerTheKeyWait) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  TerminalSession terminal(dir.path());
  startTown(terminal, "200000");
  terminal.type("x 1\r");  // typed ahead while the town is made
  ASSERT_FALSE(terminal.readUntil(kKeyWait).empty());
  // Still waiting for a key a second later.
  EXPECT_EQ(terminal.readUntil("Enter '0' or less", std::chrono::seconds(1)), "");
  terminal.type("k");
  EXPECT_FALSE(terminal.readUntil("Enter '0' or less").empty());
}

// A town that cannot be written is removed as soon as that is known, so a
// Ctrl-C at the key wait that follows leaves nothing behind.
TEST(Terminal, AFailedTownIsGoneBeforeTheKeyWait) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  dir.write("T.txt", "an earlier town");
  TerminalSession terminal(dir.path(), {}, 1 << 16);
  ASSERT_TRUE(terminal.started());
  terminal.readUntil(kKeyWait);
  terminal.type("k");
  terminal.readUntil("characeters - to include the file");
  terminal.type("T.txt\r2000\r0\r60\r");
  const std::string screen = terminal.readUntil(kKeyWait);
  EXPECT_NE(screen.find("Writing the town file T.txt failed: File too large. An earlier file of "
                        "that name is kept."),
            std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
            std::ssize(kDataFileNames) + 1);  // the data files and the earlier town
  terminal.type("\x03");
  EXPECT_EQ(terminal.waitForSignal(), SIGINT);
  EXPECT_EQ(dir.read("T.txt"), "an earlier town");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
            std::ssize(kDataFileNames) + 1);  // the data files and the earlier town
  EXPECT_TRUE(terminal.lineModeWithEcho());
}

// A town made without the dialogue shows a progress line on a terminal, erased
// at the end and when Ctrl-C stops it; on a pipe, nothing but the summary.
TEST(Terminal, BatchProgressShowsOnATerminalOnly) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  const std::string erase = "\r" + std::string(78, ' ') + "\r";
  {
    TerminalSession terminal(dir.path(), {"--town", "Big.txt", "--population", "3000000"});
    ASSERT_TRUE(terminal.started());
    const std::string screen = terminal.readUntil(" townspeople, ");
    EXPECT_NE(screen.find("%  "), std::string::npos);
    EXPECT_NE(screen.find(" townspeople/s  "), std::string::npos);
    EXPECT_NE(screen.find(erase + "Big.txt: 3,000,000 townspeople, "), std::string::npos);
  }
  {
    dir.write("Big.txt", "an earlier town");
    TerminalSession terminal(dir.path(), {"--town", "Big.txt", "--population", "2000000000"});
    ASSERT_FALSE(terminal.readUntil(" townspeople/s  ").empty());
    terminal.type("\x03");
    EXPECT_NE(terminal.readUntil(erase), "");
    EXPECT_EQ(terminal.waitForSignal(), SIGINT);
    EXPECT_EQ(dir.read("Big.txt"), "an earlier town");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
              std::ssize(kDataFileNames) + 1);  // the data files and the earlier town
  }
  testing::RunOptions piped;
  piped.arguments = {"--town", "Piped.txt", "--population", "300000", "--seed", "5"};
  const testing::RunResult result = testing::runProgram(dir.path(), "", piped);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output, "");
  EXPECT_EQ(result.errorOutput.rfind("Piped.txt: 300,000 townspeople, ", 0), 0u);
  EXPECT_EQ(result.errorOutput.substr(result.errorOutput.size() - 9), ", seed 5\n");
}

}  // namespace
}  // namespace towngen

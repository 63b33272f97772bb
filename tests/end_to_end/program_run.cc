#include "tests/end_to_end/program_run.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace towngen::testing {
namespace {

constexpr uid_t kNobody = 65534;

[[noreturn]] void execProgram(const std::filesystem::path& workDir, int in, int out,
                              bool asNobody) {
  dup2(in, STDIN_FILENO);
  dup2(out, STDOUT_FILENO);
  const int devNull = open("/dev/null", O_WRONLY);
  dup2(devNull, STDERR_FILENO);
  if (chdir(workDir.c_str()) != 0) _exit(126);
  if (asNobody && geteuid() == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(125);
  }
  execl(TOWNGEN_BINARY, "towngen", static_cast<char*>(nullptr));
  _exit(127);
}

}  // namespace

RunResult runProgram(const std::filesystem::path& workDir, const std::string& input,
                     const RunOptions& options) {
  std::array<int, 2> toChild{};
  std::array<int, 2> fromChild{};
  RunResult result;
  if (pipe(toChild.data()) != 0 || pipe(fromChild.data()) != 0) return result;
  const pid_t child = fork();
  if (child == 0) {
    close(toChild[1]);
    close(fromChild[0]);
    execProgram(workDir, toChild[0], fromChild[1], options.asNobody);
  }
  close(toChild[0]);
  close(fromChild[1]);
  fcntl(toChild[1], F_SETFL, O_NONBLOCK);
  signal(SIGPIPE, SIG_IGN);  // the program may end before reading all input

  std::size_t written = 0;
  bool interrupted = false;
  int inFd = input.empty() ? (close(toChild[1]), -1) : toChild[1];
  const auto deadline = std::chrono::steady_clock::now() + options.timeout;
  std::array<char, 1 << 16> buffer{};
  while (true) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      result.timedOut = true;
      break;
    }
    std::array<pollfd, 2> fds = {{{fromChild[0], POLLIN, 0}, {inFd, POLLOUT, 0}}};
    if (poll(fds.data(), inFd >= 0 ? 2 : 1, 200) < 0 && errno != EINTR) break;
    if (inFd >= 0 && (fds[1].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
      const ssize_t n = write(inFd, input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n < 0 || written == input.size()) {
        close(inFd);
        inFd = -1;
      }
    }
    if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
      const ssize_t n = read(fromChild[0], buffer.data(), buffer.size());
      if (n <= 0) break;  // the program closed its output: it has ended
      result.output.append(buffer.data(), static_cast<std::size_t>(n));
      if (!interrupted && !options.interruptWhenSeen.empty() &&
          result.output.find(options.interruptWhenSeen) != std::string::npos) {
        kill(child, options.interruptSignal);
        interrupted = true;
      }
    }
  }
  if (inFd >= 0) close(inFd);
  close(fromChild[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

}  // namespace towngen::testing

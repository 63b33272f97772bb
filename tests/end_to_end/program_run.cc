#include "tests/end_to_end/program_run.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace towngen::testing {
namespace {

constexpr uid_t kNobody = 65534;

[[noreturn]] void execProgram(const std::filesystem::path& workDir, std::array<int, 3> streams,
                              const RunOptions& options) {
  for (int i = 0; i < 3; ++i) dup2(streams[static_cast<std::size_t>(i)], i);
  if (chdir(workDir.c_str()) != 0) _exit(126);
  if (options.memoryLimit != 0) {
    const rlimit limit = {options.memoryLimit, options.memoryLimit};
    if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(124);
  }
  if (options.fileSizeLimit != 0) {
    const rlimit limit = {options.fileSizeLimit, options.fileSizeLimit};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(124);
  }
  if (options.asNobody && geteuid() == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(125);
  }
  std::vector<char*> argv;
  std::string name = std::filesystem::path(options.program).filename().string();
  argv.push_back(name.data());
  std::vector<std::string> arguments = options.arguments;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  execv(options.program.c_str(), argv.data());
  _exit(127);
}

// Reads what is there from `fd` into `into`; false once the other end closed.
bool drain(int fd, std::string& into) {
  std::array<char, 1 << 16> buffer{};
  const ssize_t n = read(fd, buffer.data(), buffer.size());
  if (n <= 0) return false;
  into.append(buffer.data(), static_cast<std::size_t>(n));
  return true;
}

}  // namespace

RunResult runProgram(const std::filesystem::path& workDir, const std::string& input,
                     const RunOptions& options) {
  std::array<int, 2> toChild{};
  std::array<int, 2> fromChild{};
  std::array<int, 2> errorsFromChild{};
  RunResult result;
  if (pipe(toChild.data()) != 0 || pipe(fromChild.data()) != 0 ||
      pipe(errorsFromChild.data()) != 0) {
    return result;
  }
  const pid_t child = fork();
  if (child == 0) {
    close(toChild[1]);
    close(fromChild[0]);
    close(errorsFromChild[0]);
    execProgram(workDir, {toChild[0], fromChild[1], errorsFromChild[1]}, options);
  }
  close(toChild[0]);
  close(fromChild[1]);
  close(errorsFromChild[1]);
  fcntl(toChild[1], F_SETFL, O_NONBLOCK);
  signal(SIGPIPE, SIG_IGN);  // the program may end before reading all input

  std::size_t written = 0;
  bool interrupted = false;
  int inFd = toChild[1];
  if (input.empty() && !options.keepInputOpen) inFd = (close(inFd), -1);
  int outFd = fromChild[0];
  int errFd = errorsFromChild[0];
  const auto deadline = std::chrono::steady_clock::now() + options.timeout;
  while (outFd >= 0 || errFd >= 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      result.timedOut = true;
      break;
    }
    const bool writing = inFd >= 0 && written < input.size();
    std::array<pollfd, 3> fds = {
        {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}, {writing ? inFd : -1, POLLOUT, 0}}};
    const int pause = options.askWithoutPause && !interrupted ? 0 : 200;
    if (poll(fds.data(), fds.size(), pause) < 0 && errno != EINTR) break;
    if (writing && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
      const ssize_t n = write(inFd, input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n < 0 || (written == input.size() && !options.keepInputOpen)) inFd = (close(inFd), -1);
    }
    if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0 && !drain(outFd, result.output)) {
      outFd = (close(outFd), -1);
    }
    if ((fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0 && !drain(errFd, result.errorOutput)) {
      errFd = (close(errFd), -1);
    }
    const bool seen = !options.interruptWhenSeen.empty() &&
                      result.output.find(options.interruptWhenSeen) != std::string::npos;
    if (!interrupted && (seen || (options.interruptWhen && options.interruptWhen()))) {
      kill(child, options.interruptSignal);
      interrupted = true;
    }
  }
  for (int fd : {inFd, outFd, errFd}) {
    if (fd >= 0) close(fd);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  result.peakMemoryKb = usage.ru_maxrss;
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

}  // namespace towngen::testing

#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace towngen::testing {

struct RunOptions {
  std::chrono::seconds timeout{120};
  // Run as the unprivileged user "nobody" (when the tests run as root), so that
  // file permissions apply.
  bool asNobody = false;
  // Send `interruptSignal` once the output holds this text (when not empty).
  std::string interruptWhenSeen;
  int interruptSignal = 2;  // SIGINT
};

struct RunResult {
  int exitCode = -1;  // -1 when the program did not exit normally
  int signal = 0;     // the signal that ended it, if one did
  bool timedOut = false;
  std::string output;  // standard output; standard error is dropped
};

// Runs the built towngen in `workDir` with `input` as its standard input.
RunResult runProgram(const std::filesystem::path& workDir, const std::string& input,
                     const RunOptions& options = {});

}  // namespace towngen::testing

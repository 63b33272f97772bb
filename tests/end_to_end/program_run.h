#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace towngen::testing {

struct RunOptions {
  std::chrono::seconds timeout{120};
  // The program to run, and its arguments after its name.
  std::string program = TOWNGEN_BINARY;
  std::vector<std::string> arguments;
  // Run as the unprivileged user "nobody" (when the tests run as root), so that
  // file permissions apply.
  bool asNobody = false;
  // Send `interruptSignal` once the output holds this text (when not empty), or
  // once `interruptWhen` (when set, asked a few times a second) says so.
  std::string interruptWhenSeen;
  std::function<bool()> interruptWhen;
  int interruptSignal = 2;  // SIGINT
  // Ask `interruptWhen` as often as it can be asked, for an interrupt at the
  // earliest moment.
  bool askWithoutPause = false;
  // The most address space the program may take, in bytes (0: no limit).
  std::uint64_t memoryLimit = 0;
  // The largest file the program may write, in bytes (0: no limit).
  std::uint64_t fileSizeLimit = 0;
  // Keep standard input open after the input is written, until the program
  // ends.
  bool keepInputOpen = false;
};

struct RunResult {
  int exitCode = -1;  // -1 when the program did not exit normally
  int signal = 0;     // the signal that ended it, if one did
  bool timedOut = false;
  std::string output;             // standard output
  std::string errorOutput;        // standard error
  std::int64_t peakMemoryKb = 0;  // the most memory it held at once (resident)
};

// Runs the program (the built towngen unless told otherwise) in `workDir` with
// `input` as its standard input.
RunResult runProgram(const std::filesystem::path& workDir, const std::string& input,
                     const RunOptions& options = {});

}  // namespace towngen::testing

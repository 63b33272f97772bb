#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "driver/console.h"

namespace towngen {

// Where towngen's command line runs: its streams, the console of the
// dialogue, whether standard error is a terminal (for the progress bar) and
// the seeds to use when none is given: the dialogue's from the clock, batch
// mode's from the system's entropy, so that towns made in one second differ.
struct CommandLineSetting {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  Console& console;
  bool errIsTerminal = false;
  std::uint32_t clockSeed = 0;
  std::uint32_t freshSeed = 0;
  // Called before a town is written to standard output (`--town -`), to put
  // it in binary mode where the system has another; may be null.
  void (*binaryOutput)() = nullptr;
};

// The whole towngen program: `arguments` are the command line after the
// program name. With none it runs the dialogue exactly as it always has; the
// options add a seed, a town made without the dialogue (--town), and the
// default data files written into a folder (--init). Returns the exit status.
int runCommandLine(const std::vector<std::string>& arguments, const CommandLineSetting& setting);

}  // namespace towngen

// towngen: generates the population of a medieval fantasy town.

#include <cstdint>
#include <ctime>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define TOWNGEN_ISATTY _isatty
#else
#include <unistd.h>
#define TOWNGEN_ISATTY isatty
#endif

#include "common/interrupt_cleanup.h"
#include "driver/command_line.h"
#include "driver/terminal_console.h"

namespace {

// A town file's bytes go to standard output as they are: no line end is
// turned into another.
void binaryOutput() {
  std::cout.flush();
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  // The program reads and writes only through the C++ streams, so they need
  // not keep in step with C's stdio; unsynchronised, they buffer.
  std::ios::sync_with_stdio(false);
  towngen::treatFileSizeLimitAsWriteError();
  towngen::TerminalConsole console(std::cout);
  // The dialogue seeds from the clock, as it always has; a town made from the
  // command line from the system's entropy, so that two made in one second
  // differ. Either seed is said, so the town can be made again.
  const towngen::CommandLineSetting setting{std::cin,
                                            std::cout,
                                            std::cerr,
                                            console,
                                            TOWNGEN_ISATTY(2) == 1,
                                            static_cast<std::uint32_t>(std::time(nullptr)),
                                            static_cast<std::uint32_t>(std::random_device()()),
                                            binaryOutput};
  return towngen::runCommandLine(std::vector<std::string>(argv + 1, argv + argc), setting);
}

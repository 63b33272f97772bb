// towngen: generates the population of a medieval fantasy town.

#include <cstdint>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#define TOWNGEN_ISATTY _isatty
#else
#include <unistd.h>
#define TOWNGEN_ISATTY isatty
#endif

#include "driver/command_line.h"
#include "driver/terminal_console.h"

int main(int argc, char** argv) {
  // The program reads and writes only through the C++ streams, so they need
  // not keep in step with C's stdio; unsynchronised, they buffer.
  std::ios::sync_with_stdio(false);
  towngen::TerminalConsole console(std::cout);
  const towngen::CommandLineSetting setting{std::cin,
                                            std::cout,
                                            std::cerr,
                                            console,
                                            TOWNGEN_ISATTY(2) == 1,
                                            static_cast<std::uint32_t>(std::time(nullptr))};
  return towngen::runCommandLine(std::vector<std::string>(argv + 1, argv + argc), setting);
}

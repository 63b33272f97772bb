// towngen: generates the population of a medieval fantasy town.

#include <cstdint>
#include <ctime>
#include <iostream>

#include "common/random.h"
#include "driver/terminal_console.h"
#include "driver/town_dialogue.h"

int main() {
  // The program reads and writes only through the C++ streams, so they need
  // not keep in step with C's stdio; unsynchronised, they buffer.
  std::ios::sync_with_stdio(false);
  towngen::Random random(static_cast<std::uint32_t>(std::time(nullptr)));
  towngen::TerminalConsole console(std::cout);
  return towngen::runTowngen(std::cin, std::cout, console, random);
}

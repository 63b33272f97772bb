// towngen: generates the population of a medieval fantasy town.

#include <cstdint>
#include <ctime>
#include <iostream>

#include "common/random.h"
#include "driver/terminal_console.h"
#include "driver/town_dialogue.h"

int main() {
  towngen::Random random(static_cast<std::uint32_t>(std::time(nullptr)));
  towngen::TerminalConsole console(std::cout);
  return towngen::runTowngen(std::cin, std::cout, console, random);
}

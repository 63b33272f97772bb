// towncensus: a census of a town file, and its townspeople as CSV or JSON.

#include <iostream>
#include <string>
#include <vector>

#include "common/interrupt_cleanup.h"
#include "driver/towncensus.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  towngen::treatFileSizeLimitAsWriteError();
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return towngen::runTowncensus(arguments, std::cin, std::cout, std::cerr);
}

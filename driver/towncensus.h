#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace towngen {

// The whole towncensus program: `arguments` are the command line after the
// program name; `in` stands for the town file "-". Returns the exit status: 0
// on success, 1 when the file is not a town file or a file cannot be read or
// written, 2 for a usage error.
int runTowncensus(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
                  std::ostream& err);

}  // namespace towngen

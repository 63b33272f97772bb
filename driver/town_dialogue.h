#pragma once

#include <istream>
#include <ostream>

#include "common/console.h"
#include "common/random.h"

namespace towngen {

// The whole program on the given streams and console: loads the magic item
// catalogue and the name lists from the working directory, shows the
// introduction and makes towns until the user quits or the input ends.
// `random` must be seeded already. Returns the program's exit code.
int runTowngen(std::istream& in, std::ostream& out, Console& console, Random& random);

}  // namespace towngen

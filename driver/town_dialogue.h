#pragma once

#include <filesystem>
#include <istream>
#include <ostream>

#include "common/random.h"
#include "driver/console.h"

namespace towngen {

// The dialogue on the given streams and console: loads the magic item
// catalogue and the name lists from `folder` (the working directory when
// empty), shows the introduction and makes towns, named relative to `folder`,
// until the user quits or the input ends. `random` must be seeded already.
// When the name lists do not load, `hints` (if given) hears how to get the
// default data files. Returns the program's exit code.
int runTowngen(std::istream& in, std::ostream& out, Console& console, Random& random,
               const std::filesystem::path& folder = {}, std::ostream* hints = nullptr);

}  // namespace towngen

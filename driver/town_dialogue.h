#pragma once

#include <filesystem>
#include <istream>
#include <ostream>

#include "common/console.h"
#include "common/random.h"

namespace towngen {

// The dialogue on the given streams and console: loads the magic item
// catalogue and the name lists from `folder` (the working directory when
// empty), shows the introduction and makes towns, named relative to `folder`,
// until the user quits or the input ends. `random` must be seeded already.
// Returns the program's exit code.
int runTowngen(std::istream& in, std::ostream& out, Console& console, Random& random,
               const std::filesystem::path& folder = {});

// Whether the file `town` is one of the data files in `dataFolder`, as the
// same name or as another spelling of the same file.
bool namesDataFile(const std::filesystem::path& town, const std::filesystem::path& dataFolder);

}  // namespace towngen

#pragma once

#include <filesystem>
#include <istream>
#include <ostream>

#include "common/random.h"
#include "driver/console.h"
#include "town/town_shape.h"

namespace towngen {

// The dialogue on the given streams and console: loads the magic item
// catalogue and the name lists from `folder` (the working directory when
// empty), shows the introduction and makes towns, named relative to `folder`,
// until the user quits or the input ends. `random` must be seeded already.
// When the name lists do not load, `hints` (if given) hears how to get the
// default data files. The towns are of `shape`: a plain town's dialogue is
// the program's without arguments, byte for byte; a shape with traits loads
// traits.txt too (the built-in one where the folder has none, which `hints`
// hears), and ends with exit code 1 when the traits cannot be used. Returns
// the program's exit code.
int runTowngen(std::istream& in, std::ostream& out, Console& console, Random& random,
               const std::filesystem::path& folder = {}, std::ostream* hints = nullptr,
               const TownShape& shape = TownShape());

}  // namespace towngen

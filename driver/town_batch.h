#pragma once

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

#include "town/town_generation.h"

namespace towngen {

// One town made without the dialogue.
struct BatchTown {
  std::string path;  // the town file; may hold folders; "-": standard output
  std::int32_t population = 0;
  std::int32_t minAge = 0;
  std::int32_t maxAge = 60;          // included
  std::filesystem::path dataFolder;  // of the data files; empty: the working directory
  TownShape shape;                   // the optional lines asked for
  bool quiet = false;                // no summary line
};

// Makes the town from the data files with the random source seeded with
// `seed`: the same bytes the dialogue writes for the same seed and answers
// (its maximum age one more). Writes a town named "-" to `out`. Says on `err`
// what was made (unless quiet) and what went wrong.
// Returns the exit status: 0; 1 when a data file does not load or the town file
// cannot be created or written; 2 when the town would replace a data file.
int makeBatchTown(const BatchTown& town, std::uint32_t seed, std::ostream& out, std::ostream& err,
                  TownProgress* progress = nullptr);

}  // namespace towngen

#pragma once

#include <filesystem>
#include <ostream>

#include "data/data_source.h"

namespace towngen {

// Writes each default data file into `folder` (made when missing) unless a
// file of that name is there already, and says on `out` which it wrote and
// which it kept. Returns the exit status: 0, or 1 after saying on `err` what
// could not be written.
int initDataFolder(const std::filesystem::path& folder, std::ostream& out, std::ostream& err);

}  // namespace towngen

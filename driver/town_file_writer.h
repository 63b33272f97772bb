#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "townsfolk/townsperson.h"

namespace towngen {

// Appends the townsperson's block to `out` as it stands in the town file: every
// line end is CR LF, and the block ends with an empty line unless it is the
// town's last (number == population).
void appendTownsperson(std::string& out, const Townsperson& person, std::int32_t population);

// Writes the townsperson's block to the open town file.
void writeTownsperson(std::ostream& townFile, const Townsperson& person, std::int32_t population);

}  // namespace towngen

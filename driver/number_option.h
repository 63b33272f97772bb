#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>

#include "town/town_limits.h"

namespace towngen {

// A transform for a numeric option: its value must be a whole number from
// `low` to `high`, or the parse fails with a message in this program's words
// ("--population: 'abc' is not a whole number from 1 to 2,147,483,647"); the
// value is passed on in plain decimal, so that leading zeros never read as
// octal.
CLI::Validator wholeNumber(NumberRange range);

}  // namespace towngen

#include "town/town_limits.h"

#include "common/number_text.h"

namespace towngen {

std::string notAWholeNumber(std::string_view text, NumberRange range) {
  // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) of
  // "'" + std::string(...).
  std::string problem(1, '\'');
  problem.append(text);
  problem += "' is not a whole number from ";
  problem += grouped(range.low);
  problem += " to ";
  problem += grouped(range.high);
  return problem;
}

}  // namespace towngen

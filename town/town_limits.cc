#include "town/town_limits.h"

#include "common/number_text.h"

namespace towngen {

std::string notAWholeNumber(std::string_view text, NumberRange range) {
  return "'" + std::string(text) + "' is not a whole number from " + grouped(range.low) + " to " +
         grouped(range.high);
}

}  // namespace towngen

#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace towngen {

// The value of a word that is a whole decimal number with an optional sign and
// fits a 32-bit int; nothing for any other word.
std::optional<std::int32_t> parseWholeNumber(std::string_view word);

}  // namespace towngen

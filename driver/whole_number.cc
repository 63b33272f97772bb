#include "driver/whole_number.h"

#include <charconv>
#include <system_error>

namespace towngen {

std::optional<std::int32_t> parseWholeNumber(std::string_view word) {
  if (!word.empty() && word.front() == '+') {
    word.remove_prefix(1);
    if (!word.empty() && word.front() == '-') return std::nullopt;
  }
  std::int32_t value = 0;
  const char* end = word.data() + word.size();
  const std::from_chars_result result = std::from_chars(word.data(), end, value);
  if (word.empty() || result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

}  // namespace towngen

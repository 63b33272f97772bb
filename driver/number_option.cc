#include "driver/number_option.h"

#include <charconv>
#include <string>

namespace towngen {

CLI::Validator wholeNumber(NumberRange range) {
  return CLI::Validator(
      [range](std::string& text) -> std::string {
        std::int64_t value = 0;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, value);
        if (!text.empty() && error == std::errc() && stop == end && value >= range.low &&
            value <= range.high) {
          text = std::to_string(value);
          return {};
        }
        return notAWholeNumber(text, range);
      },
      "");
}

}  // namespace towngen

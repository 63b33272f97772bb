#include "driver/number_option.h"

#include <charconv>
#include <string>

#include "common/number_text.h"

namespace towngen {

CLI::Validator wholeNumber(std::int64_t low, std::int64_t high) {
  return CLI::Validator(
      [low, high](std::string& text) -> std::string {
        std::int64_t value = 0;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, value);
        if (!text.empty() && error == std::errc() && stop == end && value >= low && value <= high) {
          text = std::to_string(value);
          return {};
        }
        return "'" + text + "' is not a whole number from " + grouped(low) + " to " + grouped(high);
      },
      "");
}

}  // namespace towngen

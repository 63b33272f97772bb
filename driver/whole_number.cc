#include "driver/whole_number.h"

#include <charconv>
#include <system_error>

namespace towngen {

void WholeNumberWord::add(char c) {
  const bool first = characters_++ == 0;
  if (first && (c == '+' || c == '-')) {
    if (c == '-') kept_[length_++] = c;
    return;
  }
  if (c < '0' || c > '9') {
    broken_ = true;
    return;
  }
  const bool leadingZero = c == '0' && (length_ == 0 || kept_[length_ - 1] == '-');
  sawDigit_ = true;
  if (leadingZero) return;
  if (length_ < sizeof kept_) {
    kept_[length_++] = c;
  } else {
    tooLong_ = true;
  }
}

std::optional<std::int32_t> WholeNumberWord::value() const {
  if (broken_ || tooLong_ || !sawDigit_) return std::nullopt;
  const bool negative = length_ > 0 && kept_[0] == '-';
  const char* digits = kept_ + (negative ? 1 : 0);
  const char* end = kept_ + length_;
  if (digits == end) return 0;  // only zeros
  std::int64_t magnitude = 0;
  std::from_chars(digits, end, magnitude);  // at most 11 digits: always fits
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> parseWholeNumber(std::string_view word) {
  WholeNumberWord number;
  for (char c : word) number.add(c);
  return number.value();
}

}  // namespace towngen

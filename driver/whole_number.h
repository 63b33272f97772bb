#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace towngen {

// A whole-number answer taken a character at a time, however long: an
// optional leading sign, then decimal digits, leading zeros at any length.
// Only the sign and the first significant digits are kept, so a word of any
// length takes the same small room.
class WholeNumberWord {
 public:
  void add(char c);

  // The value when the word is such a number and fits a 32-bit int; nothing
  // otherwise.
  std::optional<std::int32_t> value() const;

 private:
  static constexpr std::size_t kKeep = 11;  // one more digit than any int has

  char kept_[kKeep + 1] = {};  // the sign, then the significant digits
  std::size_t length_ = 0;
  std::size_t characters_ = 0;
  bool sawDigit_ = false;
  bool tooLong_ = false;
  bool broken_ = false;
};

// The value of a word that is a whole decimal number with an optional sign and
// fits a 32-bit int; nothing for any other word.
std::optional<std::int32_t> parseWholeNumber(std::string_view word);

}  // namespace towngen

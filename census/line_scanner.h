#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace towngen {

// Walks a line from left to right; every step says whether the line went on as
// expected.
class LineScanner {
 public:
  explicit LineScanner(std::string_view line) : rest_(line) {}

  bool literal(std::string_view text) {
    if (!rest_.starts_with(text)) return false;
    rest_.remove_prefix(text.size());
    return true;
  }
  // The same for a quoted literal, whose length the compiler knows, so that
  // the comparison becomes a few instructions.
  template <std::size_t N>
  bool literal(const char (&text)[N]) {
    constexpr std::size_t length = N - 1;
    if (rest_.size() < length || std::memcmp(rest_.data(), text, length) != 0) return false;
    rest_.remove_prefix(length);
    return true;
  }

  // A whole number as towngen writes one: an optional minus and digits, with
  // no leading zero, fitting an int.
  bool number(std::int32_t& value) {
    const bool negative = !rest_.empty() && rest_[0] == '-';
    std::size_t at = negative ? 1 : 0;
    const std::size_t first = at;
    std::int64_t magnitude = 0;
    while (at < rest_.size() && rest_[at] >= '0' && rest_[at] <= '9' && at - first < 11) {
      magnitude = magnitude * 10 + (rest_[at++] - '0');
    }
    const std::size_t digits = at - first;
    if (digits == 0 || (rest_[first] == '0' && (digits > 1 || negative))) return false;  // 007, -0
    if (at < rest_.size() && rest_[at] >= '0' && rest_[at] <= '9') return false;  // too many digits
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue < std::numeric_limits<std::int32_t>::min() ||
        signedValue > std::numeric_limits<std::int32_t>::max()) {
      return false;
    }
    value = static_cast<std::int32_t>(signedValue);
    rest_.remove_prefix(at);
    return true;
  }

  // The text up to the first `c` (not included), or to the end of the line.
  std::string_view upTo(char c) const { return rest_.substr(0, rest_.find(c)); }
  void skip(std::size_t length) { rest_.remove_prefix(length); }

  // The text up to `end` (not included), which must follow; false without it.
  bool until(std::string_view end, std::string& text) {
    const std::size_t at = rest_.find(end);
    if (at == std::string_view::npos) return false;
    text.assign(rest_.substr(0, at));
    rest_.remove_prefix(at);
    return true;
  }

  std::string_view rest() const { return rest_; }
  bool atEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

// Whether `text`, a literal whose length the compiler knows, stands in
// `line` at `at`.
template <std::size_t N>
bool standsAt(std::string_view line, std::size_t at, const char (&text)[N]) {
  return line.size() - at >= N - 1 && std::memcmp(line.data() + at, text, N - 1) == 0;
}

}  // namespace towngen

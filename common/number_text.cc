#include "common/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <utility>

namespace towngen {
namespace {

// Below this a gold value's cents fit 64 bits with room to spare, and its
// binary exponent leaves a fraction to round.
constexpr double kLargestExactMoney = 1e15;

// The value's exact count of cents, rounded half to even. REQUIRES: 0 <= gold
// < kLargestExactMoney.
std::uint64_t centsOf(double gold) {
  int exponent = 0;
  const double fraction = std::frexp(gold, &exponent);  // gold = fraction * 2^exponent
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int shift = 53 - exponent;              // gold = mantissa / 2^shift, shift >= 3 here
  const std::uint64_t scaled = mantissa * 100;  // below 2^60
  if (shift > 60) return 0;                     // under half a cent
  std::uint64_t cents = scaled >> shift;
  const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  if (rest > half || (rest == half && cents % 2 == 1)) ++cents;
  return cents;
}

__extension__ typedef unsigned __int128 Wide;

// Powers of five, exact in 128 bits up to 5^54.
Wide powerOfFive(int exponent) {
  Wide power = 1;
  for (int i = 0; i < exponent; ++i) power *= 5;
  return power;
}

// Rounds numerator / denominator to a whole number, halfway to even.
std::uint64_t roundedQuotient(Wide numerator, Wide denominator) {
  Wide quotient = numerator / denominator;
  const Wide twiceRest = (numerator % denominator) * 2;
  if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 == 1)) ++quotient;
  return static_cast<std::uint64_t>(quotient);
}

// The value times 10^scale, rounded half to even, exactly: value is
// mantissa * 2^binary. Empty when the sum would not fit 128 bits.
std::optional<std::uint64_t> scaled(std::uint64_t mantissa, int binary, int scale) {
  // value * 10^scale = mantissa * 5^scale * 2^(binary + scale)
  if (scale > 25 || scale < -25) return std::nullopt;
  const int two = binary + scale;
  Wide numerator = mantissa;
  Wide denominator = 1;
  if (scale >= 0) {
    numerator *= powerOfFive(scale);
  } else {
    denominator = powerOfFive(-scale);
  }
  if (two >= 0) {
    if (two > 60) return std::nullopt;
    numerator <<= two;
  } else {
    if (-two > 60) return std::nullopt;
    denominator <<= -two;
  }
  return roundedQuotient(numerator, denominator);
}

// The six significant digits of a positive value and the decimal exponent of
// the first, as %e would round them; empty outside the exact range.
std::optional<std::pair<std::uint64_t, int>> sixDigitsOf(double value) {
  int binary = 0;
  const double fraction = std::frexp(value, &binary);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  binary -= 53;
  int exponent = static_cast<int>(std::floor(std::log10(value)));
  for (int tries = 0; tries < 3; ++tries) {
    const std::optional<std::uint64_t> digits = scaled(mantissa, binary, 5 - exponent);
    if (!digits) return std::nullopt;
    if (*digits < 100000) {
      --exponent;
    } else if (*digits >= 1000000) {
      if (*digits == 1000000) return std::pair{std::uint64_t{100000}, exponent + 1};
      ++exponent;
    } else {
      return std::pair{*digits, exponent};
    }
  }
  return std::nullopt;
}

}  // namespace

std::size_t writeSixDigits(char* out, double value) {
  const std::optional<std::pair<std::uint64_t, int>> six =
      value > 0 && std::isfinite(value) ? sixDigitsOf(value) : std::nullopt;
  if (!six) {
    const int length = std::snprintf(out, kSixDigitsRoom, "%.6g", value);
    return static_cast<std::size_t>(std::clamp(length, 0, int{kSixDigitsRoom} - 1));
  }
  auto [digits, exponent] = *six;
  char text[7];
  for (int i = 5; i >= 0; --i, digits /= 10) text[i] = static_cast<char>('0' + digits % 10);
  int kept = 6;
  while (kept > 1 && text[kept - 1] == '0') --kept;  // %g drops trailing zeros
  char* at = out;
  if (exponent < -4 || exponent >= 6) {
    *at++ = text[0];
    if (kept > 1) *at++ = '.';
    for (int i = 1; i < kept; ++i) *at++ = text[i];
    *at++ = 'e';
    *at++ = exponent < 0 ? '-' : '+';
    const int size = exponent < 0 ? -exponent : exponent;
    if (size >= 100) *at++ = static_cast<char>('0' + size / 100);
    *at++ = static_cast<char>('0' + size / 10 % 10);
    *at++ = static_cast<char>('0' + size % 10);
  } else if (exponent < 0) {
    *at++ = '0';
    *at++ = '.';
    for (int i = exponent + 1; i < 0; ++i) *at++ = '0';
    for (int i = 0; i < kept; ++i) *at++ = text[i];
  } else {
    for (int i = 0; i <= exponent; ++i) *at++ = text[i];
    if (kept > exponent + 1) *at++ = '.';
    for (int i = exponent + 1; i < kept; ++i) *at++ = text[i];
  }
  return static_cast<std::size_t>(at - out);
}

std::string formatted(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string groupDigits(std::string_view digits) {
  const std::size_t sign = !digits.empty() && digits[0] == '-' ? 1 : 0;
  std::string grouped(digits.substr(0, sign));
  for (std::size_t i = sign; i < digits.size(); ++i) {
    if (i > sign && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string grouped(std::int64_t value) { return groupDigits(std::to_string(value)); }

void appendMoney(std::string& out, double gold) {
  const double size = std::fabs(gold);
  if (!(size < kLargestExactMoney)) {  // huge, infinite or not a number
    char text[400];
    std::snprintf(text, sizeof text, "%.2f", gold);
    out += text;
    return;
  }
  if (std::signbit(gold)) out += '-';
  const std::uint64_t cents = centsOf(size);
  appendNumber(out, cents / 100);
  out += '.';
  out += static_cast<char>('0' + cents % 100 / 10);
  out += static_cast<char>('0' + cents % 10);
}

std::string money(double gold) {
  std::string text;
  appendMoney(text, gold);
  return text;
}

std::string share(std::int64_t part, std::int64_t whole) {
  return whole == 0
             ? "0.0%"
             : formatted("%.1f%%", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
}

}  // namespace towngen

#include "common/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <utility>

namespace towngen {
namespace {

// Below this a gold value's cents are worked out exactly (see scaled).
constexpr double kLargestExactMoney = 1e15;

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

// Rounds numerator / 2^shift to a whole number, halfway to even.
// REQUIRES: 0 < shift < 128.
std::uint64_t roundedShift(Wide numerator, int shift) {
  Wide quotient = numerator >> shift;
  const Wide rest = numerator & ((Wide{1} << shift) - 1);
  const Wide half = Wide{1} << (shift - 1);
  if (rest > half || (rest == half && quotient % 2 == 1)) ++quotient;
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
    if (denominator == 1) return roundedShift(numerator, -two);  // the usual case: no division
    denominator <<= -two;
  }
  return roundedQuotient(numerator, denominator);
}

// A positive finite value as mantissa * 2^binary, the mantissa below 2^53.
std::pair<std::uint64_t, int> binaryParts(double value) {
  int binary = 0;
  const double fraction = std::frexp(value, &binary);
  return {static_cast<std::uint64_t>(std::ldexp(fraction, 53)), binary - 53};
}

// The six significant digits of a positive value and the decimal exponent of
// the first, as %e would round them; empty outside the exact range.
std::optional<std::pair<std::uint64_t, int>> sixDigitsOf(double value) {
  const auto [mantissa, binary] = binaryParts(value);
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
  std::optional<std::uint64_t> cents;
  if (size == 0) {
    cents = 0;
  } else if (size < kLargestExactMoney) {
    const auto [mantissa, binary] = binaryParts(size);
    cents = scaled(mantissa, binary, 2);
  }
  if (!cents) {  // huge, tiny, infinite or not a number
    char text[400];
    std::snprintf(text, sizeof text, "%.2f", gold);
    out += text;
    return;
  }
  if (std::signbit(gold)) out += '-';
  appendNumber(out, *cents / 100);
  out += '.';
  out += static_cast<char>('0' + *cents % 100 / 10);
  out += static_cast<char>('0' + *cents % 10);
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

std::string copperAsGold(WideCount copper) {
  std::string digits;
  WideCount whole = copper / 100;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(whole % 10)));
    whole /= 10;
  } while (whole > 0);
  const auto cents = static_cast<int>(copper % 100);
  return digits + "." + static_cast<char>('0' + cents / 10) + static_cast<char>('0' + cents % 10) +
         " gp";
}

std::string groupedMoney(std::string_view text) {
  const std::size_t whole = std::min(text.find_first_not_of("-0123456789"), text.size());
  return groupDigits(text.substr(0, whole)) + std::string(text.substr(whole));
}

}  // namespace towngen

#include "common/number_text.h"

#include <cmath>
#include <cstdio>

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

}  // namespace

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

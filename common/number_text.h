#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace towngen {

// How numbers are written in everything the programs show and export, in one
// place so that every output writes the same value the same way.

// Appends a whole number as digits, without a stream's formatting.
template <typename Number>
void appendNumber(std::string& out, Number value) {
  char text[40];
  out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// A number as printf's `format` writes it, such as "%.2f".
std::string formatted(const char* format, double value);

// A whole number with its thousands separated: "12,345" (and "-1,000").
std::string groupDigits(std::string_view digits);
std::string grouped(std::int64_t value);

// Appends a sum of gold pieces with two decimals, rounded as its exact binary
// value says, halfway cases to the even cent: 0.125 as "0.12", 0.375 as
// "0.38". The same text as printf's "%.2f" on any system.
void appendMoney(std::string& out, double gold);
std::string money(double gold);

// Writes `value` as printf's "%.6g" writes it (six significant digits, the
// trailing zeros dropped: 500, 5.5, 0.1, 1.5e+06) into `out`, which has room
// for kSixDigitsRoom characters, and returns its length. Exact on every
// system, without floating-point to_chars.
inline constexpr std::size_t kSixDigitsRoom = 24;
std::size_t writeSixDigits(char* out, double value);

// Wide enough for any sum of a town's coins in copper pieces: every count fits
// an int and a town has at most 2^31 - 1 townspeople.
__extension__ typedef unsigned __int128 WideCount;

// A count of copper pieces in gold pieces with two decimals, exactly, however
// large: "12878.29 gp".
std::string copperAsGold(WideCount copper);

// A money text ("12878.29 gp", "-5.00") with the thousands of its whole part
// separated: "12,878.29 gp".
std::string groupedMoney(std::string_view text);

// `part` as a share of `whole` with one decimal: "12.5%"; "0.0%" of nothing.
std::string share(std::int64_t part, std::int64_t whole);

}  // namespace towngen

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace towngen {

// The numbers a town made without the dialogue may be asked for, on the
// command line and in the browser alike (whose page learns them from the
// engine), both ends included.
struct NumberRange {
  std::int64_t low;
  std::int64_t high;
};
inline constexpr NumberRange kPopulationRange = {1, INT32_MAX};
// The dialogue's answer for the oldest age is one more, and fits an int.
inline constexpr NumberRange kAgeRange = {0, INT32_MAX - 1};
inline constexpr NumberRange kSeedRange = {0, UINT32_MAX};

// Why `text` is not a number of `range`: "'abc' is not a whole number from 1
// to 2,147,483,647".
std::string notAWholeNumber(std::string_view text, NumberRange range);

}  // namespace towngen

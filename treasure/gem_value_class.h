#pragma once

#include <array>
#include <cstdint>

namespace towngen {

// One of the six gem value classes: the d100 results that select it, its base
// value and the range of the name table its names are drawn from.
struct GemValueClass {
  int lowestD100;
  int highestD100;
  double baseValue;  // gold pieces
  int firstName;     // first index into the gem name table
  int nameCount;
};

// Read with a d100; rows are contiguous and cover 1..100.
// clang-format off
inline constexpr std::array<GemValueClass, 6> kGemValueClasses = {{
    // d100     base gp  first name, names
    {1,   25,   10.0,    0,  11},
    {26,  50,   50.0,    11, 13},
    {51,  70,   100.0,   24, 8},
    {71,  90,   500.0,   32, 5},
    {91,  99,   1000.0,  37, 6},
    {100, 100,  5000.0,  43, 8},
}};
// clang-format on

inline constexpr int kTopGemValueClass = 5;

// The value class a d100 result selects. REQUIRES: 1 <= d100 <= 100.
constexpr int gemValueClassFor(int d100) {
  int index = 0;
  while (d100 > kGemValueClasses[static_cast<std::size_t>(index)].highestD100) ++index;
  return index;
}

namespace gem_value_class_checks {
constexpr bool classesAreContiguous() {
  if (kGemValueClasses.front().lowestD100 != 1 || kGemValueClasses.back().highestD100 != 100) {
    return false;
  }
  for (std::size_t i = 1; i < kGemValueClasses.size(); ++i) {
    const GemValueClass& before = kGemValueClasses[i - 1];
    const GemValueClass& row = kGemValueClasses[i];
    if (row.lowestD100 != before.highestD100 + 1) return false;
    if (row.firstName != before.firstName + before.nameCount) return false;
  }
  return kGemValueClasses.back().firstName + kGemValueClasses.back().nameCount == 51;
}
static_assert(classesAreContiguous());
}  // namespace gem_value_class_checks

}  // namespace towngen

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/random.h"

namespace towngen {

enum class SocialClass { Farmer, Craftsman, Noble };

// The classes by their words, in the order the census, the exports and the
// page list them: nobles first. A noble's occupation is the word "Noble", a
// farmer's "Farmer"; a craftsman's is a craft.
inline constexpr std::array<std::string_view, 3> kSocialClasses = {"Noble", "Craftsman", "Farmer"};

// The place of `socialClass` in kSocialClasses.
constexpr std::size_t placeOf(SocialClass socialClass) {
  switch (socialClass) {
    case SocialClass::Noble:
      return 0;
    case SocialClass::Craftsman:
      return 1;
    case SocialClass::Farmer:
      break;
  }
  return 2;
}

constexpr std::string_view wordOf(SocialClass socialClass) {
  return kSocialClasses[placeOf(socialClass)];
}

// The two class thresholds of a town, worked out once from its population.
struct ClassThresholds {
  // REQUIRES: population > 0.
  explicit ClassThresholds(std::int32_t population);

  std::int32_t nobleThreshold;   // population x 0.95, truncated
  std::int32_t farmerThreshold;  // population x 0.66, truncated
};

// The class of townsperson `number` (1-based) of `population`: nobles first,
// then craftsmen, farmers last, by how many are still to be made.
// REQUIRES: 1 <= number <= population.
SocialClass socialClassOf(std::int32_t number, std::int32_t population,
                          const ClassThresholds& thresholds);

// "Farmer" or "Noble" without a draw; a craftsman's craft from rollCraft.
std::string_view rollOccupation(SocialClass socialClass, Random& random);

}  // namespace towngen

#include "townsfolk/social_class.h"

#include <cfloat>

#include "townsfolk/craft_table.h"

namespace towngen {

// The thresholds rely on products rounded to double, not held wider.
static_assert(FLT_EVAL_METHOD == 0);

namespace {

// The product in double precision, truncated toward zero: 100 x 0.95 is exactly
// 95 here, where a wider precision would give 94.
std::int32_t truncatedShare(std::int32_t population, double share) {
  return static_cast<std::int32_t>(static_cast<double>(population) * share);
}

}  // namespace

ClassThresholds::ClassThresholds(std::int32_t population)
    : nobleThreshold(truncatedShare(population, 0.95)),
      farmerThreshold(truncatedShare(population, 0.66)) {}

SocialClass socialClassOf(std::int32_t number, std::int32_t population,
                          const ClassThresholds& thresholds) {
  const std::int32_t remaining = population - number + 1;
  if (remaining >= thresholds.nobleThreshold) return SocialClass::Noble;
  if (remaining >= thresholds.farmerThreshold) return SocialClass::Craftsman;
  return SocialClass::Farmer;
}

std::string_view rollOccupation(SocialClass socialClass, Random& random) {
  if (socialClass != SocialClass::Craftsman) return wordOf(socialClass);
  return rollCraft(random);
}

}  // namespace towngen

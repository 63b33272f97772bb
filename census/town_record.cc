#include "census/town_record.h"

namespace towngen {

std::string_view TownRecord::socialClass() const { return kSocialClasses[classIndex()]; }

std::size_t TownRecord::classIndex() const {
  if (occupation == wordOf(SocialClass::Noble)) return placeOf(SocialClass::Noble);
  if (occupation == wordOf(SocialClass::Farmer)) return placeOf(SocialClass::Farmer);
  return placeOf(SocialClass::Craftsman);
}

std::int64_t TownRecord::coinWorthInCopper() const {
  std::int64_t worth = 0;
  for (std::size_t i = 0; i < coins.size(); ++i) worth += coins[i] * kCopperPerCoin[i];
  return worth;
}

double TownRecord::wealthInGold() const {
  double wealth = static_cast<double>(coinWorthInCopper()) / 100.0;
  for (const GemEntry& gem : gems) wealth += gem.value;
  return wealth;
}

namespace {

std::int32_t parent(const HouseholdTies& ties, std::int32_t inHouse, KinTie tie) {
  if (inHouse != 0) return inHouse;
  for (std::size_t i = 0; i < ties.kinCount; ++i) {
    if (ties.kin[i].tie == tie) return ties.kin[i].number;
  }
  return 0;
}

}  // namespace

std::int32_t TownRecord::father() const {
  return parent(household, household.father, KinTie::Father);
}
std::int32_t TownRecord::mother() const {
  return parent(household, household.mother, KinTie::Mother);
}

}  // namespace towngen

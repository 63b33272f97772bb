#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "townsfolk/carried_treasure.h"
#include "townsfolk/household.h"
#include "townsfolk/social_class.h"

namespace towngen {

enum class Sex { Male, Female };
// The sexes by their words, in the order of the enum.
inline constexpr std::array<std::string_view, 2> kSexes = {"Male", "Female"};

// One generated character. The driver reuses one record for every townsperson.
struct Townsperson {
  std::int32_t number = 0;  // 1-based place in the town
  std::int32_t Str = 0;
  std::int32_t strPercentile = 0;  // 1..100 when Str is 18, else 0
  std::int32_t Dex = 0;
  std::int32_t Con = 0;
  std::int32_t Int = 0;
  std::int32_t Wis = 0;
  std::int32_t Cha = 0;
  std::int32_t Com = 0;
  std::int32_t age = 0;
  Sex sex = Sex::Male;
  std::string name;                               // first name, one blank, last name
  std::string occupation;                         // "Farmer", a craft, or "Noble"
  SocialClass socialClass = SocialClass::Farmer;  // by occupation: a servant's is Farmer
  CarriedTreasure treasure;
  HouseholdTies ties;      // in a household town only
  FamilyFacts family = 0;  // what the household shows of the family, likewise
};

}  // namespace towngen

#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "common/keyed_table.h"

namespace towngen {

// Children of a household younger than this neither work nor carry
// treasure; the page names them by their house, not by the family's trade.
inline constexpr std::int32_t kYoungestAtWork = 12;

// A member's place in a household, as a census names it: by what the member
// is to the head. Mother and father are the head's widowed parents, brother
// and sister the head's unmarried ones.
enum class HouseholdRole : std::uint8_t {
  Head,
  Wife,
  Son,
  Daughter,
  Mother,
  Father,
  Brother,
  Sister,
  Servant,
  Apprentice,
};

inline constexpr std::size_t kHouseholdRoleCount = 10;

// The words the town file writes for each role.
struct HouseholdRoleWord {
  HouseholdRole role;
  std::string_view word;
};
inline constexpr std::array<HouseholdRoleWord, kHouseholdRoleCount> kHouseholdRoleWords = {{
    {HouseholdRole::Head, "head"},
    {HouseholdRole::Wife, "wife"},
    {HouseholdRole::Son, "son"},
    {HouseholdRole::Daughter, "daughter"},
    {HouseholdRole::Mother, "mother"},
    {HouseholdRole::Father, "father"},
    {HouseholdRole::Brother, "brother"},
    {HouseholdRole::Sister, "sister"},
    {HouseholdRole::Servant, "servant"},
    {HouseholdRole::Apprentice, "apprentice"},
}};
static_assert(keyedInOrder(kHouseholdRoleWords, &HouseholdRoleWord::role));
inline constexpr std::array<std::string_view, kHouseholdRoleCount> kHouseholdRoles =
    wordsOf(kHouseholdRoleWords, &HouseholdRoleWord::word);

// What a head of another household is to a head, and the words the town
// file writes for it.
enum class KinTie : std::uint8_t { Father, Mother, Son, Daughter, Brother, Sister };
inline constexpr std::size_t kKinTieCount = 6;
struct KinTieWord {
  KinTie tie;
  std::string_view word;
};
inline constexpr std::array<KinTieWord, kKinTieCount> kKinTieWords = {{
    {KinTie::Father, "father"},
    {KinTie::Mother, "mother"},
    {KinTie::Son, "son"},
    {KinTie::Daughter, "daughter"},
    {KinTie::Brother, "brother"},
    {KinTie::Sister, "sister"},
}};
static_assert(keyedInOrder(kKinTieWords, &KinTieWord::tie));
inline constexpr std::array<std::string_view, kKinTieCount> kKinTies =
    wordsOf(kKinTieWords, &KinTieWord::word);

// What a member's household shows of their family, as the fits of the
// traits ask it: each a bit of FamilyFacts.
enum class FamilyFact : std::uint8_t {
  Married,     // a spouse in the household
  Widowed,     // married once, no spouse now
  Single,      // 16 or more and never married
  Parent,      // a child in the household, or heading another
  GrownChild,  // a child heading a household of their own
  Head,
  Servant,
  Apprentice,
};
inline constexpr std::size_t kFamilyFactCount = 8;
using FamilyFacts = std::uint8_t;
static_assert(kFamilyFactCount <= 8 * sizeof(FamilyFacts));

constexpr FamilyFacts bitOf(FamilyFact fact) {
  return static_cast<FamilyFacts>(1u << static_cast<unsigned>(fact));
}

// A head of another household of the town who is close kin.
struct KinElsewhere {
  KinTie tie;
  std::int32_t number;

  bool operator==(const KinElsewhere&) const = default;
};

// What a townsperson of a household town is to the others, by their numbers;
// 0 where there is none. A plain town's townspeople have no household.
struct HouseholdTies {
  static constexpr std::size_t kMostKin = 4;

  std::int32_t household = 0;  // the head's number; 0: not a household town
  HouseholdRole role = HouseholdRole::Head;
  std::int32_t spouse = 0;
  std::int32_t father = 0;  // in the same household
  std::int32_t mother = 0;  // in the same household
  std::array<KinElsewhere, kMostKin> kin{};
  std::uint8_t kinCount = 0;

  bool inHousehold() const { return household != 0; }
  bool operator==(const HouseholdTies&) const = default;
};

}  // namespace towngen

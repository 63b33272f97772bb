#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace towngen {

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

// The words the town file writes for each role, in the order of the enum.
inline constexpr std::array<std::string_view, 10> kHouseholdRoles = {
    "head",   "wife",    "son",    "daughter", "mother",
    "father", "brother", "sister", "servant",  "apprentice"};

// What a head of another household is to a head: the words the town file
// writes, in the order of the enum.
enum class KinTie : std::uint8_t { Father, Mother, Son, Daughter, Brother, Sister };
inline constexpr std::array<std::string_view, 6> kKinTies = {"father",   "mother",  "son",
                                                             "daughter", "brother", "sister"};

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

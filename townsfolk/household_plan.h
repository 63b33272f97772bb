#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "common/random.h"
#include "townsfolk/household.h"
#include "townsfolk/social_class.h"
#include "townsfolk/townsperson.h"
#include "townsfolk/townsperson_rolls.h"

namespace towngen {

// One member of a planned household: who, how old, and who the parents and
// the spouse are among the members (by place; kNobody when none).
struct PlannedMember {
  static constexpr std::int8_t kNobody = -1;

  HouseholdRole role = HouseholdRole::Head;
  Sex sex = Sex::Male;
  std::int32_t age = 0;
  std::int8_t spouse = kNobody;
  std::int8_t father = kNobody;
  std::int8_t mother = kNobody;
  bool everMarried = false;
};

// A household before its members are rolled: its class, its members in the
// order the town file shows them (the head first), and its head's kin in
// other households.
struct PlannedHousehold {
  static constexpr std::size_t kMostMembers = 16;
  static constexpr std::int16_t kOwnName = -1;

  SocialClass socialClass = SocialClass::Farmer;
  std::int32_t head = 0;        // the head's number in the town
  std::string_view occupation;  // of the family: "Noble", "Farmer" or the head's craft
  std::array<PlannedMember, kMostMembers> members{};
  std::uint8_t size = 0;
  std::array<KinElsewhere, HouseholdTies::kMostKin> kin{};
  std::uint8_t kinCount = 0;
  std::int16_t nameFrom = kOwnName;  // a household earlier in its window whose name it bears

  std::span<const PlannedMember> people() const { return {members.data(), size}; }
  const PlannedMember& headMember() const { return members[0]; }
  // Whether the member is of the family (anyone but a servant), and so of the
  // household's class: servants are of the class that works the land,
  // whoever they serve.
  bool isFamily(const PlannedMember& member) const { return member.role != HouseholdRole::Servant; }
};

// Plans the households of a town, one after another: noble households first,
// then craftsmen's, then farmers', until the town holds `population` people.
// Each class keeps the number of people it has in a plain town of that size;
// servants, who count with the farmers, are taken from the farmers' share.
// Every member's age lies in `ages`.
class HouseholdPlanner {
 public:
  // REQUIRES: population > 0.
  HouseholdPlanner(std::int32_t population, const AgeRange& ages);

  bool done() const { return planned_ == population_; }

  // Plans the next household into `household`. REQUIRES: !done().
  void planNext(PlannedHousehold& household, Random& random);

 private:
  SocialClass currentClass() const;
  std::int32_t& leftOf(SocialClass socialClass);
  void addFamily(PlannedHousehold& household, Random& random) const;
  void addHelpers(PlannedHousehold& household, Random& random) const;
  void fitToWhatIsLeft(PlannedHousehold& household);

  std::int32_t population_;
  AgeRange ages_;
  std::int32_t planned_ = 0;
  std::array<std::int32_t, 3> left_{};  // people still to plan, by SocialClass
};

// What the household shows of the family of the member at `place`: a spouse,
// a marriage ended, children in the household or heading others, the role.
// REQUIRES: place < household.size, and the household's kin linked.
FamilyFacts familyFactsOf(const PlannedHousehold& household, std::size_t place);

// Links heads of the window's households as close kin (parent and child, or
// brothers and sisters) where their ages, classes and names allow it; linked
// households share a last name, taken from the earlier one.
void linkKin(std::span<PlannedHousehold> window, Random& random);

}  // namespace towngen

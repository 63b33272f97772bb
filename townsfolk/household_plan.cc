#include "townsfolk/household_plan.h"

#include <algorithm>
#include <array>

#include "townsfolk/craft_table.h"

namespace towngen {
namespace {

// The model's figures, each read with rand() % 100 unless it says otherwise.
// Where they come from is told in docs/households.md.
constexpr int kMaleHeadChance = 85;
constexpr int kMaleNeverMarriedChance = 8;
constexpr int kFemaleNeverMarriedChance = 15;
constexpr int kWidowedYoungChance = 5;   // heads under 40
constexpr int kWidowedOlderChance = 20;  // heads of 40 and more
constexpr int kRelativeChance = 16;
constexpr int kWidowedParentChance = 60;  // of relatives; the rest are siblings
constexpr int kLinkChance = 35;           // a head looks for kin among the heads before
constexpr std::size_t kLinkReach = 12;    // how many households back

constexpr std::int32_t kAdultAge = 18;  // heads are adults where the ages allow
constexpr std::int32_t kMarriageAge = 16;
constexpr std::int32_t kWorkingAge = kYoungestAtWork;  // servants and apprentices
constexpr std::int32_t kYoungestParentGap = 16;        // a parent is 16 to 45 years older
constexpr std::int32_t kOldestParentGap = 45;
constexpr std::int32_t kLastBirthAge = 44;
constexpr std::int32_t kNearestSiblingGap = 12;  // kin heads this close in age are siblings

// Years, each drawn with rollRange from the first to the second, both included.
struct Years {
  std::int32_t low;
  std::int32_t high;
};
constexpr Years kNobleMarriageGap = {4, 13};   // a husband older than his wife
constexpr Years kCommonMarriageGap = {-2, 6};  // ... among commoners
constexpr Years kFirstBirthAge = {18, 23};     // the mother's age at her first birth
constexpr Years kBirthSpacing = {2, 4};        // years from one birth to the next
constexpr Years kWidowedParentOlder = {20, 37};
constexpr Years kSiblingApart = {-8, 8};
constexpr Years kApprenticeAge = {12, 21};  // and none older
constexpr int kYoungServantChance = 85;     // life-cycle servants, before they marry
constexpr Years kYoungServantAge = {13, 27};
constexpr Years kOlderServantAge = {28, 55};
constexpr std::int32_t kOldestServant = 60;
constexpr Years kNobleServants = {1, 5};
constexpr int kMaleApprenticeChance = 90;
constexpr int kNoApprenticeBelow = 40;   // rand() % 100 under this: none
constexpr int kOneApprenticeBelow = 85;  // ... under this: one; else two
constexpr int kCraftsmansServantChance = 50;
constexpr int kFarmersServantChance = 19;

// How many heads there are of each age, per year of age, by band: few under
// 20, most from 25 to 45, fewer with each band after, as deaths thin them.
struct AgeWeight {
  std::int32_t from;
  std::int32_t to;
  std::int32_t perYear;
};
constexpr std::array<AgeWeight, 14> kHeadAgeWeights = {{
    {18, 19, 3},
    {20, 24, 9},
    {25, 29, 12},
    {30, 34, 12},
    {35, 39, 11},
    {40, 44, 10},
    {45, 49, 9},
    {50, 54, 7},
    {55, 59, 6},
    {60, 64, 4},
    {65, 69, 3},
    {70, 74, 2},
    {75, 79, 1},
    {80, 89, 1},
}};

// The chance in a hundred that a child born to the household is at home at
// each age: fewer with each band, as children die and, from about 12, leave
// for service or an apprenticeship; none past 24.
struct AtHomeChance {
  std::int32_t to;  // of the child's age, from the band before
  int chance;
};
constexpr std::array<AtHomeChance, 5> kChildAtHome = {{
    {4, 72},
    {9, 66},
    {14, 58},
    {19, 38},
    {24, 14},
}};

bool chance(Random& random, int percent) { return random.rand() % 100 < percent; }

int atHomeChance(std::int64_t age) {
  for (const AtHomeChance& band : kChildAtHome) {
    if (age <= band.to) return band.chance;
  }
  return 0;
}

Sex eitherSex(Random& random) { return random.rand() % 2 == 0 ? Sex::Male : Sex::Female; }

// Ages are worked out in 64 bits: a range may reach the largest int, and a
// member's age is the head's plus or minus some years.

// `age` moved into [low, high]. REQUIRES: low <= high.
std::int32_t clampAge(std::int64_t age, std::int32_t low, std::int32_t high) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(age, low, high));
}

bool holds(const AgeRange& ages, std::int64_t age) {
  return age >= ages.youngest && age <= ages.oldest;
}

std::int8_t add(PlannedHousehold& household, const PlannedMember& member) {
  const auto place = static_cast<std::int8_t>(household.size);
  household.members[household.size++] = member;
  return place;
}

// A man, or a woman never married: one who bears the name they were born to.
bool bearsBirthName(const PlannedMember& head) {
  return head.sex == Sex::Male || !head.everMarried;
}

// An age from [low, high] drawn by kHeadAgeWeights, or evenly where the
// span lies outside the table. REQUIRES: low <= high.
std::int32_t headAge(std::int32_t low, std::int32_t high, Random& random) {
  std::int32_t total = 0;
  for (const AgeWeight& band : kHeadAgeWeights) {
    const std::int32_t from = std::max(band.from, low);
    const std::int32_t to = std::min(band.to, high);
    if (from <= to) total += (to - from + 1) * band.perYear;
  }
  if (total == 0) return random.rollRange(low, high);
  std::int32_t at = random.rollRange(1, total);
  for (const AgeWeight& band : kHeadAgeWeights) {
    const std::int32_t from = std::max(band.from, low);
    const std::int32_t to = std::min(band.to, high);
    if (from > to) continue;
    const std::int32_t weight = (to - from + 1) * band.perYear;
    if (at <= weight) return from + (at - 1) / band.perYear;
    at -= weight;
  }
  return high;  // not reached: the draw lies in some band
}

// The head: an adult where the ages allow, mostly a man; a woman heading a
// household is a widow or never married.
PlannedMember planHead(const AgeRange& ages, Random& random) {
  PlannedMember head;
  const std::int32_t lowest = std::max(ages.youngest, kAdultAge);
  head.age = lowest <= ages.oldest ? headAge(lowest, ages.oldest, random)
                                   : random.rollRange(ages.youngest, ages.oldest);
  head.sex = chance(random, kMaleHeadChance) ? Sex::Male : Sex::Female;
  const int neverMarried =
      head.sex == Sex::Male ? kMaleNeverMarriedChance : kFemaleNeverMarriedChance;
  head.everMarried = !chance(random, neverMarried) && head.age >= kMarriageAge;
  return head;
}

// How many years older a husband is than his wife: a few among commoners,
// more among nobles.
std::int32_t roll(Random& random, Years years) { return random.rollRange(years.low, years.high); }

std::int32_t marriageGap(SocialClass socialClass, Random& random) {
  return roll(random, socialClass == SocialClass::Noble ? kNobleMarriageGap : kCommonMarriageGap);
}

// Births every two to four years from the first until the mother is 44 or
// her present age; the children still at home are added, oldest first.
void addChildren(PlannedHousehold& household, std::int64_t motherAge, std::int8_t father,
                 std::int8_t mother, const AgeRange& ages, Random& random) {
  std::int64_t firstBirth = roll(random, kFirstBirthAge);
  if (father != PlannedMember::kNobody) {
    // Each child is at least 16 years younger than the father too.
    const std::int32_t fatherAge = household.members[static_cast<std::size_t>(father)].age;
    firstBirth =
        std::max(firstBirth, kYoungestParentGap + std::max<std::int64_t>(0, motherAge - fatherAge));
  }
  constexpr std::size_t kRoomForOthers = 8;  // a relative, apprentices and servants
  for (std::int64_t birth = firstBirth; birth <= std::min<std::int64_t>(kLastBirthAge, motherAge);
       birth += roll(random, kBirthSpacing)) {
    if (household.size + kRoomForOthers >= PlannedHousehold::kMostMembers) break;
    const std::int64_t age = motherAge - birth;
    if (!chance(random, atHomeChance(age))) continue;
    PlannedMember child;
    child.sex = eitherSex(random);
    if (!holds(ages, age)) continue;
    child.age = static_cast<std::int32_t>(age);
    child.role = child.sex == Sex::Male ? HouseholdRole::Son : HouseholdRole::Daughter;
    child.father = father;
    child.mother = mother;
    add(household, child);
  }
}

// A widowed parent or an unmarried brother or sister of the head, where the
// head's name is theirs too.
void addRelative(PlannedHousehold& household, const AgeRange& ages, Random& random) {
  if (!chance(random, kRelativeChance)) return;
  PlannedMember& head = household.members[0];
  PlannedMember relative;
  relative.sex = eitherSex(random);
  std::int64_t age = head.age;
  if (chance(random, kWidowedParentChance)) {
    age += roll(random, kWidowedParentOlder);
    relative.everMarried = true;
    relative.role = relative.sex == Sex::Male ? HouseholdRole::Father : HouseholdRole::Mother;
  } else {
    age += roll(random, kSiblingApart);
    relative.role = relative.sex == Sex::Male ? HouseholdRole::Brother : HouseholdRole::Sister;
  }
  if (!bearsBirthName(head) || age < kMarriageAge || !holds(ages, age)) return;
  relative.age = static_cast<std::int32_t>(age);
  const std::int8_t place = add(household, relative);
  if (relative.role == HouseholdRole::Father) head.father = place;
  if (relative.role == HouseholdRole::Mother) head.mother = place;
}

// A member of working age: `age` moved into the range, or nobody when the
// range holds no such age.
bool workingAge(std::int32_t age, std::int32_t oldest, const AgeRange& ages, std::int32_t& out) {
  const std::int32_t low = std::max(ages.youngest, kWorkingAge);
  const std::int32_t high = std::min(ages.oldest, oldest);
  if (low > high) return false;
  out = clampAge(age, low, high);
  return true;
}

void addHelper(PlannedHousehold& household, HouseholdRole role, const AgeRange& ages,
               Random& random) {
  PlannedMember helper;
  helper.role = role;
  std::int32_t age = 0;
  if (role == HouseholdRole::Apprentice) {
    helper.sex = chance(random, kMaleApprenticeChance) ? Sex::Male : Sex::Female;
    if (!workingAge(roll(random, kApprenticeAge), kApprenticeAge.high, ages, age)) return;
  } else {
    helper.sex = eitherSex(random);
    const Years drawn = chance(random, kYoungServantChance) ? kYoungServantAge : kOlderServantAge;
    if (!workingAge(roll(random, drawn), kOldestServant, ages, age)) return;
  }
  helper.age = age;
  add(household, helper);
}

}  // namespace

HouseholdPlanner::HouseholdPlanner(std::int32_t population, const AgeRange& ages)
    : population_(population), ages_(ages) {
  // As many of each class as a plain town of this size has.
  const ClassThresholds thresholds(population);
  const std::int32_t nobleFrom = std::max(thresholds.nobleThreshold, 1);
  const std::int32_t craftsmanFrom = std::max(thresholds.farmerThreshold, 1);
  const std::int32_t nobles = population - nobleFrom + 1;
  const std::int32_t craftsmen =
      std::max(0, std::min(nobleFrom - craftsmanFrom, population - nobles));
  left_[static_cast<std::size_t>(SocialClass::Noble)] = nobles;
  left_[static_cast<std::size_t>(SocialClass::Craftsman)] = craftsmen;
  left_[static_cast<std::size_t>(SocialClass::Farmer)] = population - nobles - craftsmen;
}

std::int32_t& HouseholdPlanner::leftOf(SocialClass socialClass) {
  return left_[static_cast<std::size_t>(socialClass)];
}

SocialClass HouseholdPlanner::currentClass() const {
  for (SocialClass socialClass : {SocialClass::Noble, SocialClass::Craftsman}) {
    if (left_[static_cast<std::size_t>(socialClass)] > 0) return socialClass;
  }
  return SocialClass::Farmer;
}

void HouseholdPlanner::planNext(PlannedHousehold& household, Random& random) {
  household = PlannedHousehold();
  household.socialClass = currentClass();
  household.head = planned_ + 1;
  household.occupation = rollOccupation(household.socialClass, random);
  addFamily(household, random);
  addHelpers(household, random);
  fitToWhatIsLeft(household);
}

void HouseholdPlanner::addFamily(PlannedHousehold& household, Random& random) const {
  add(household, planHead(ages_, random));
  const PlannedMember head = household.members[0];
  if (!head.everMarried) {
    addRelative(household, ages_, random);
    return;
  }
  const std::int32_t gap = marriageGap(household.socialClass, random);
  const std::int32_t widowedChance = head.age < 40 ? kWidowedYoungChance : kWidowedOlderChance;
  const bool widowed = head.sex == Sex::Female || chance(random, widowedChance);
  const std::int32_t lowestWife = std::max(ages_.youngest, kMarriageAge);
  if (head.sex == Sex::Female) {
    addChildren(household, head.age, PlannedMember::kNobody, 0, ages_, random);
  } else if (widowed || lowestWife > ages_.oldest) {
    // A widower's children, whose mother is gone.
    addChildren(household, std::int64_t{head.age} - gap, 0, PlannedMember::kNobody, ages_, random);
  } else {
    PlannedMember wife;
    wife.role = HouseholdRole::Wife;
    wife.sex = Sex::Female;
    wife.everMarried = true;
    wife.age = clampAge(std::int64_t{head.age} - gap, lowestWife, ages_.oldest);
    wife.spouse = 0;
    household.members[0].spouse = add(household, wife);
    addChildren(household, wife.age, 0, 1, ages_, random);
  }
  addRelative(household, ages_, random);
}

void HouseholdPlanner::addHelpers(PlannedHousehold& household, Random& random) const {
  if (household.socialClass == SocialClass::Noble) {
    const std::int32_t servants = roll(random, kNobleServants);
    for (std::int32_t i = 0; i < servants; ++i) {
      addHelper(household, HouseholdRole::Servant, ages_, random);
    }
  } else if (household.socialClass == SocialClass::Craftsman && isTrade(household.occupation)) {
    const int draw = random.rand() % 100;
    const int apprentices = draw < kNoApprenticeBelow ? 0 : draw < kOneApprenticeBelow ? 1 : 2;
    for (int i = 0; i < apprentices; ++i) {
      addHelper(household, HouseholdRole::Apprentice, ages_, random);
    }
    if (chance(random, kCraftsmansServantChance)) {
      addHelper(household, HouseholdRole::Servant, ages_, random);
    }
  } else if (household.socialClass == SocialClass::Farmer &&
             chance(random, kFarmersServantChance)) {
    addHelper(household, HouseholdRole::Servant, ages_, random);
  }
}

// Keeps the first members of the family's class that its share still has
// room for, and the first servants the farmers' share has room for (in a
// farmer's household, the family and its servants share it); a link to a
// member left out is dropped.
void HouseholdPlanner::fitToWhatIsLeft(PlannedHousehold& household) {
  std::int32_t& familyLeft = leftOf(household.socialClass);
  std::int32_t& servantsLeft = leftOf(SocialClass::Farmer);
  const bool oneShare = &familyLeft == &servantsLeft;
  std::uint8_t kept = 0;
  std::int32_t family = 0;
  std::int32_t servants = 0;
  for (const PlannedMember& member : household.people()) {
    const bool ofFamily = household.isFamily(member);
    const std::int32_t taken = oneShare ? family + servants : ofFamily ? family : servants;
    if (taken >= (ofFamily ? familyLeft : servantsLeft)) continue;
    (ofFamily ? family : servants) += 1;
    household.members[kept++] = member;
  }
  household.size = kept;
  const auto outside = [&](std::int8_t place) {
    return place != PlannedMember::kNobody && place >= static_cast<std::int8_t>(family);
  };
  for (PlannedMember& member : household.members) {
    if (outside(member.spouse)) member.spouse = PlannedMember::kNobody;
    if (outside(member.father)) member.father = PlannedMember::kNobody;
    if (outside(member.mother)) member.mother = PlannedMember::kNobody;
  }
  familyLeft -= family;
  servantsLeft -= servants;
  planned_ += kept;
}

namespace {

bool hasParentInHouse(const PlannedMember& head) {
  return head.father != PlannedMember::kNobody || head.mother != PlannedMember::kNobody;
}

bool hasKinParent(const PlannedHousehold& household) {
  return std::any_of(household.kin.begin(), household.kin.begin() + household.kinCount,
                     [](const KinElsewhere& kin) {
                       return kin.tie == KinTie::Father || kin.tie == KinTie::Mother;
                     });
}

KinTie parentTie(const PlannedMember& parent) {
  return parent.sex == Sex::Male ? KinTie::Father : KinTie::Mother;
}
KinTie childTie(const PlannedMember& child) {
  return child.sex == Sex::Male ? KinTie::Son : KinTie::Daughter;
}
KinTie siblingTie(const PlannedMember& sibling) {
  return sibling.sex == Sex::Male ? KinTie::Brother : KinTie::Sister;
}

bool canBeChildOf(const PlannedHousehold& child, const PlannedMember& parent) {
  return parent.everMarried && bearsBirthName(child.headMember()) &&
         !hasParentInHouse(child.headMember()) && !hasKinParent(child);
}

void addKin(PlannedHousehold& household, KinTie tie, std::int32_t number) {
  household.kin[household.kinCount++] = {tie, number};
}

// Links the heads of `earlier` and `later` as kin if their ages and names
// allow; returns whether it did.
bool tryLink(PlannedHousehold& earlier, PlannedHousehold& later) {
  if (earlier.socialClass != later.socialClass) return false;
  if (earlier.kinCount == HouseholdTies::kMostKin || later.kinCount == HouseholdTies::kMostKin) {
    return false;
  }
  const PlannedMember& a = earlier.headMember();
  const PlannedMember& b = later.headMember();
  const std::int32_t older = a.age - b.age;
  if (older >= kYoungestParentGap && older <= kOldestParentGap && canBeChildOf(later, a)) {
    addKin(earlier, childTie(b), later.head);
    addKin(later, parentTie(a), earlier.head);
    return true;
  }
  if (-older >= kYoungestParentGap && -older <= kOldestParentGap && canBeChildOf(earlier, b)) {
    addKin(earlier, parentTie(b), later.head);
    addKin(later, childTie(a), earlier.head);
    return true;
  }
  const bool siblings = older <= kNearestSiblingGap && -older <= kNearestSiblingGap &&
                        bearsBirthName(a) && bearsBirthName(b) && !hasParentInHouse(a) &&
                        !hasParentInHouse(b);
  if (!siblings) return false;
  addKin(earlier, siblingTie(b), later.head);
  addKin(later, siblingTie(a), earlier.head);
  return true;
}

}  // namespace

FamilyFacts familyFactsOf(const PlannedHousehold& household, std::size_t place) {
  const PlannedMember& member = household.members[place];
  FamilyFacts facts = 0;
  if (member.spouse != PlannedMember::kNobody) {
    facts |= bitOf(FamilyFact::Married);
  } else if (member.everMarried) {
    facts |= bitOf(FamilyFact::Widowed);
  } else if (member.age >= kMarriageAge) {
    facts |= bitOf(FamilyFact::Single);
  }
  const auto at = static_cast<std::int8_t>(place);
  for (const PlannedMember& other : household.people()) {
    if (other.father == at || other.mother == at) facts |= bitOf(FamilyFact::Parent);
  }
  switch (member.role) {
    case HouseholdRole::Head:
      facts |= bitOf(FamilyFact::Head);
      for (std::size_t i = 0; i < household.kinCount; ++i) {
        const KinTie tie = household.kin[i].tie;
        if (tie != KinTie::Son && tie != KinTie::Daughter) continue;
        facts |= bitOf(FamilyFact::Parent);
        facts |= bitOf(FamilyFact::GrownChild);
      }
      break;
    case HouseholdRole::Servant:
      facts |= bitOf(FamilyFact::Servant);
      break;
    case HouseholdRole::Apprentice:
      facts |= bitOf(FamilyFact::Apprentice);
      break;
    default:
      break;
  }
  return facts;
}

void linkKin(std::span<PlannedHousehold> window, Random& random) {
  for (std::size_t later = 1; later < window.size(); ++later) {
    if (!chance(random, kLinkChance)) continue;
    const std::size_t farthest = later > kLinkReach ? later - kLinkReach : 0;
    for (std::size_t earlier = later; earlier-- > farthest;) {
      if (tryLink(window[earlier], window[later])) {
        window[later].nameFrom = static_cast<std::int16_t>(earlier);
        break;
      }
    }
  }
}

}  // namespace towngen

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "census/town_file_reader.h"
#include "town/town_data.h"
#include "town/town_generation.h"
#include "townsfolk/household_plan.h"

namespace towngen {
namespace {

// What the properties need of each townsperson read back.
struct Member {
  std::int32_t age;
  bool male;
  std::string lastName;
  std::string occupation;
  HouseholdRole role;
};

struct TownFigures {
  std::int32_t population = 0;
  std::int32_t households = 0;
  std::int32_t helpers = 0;  // servants and apprentices
  std::int32_t headsWithKin = 0;
  std::array<std::int32_t, 3> byClass{};  // Noble, Craftsman, Farmer
};

std::string householdTown(std::int32_t population, const AgeRange& ages, std::uint32_t seed) {
  NameLists names;
  for (const char* name : {"Hal", "Wat", "Osric"}) names.maleNames.append(name);
  for (const char* name : {"Joan", "Maud"}) names.femaleNames.append(name);
  for (const char* name : {"Dunn", "Fletcher", "Underhill", "Miller", "Atwood"}) {
    names.lastNames.append(name);
  }
  const NamePickers pickers(names);
  Random random(seed);
  const MagicItemCatalogue noItems;
  TreasureGenerator generator(random, noItems);
  std::ostringstream town;
  EXPECT_FALSE(generateHouseholdTown(population, ages, {pickers, generator, random}, town));
  return town.str();
}

// The people of each class in a plain town of `population`.
std::array<std::int32_t, 3> plainClassCounts(std::int32_t population) {
  std::array<std::int32_t, 3> counts{};
  const ClassThresholds thresholds(population);
  for (std::int32_t n = 1; n <= population; ++n) {
    const SocialClass socialClass = socialClassOf(n, population, thresholds);
    ++counts[socialClass == SocialClass::Noble ? 0 : socialClass == SocialClass::Craftsman ? 1 : 2];
  }
  return counts;
}

// Reads the town back (the reader refuses links that do not answer each other
// or leave the town) and checks each townsperson against the rules of
// households; returns the town's figures.
TownFigures checkTown(const std::string& text, const AgeRange& ages, const std::string& label) {
  std::istringstream in(text);
  TownFileReader reader(in);
  TownRecord record;
  std::map<std::int32_t, Member> people;
  TownFigures figures;
  while (reader.next(record)) {
    const HouseholdTies& ties = record.household;
    const Member member{record.age, record.sex == "Male", record.lastName, record.occupation,
                        ties.role};
    people[record.number] = member;
    EXPECT_TRUE(ties.inHousehold()) << label;
    EXPECT_GE(record.age, ages.youngest) << label;
    EXPECT_LE(record.age, ages.oldest) << label;
    ++figures.byClass[record.classIndex()];
    const Member& head = people.at(ties.household);
    if (member.role == HouseholdRole::Servant || member.role == HouseholdRole::Apprentice) {
      ++figures.helpers;
      EXPECT_GE(member.age, 12) << label;
    }
    if (member.role == HouseholdRole::Apprentice) {
      EXPECT_LE(member.age, 21) << label;
      EXPECT_EQ(member.occupation, head.occupation) << label;  // the master's craft
    }
    if (member.role != HouseholdRole::Servant) {
      EXPECT_EQ(member.lastName, head.lastName) << label;
    }
    if (record.age < 12) {
      EXPECT_EQ(record.coins, (std::array<std::int64_t, 5>{})) << label << " " << record.number;
      EXPECT_TRUE(record.gems.empty() && record.magicItems.empty()) << label;
    }
    if (ties.spouse != 0 && ties.spouse < record.number) {
      const Member& spouse = people.at(ties.spouse);
      EXPECT_NE(spouse.male, member.male) << label;
      EXPECT_GE(spouse.age - member.age, -2) << label;  // the husband, mostly older
    }
    const auto checkParent = [&](std::int32_t parent, bool male) {
      if (parent == 0 || parent > record.number) return;  // checked from the parent's side
      EXPECT_EQ(people.at(parent).male, male) << label;
      EXPECT_GE(people.at(parent).age - member.age, 16) << label << " " << record.number;
      EXPECT_LE(people.at(parent).age - member.age, male ? 60 : 45)
          << label << " " << record.number;
    };
    checkParent(record.father(), true);
    checkParent(record.mother(), false);
    if (member.role == HouseholdRole::Head) {
      ++figures.households;
      if (ties.kinCount > 0) ++figures.headsWithKin;
      for (std::size_t i = 0; i < ties.kinCount; ++i) {
        if (ties.kin[i].number > record.number) continue;
        EXPECT_EQ(people.at(ties.kin[i].number).lastName, member.lastName) << label;
        const KinTie tie = ties.kin[i].tie;
        if (tie == KinTie::Son || tie == KinTie::Daughter) {
          EXPECT_GE(member.age - people.at(ties.kin[i].number).age, 16) << label;
        }
      }
    }
  }
  EXPECT_FALSE(reader.failed()) << label << ": " << reader.error().line << ": "
                                << reader.error().what;
  figures.population = static_cast<std::int32_t>(reader.count());
  return figures;
}

TEST(HouseholdTown, HoldsTogetherForEverySizeAndRange) {
  // The top of the range too, where an age plus a few years passes the largest int.
  const std::vector<AgeRange> ranges = {{0, 60},
                                        {16, 60},
                                        {0, 0},
                                        {30, 30},
                                        {0, 100},
                                        {2147483600, 2147483646},
                                        {2147483646, 2147483646}};
  for (std::uint32_t seed : {1u, 2u, 77u}) {
    for (std::int32_t population : {1, 2, 7, 1000, 100000}) {
      for (const AgeRange& ages : ranges) {
        const std::string label = "seed " + std::to_string(seed) + ", " +
                                  std::to_string(population) + " people, ages " +
                                  std::to_string(ages.youngest) + "-" + std::to_string(ages.oldest);
        const TownFigures figures = checkTown(householdTown(population, ages, seed), ages, label);
        EXPECT_EQ(figures.population, population) << label;
        EXPECT_EQ(figures.byClass, plainClassCounts(population)) << label;
        if (ages.youngest == 0 && ages.oldest == 0) {
          EXPECT_EQ(figures.households, population) << label;  // infants alone
        }
        if (population < 1000 || ages.youngest != 0 || ages.oldest != 60) continue;
        EXPECT_GE(figures.headsWithKin * 4, figures.households) << label;
        if (population < 10000) continue;
        const double meanSize = double(population) / figures.households;
        EXPECT_GE(meanSize, 4.4) << label;
        EXPECT_LE(meanSize, 4.8) << label;
        const double helpers = 100.0 * figures.helpers / population;
        EXPECT_GE(helpers, 11.0) << label;
        EXPECT_LE(helpers, 14.0) << label;
      }
    }
  }
}

// Heads and wives are planned with their marriages: between 10 and 20 % of
// the people past 45 never married, and about one household in ten holds a
// parent, brother or sister of the head.
TEST(HouseholdTown, MarriagesAndRelativesKeepTheirShares) {
  for (std::uint32_t seed : {1u, 5u, 9u}) {
    Random random(seed);
    HouseholdPlanner planner(50000, AgeRange(0, 60));
    PlannedHousehold household;
    std::int32_t households = 0, extended = 0, past45 = 0, neverMarried = 0;
    while (!planner.done()) {
      planner.planNext(household, random);
      ++households;
      bool relative = false;
      for (const PlannedMember& member : household.people()) {
        relative = relative ||
                   (member.role >= HouseholdRole::Mother && member.role <= HouseholdRole::Sister);
        if (member.age <= 45) continue;
        ++past45;
        if (!member.everMarried) ++neverMarried;
      }
      if (relative) ++extended;
    }
    EXPECT_GE(neverMarried * 100, past45 * 10) << seed;
    EXPECT_LE(neverMarried * 100, past45 * 20) << seed;
    EXPECT_GE(extended * 100, households * 6) << seed;
    EXPECT_LE(extended * 100, households * 14) << seed;
  }
}

}  // namespace
}  // namespace towngen

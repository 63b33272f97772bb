#include "townsfolk/townsperson_rolls.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <vector>

#include "tests/seed_search.h"

namespace towngen {
namespace {

// A Random whose next four d6 show `faces`.
Random withDice(std::vector<int> faces) {
  return Random(testing::seedWhere([&](Random& random) {
    for (int face : faces) {
      if (random.die(6) != face) return false;
    }
    return true;
  }));
}

TEST(RollAbility, DropsTheLowestDieOnce) {
  const struct {
    std::vector<int> dice;
    std::int32_t score;
  } cases[] = {
      {{6, 6, 6, 1}, 18}, {{1, 6, 6, 6}, 18}, {{4, 4, 4, 4}, 12}, {{1, 1, 1, 1}, 3},
      {{2, 2, 5, 6}, 13}, {{5, 2, 6, 2}, 13}, {{3, 1, 2, 1}, 6},
  };
  for (const auto& c : cases) {
    Random random = withDice(c.dice);
    EXPECT_EQ(rollAbility(random), c.score) << c.dice[0] << c.dice[1] << c.dice[2] << c.dice[3];
  }
}

TEST(RollAge, RangesAndClamps) {
  const struct {
    std::int32_t minAge;  // the dialogue's answers
    std::int32_t maxAge;
    std::int32_t lowest;
    std::int32_t highest;
  } cases[] = {
      {0, 60, 0, 59},      // the maximum itself never occurs
      {16, 17, 16, 16},    // one apart: always the minimum
      {30, 30, 30, 30},    // equal: the minimum
      {60, 20, 20, 20},    // reversed: always the maximum
      {-10, -5, -10, -6},  // negative ages are kept
      {INT_MIN, INT_MAX, INT_MIN, INT_MIN + 32767},
      {INT_MAX, INT_MIN, INT_MIN, INT_MIN},
  };
  for (const auto& c : cases) {
    Random random(3);
    const AgeRange ages = AgeRange::fromDialogue(c.minAge, c.maxAge);
    std::int32_t lowest = INT_MAX, highest = INT_MIN;
    for (int i = 0; i < 200000; ++i) {
      const std::int32_t age = rollAge(random, ages);
      lowest = std::min(lowest, age);
      highest = std::max(highest, age);
    }
    EXPECT_EQ(lowest, c.lowest) << c.minAge << ".." << c.maxAge;
    EXPECT_EQ(highest, c.highest) << c.minAge << ".." << c.maxAge;
    EXPECT_EQ(ages.youngest, c.lowest);
  }
}

TEST(RollAge, AlwaysDrawsOnce) {
  for (std::int32_t maxAge : {30, 31, 10, 90}) {
    Random random(9);
    rollAge(random, AgeRange::fromDialogue(30, maxAge));
    Random expected(9);
    expected.rand();
    EXPECT_EQ(random.state(), expected.state()) << maxAge;
  }
}

TEST(RollAbilitiesAgeSex, SeededTownsperson) {
  Random random(7);
  Townsperson person;
  rollAbilitiesAgeSex(person, random, AgeRange(0, 59));
  EXPECT_EQ(person.Str, 14);
  EXPECT_EQ(person.strPercentile, 0);
  EXPECT_EQ(std::vector<std::int32_t>(
                {person.Dex, person.Con, person.Int, person.Wis, person.Cha, person.Com}),
            std::vector<std::int32_t>({14, 13, 17, 11, 15, 12}));
  EXPECT_EQ(person.age, 40);
  EXPECT_EQ(person.sex, Sex::Female);
  EXPECT_EQ(random.state(), 729675781u);
}

TEST(RollAbilitiesAgeSex, OnlyAnEighteenDrawsThePercentile) {
  // 4 dice for each of seven abilities, one age and one sex draw: 30, plus the
  // percentile when Str is 18.
  const std::uint32_t eighteen =
      testing::seedWhere([](Random& random) { return rollAbility(random) == 18; });
  for (std::uint32_t seed : {eighteen, eighteen + 1}) {
    Random random(seed);
    Townsperson person;
    rollAbilitiesAgeSex(person, random, AgeRange(0, 59));
    Random expected(seed);
    const int draws = person.Str == 18 ? 31 : 30;
    for (int i = 0; i < draws; ++i) expected.rand();
    EXPECT_EQ(random.state(), expected.state()) << seed;
    if (person.Str == 18) {
      EXPECT_GE(person.strPercentile, 1);
      EXPECT_LE(person.strPercentile, 100);
    } else {
      EXPECT_EQ(person.strPercentile, 0);
    }
  }
}

// The first pass of a town with ties skips the abilities: a draw too few or
// too many would make every later townsperson of the pass another.
TEST(SkipAbilities, MakesTheDrawsOfRollAbilities) {
  Random rolled(5);
  Random skipped(5);
  int eighteens = 0;
  for (int i = 0; i < 20000; ++i) {
    Townsperson person;
    rollAbilities(person, rolled);
    skipAbilities(skipped);
    ASSERT_EQ(skipped.state(), rolled.state()) << i;
    eighteens += person.Str == 18 ? 1 : 0;
  }
  EXPECT_GT(eighteens, 50);  // the percentile's draw was met
}

TEST(PickName, FirstNameBySexThenLastName) {
  NameLists names;
  for (const char* name : {"Aldous", "Hal", "Piers"}) names.maleNames.append(name);
  for (const char* name : {"Matilda", "Agnes"}) names.femaleNames.append(name);
  for (const char* name : {"Fletcher", "Atwood", "Dunn", "Miller"}) names.lastNames.append(name);

  Random random(1);  // draws 41, 18467
  Townsperson man;
  man.sex = Sex::Male;
  pickName(man, random, NamePickers(names));
  EXPECT_EQ(man.name, "Piers Miller");  // 41 % 3 == 2, 18467 % 4 == 3

  Random again(1);
  Townsperson woman;
  woman.sex = Sex::Female;
  woman.name = "left over";
  pickName(woman, again, NamePickers(names));
  EXPECT_EQ(woman.name, "Agnes Miller");  // 41 % 2 == 1
}

TEST(PickName, OnlyTheFirst32768NamesOfALongListArePicked) {
  NameLists names;
  for (int i = 0; i < 40000; ++i) names.maleNames.append(std::to_string(i));
  names.lastNames.append("Smith");
  const NamePickers pickers(names);
  Random random(11);
  Townsperson person;
  int highest = 0;
  for (int i = 0; i < 20000; ++i) {
    pickName(person, random, pickers);
    highest = std::max(highest, std::stoi(person.name));
  }
  EXPECT_LE(highest, 32767);
  EXPECT_GT(highest, 32000);
}

}  // namespace
}  // namespace towngen

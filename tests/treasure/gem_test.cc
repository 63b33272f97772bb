#include "treasure/gem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "tests/seed_search.h"
#include "treasure/gem_name_table.h"
#include "treasure/gem_value_class.h"

namespace towngen {
namespace {

// A gem roll that starts with a d100 in [low..high], any name and gate, then
// the given d6 faces, then (when p >= 0) a percentage draw giving p.
struct GemDice {
  int low;
  int high;
  std::vector<int> d6;
  int p = -1;
  int pModulus = 0;
};

Gem rollWith(const GemDice& dice) {
  const std::uint32_t seed = testing::seedWhere([&](Random& random) {
    const int d100 = random.d100();
    if (d100 < dice.low || d100 > dice.high) return false;
    random.rand();  // name
    random.rand();  // gate
    for (int face : dice.d6) {
      if (random.die(6) != face) return false;
    }
    return dice.p < 0 || random.rand() % dice.pModulus + 10 == dice.p;
  });
  Random random(seed);
  Gem gem;
  gem.rollGem(random);
  return gem;
}

constexpr int kClass0Low = 1, kClass0High = 25;
constexpr int kClass1Low = 26, kClass1High = 50;
constexpr int kClass2Low = 51, kClass2High = 70;
constexpr int kClass3Low = 71, kClass3High = 90;
constexpr int kClass4Low = 91, kClass4High = 99;

TEST(Gem, ResetValues) {
  Gem gem;
  gem.valueClass = 3;
  gem.value = 12;
  gem.reset();
  EXPECT_EQ(gem.valueClass, -1);
  EXPECT_EQ(gem.nameIndex, -1);
  EXPECT_EQ(gem.baseValue, 0.0);
  EXPECT_EQ(gem.variationRoll, 0);
  EXPECT_EQ(gem.value, -1.0);
  EXPECT_FALSE(gem.variationApplied);
}

TEST(GemValueClass, D100BoundariesPickNeighbouringClasses) {
  const struct {
    int d100;
    int valueClass;
  } cases[] = {{1, 0},  {25, 0}, {26, 1}, {50, 1}, {51, 2}, {70, 2},
               {71, 3}, {90, 3}, {91, 4}, {99, 4}, {100, 5}};
  for (const auto& c : cases) EXPECT_EQ(gemValueClassFor(c.d100), c.valueClass) << c.d100;
}

TEST(Gem, SettersClampAndGuard) {
  Gem gem;
  gem.setValueClass(-4);
  EXPECT_EQ(gem.valueClass, 0);
  EXPECT_EQ(gem.baseValue, 10.0);
  gem.setValueClass(9);
  EXPECT_EQ(gem.valueClass, 5);
  EXPECT_EQ(gem.baseValue, 5000.0);
  gem.setBaseValue(-3);
  EXPECT_EQ(gem.baseValue, 0.0);
  gem.setBaseValue(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(gem.baseValue, 0.0);
}

TEST(Gem, NamesStayInTheRolledClassWhateverTheVariation) {
  Random random(2024);
  for (int i = 0; i < 20000; ++i) {
    Gem gem;
    Random before = random;
    gem.rollGem(random);
    const GemValueClass& rolled =
        kGemValueClasses[static_cast<std::size_t>(gemValueClassFor(before.d100()))];
    EXPECT_GE(gem.nameIndex, rolled.firstName);
    EXPECT_LT(gem.nameIndex, rolled.firstName + rolled.nameCount);
    EXPECT_TRUE(gem.variationApplied);
    EXPECT_GE(gem.value, 0.0);
    EXPECT_LT(gem.value, 100000.0);
  }
}

TEST(Gem, SimpleVariations) {
  const struct {
    GemDice dice;
    double value;
  } cases[] = {
      {{100, 100, {2}}, 10000},                       // doubled class 5
      {{kClass0Low, kClass0High, {5}}, 5},            // halved
      {{100, 100, {3}, 59, 50}, 1.59 * 5000},         // 59% above
      {{kClass0Low, kClass0High, {3}, 10, 50}, 11},   // 10% above
      {{kClass0Low, kClass0High, {4}, 10, 30}, 1},    // 10% of
      {{kClass4Low, kClass4High, {4}, 39, 30}, 390},  // 39% of
  };
  for (const auto& c : cases) {
    const Gem gem = rollWith(c.dice);
    EXPECT_DOUBLE_EQ(gem.value, c.value) << c.dice.low << " d6 " << c.dice.d6[0];
    EXPECT_EQ(gem.variationRoll, c.dice.d6[0]);
    EXPECT_EQ(gem.valueClass, gemValueClassFor(c.dice.low));  // class and base stay
  }
}

TEST(Gem, RunsOfOnesMoveTheClass) {
  const struct {
    GemDice dice;
    int variationRoll;
    int valueClass;
    double value;
  } cases[] = {
      {{kClass3Low, kClass3High, {1, 3}}, 1, 4, 1000},  // a single 1 raises
      {{kClass0Low, kClass0High, {1, 2}}, 1, 1, 50},
      {{100, 100, {1, 4}}, 1, 5, 5000},                      // no class above 5
      {{kClass0Low, kClass0High, {1, 1, 5}}, 0, 0, 10},      // two 1s keep the class
      {{kClass1Low, kClass1High, {1, 1, 1, 4}}, -1, 0, 10},  // three 1s lower it
      {{kClass0Low, kClass0High, {1, 1, 1, 4}}, -1, 0, 5},   // below class 0
      {{kClass0Low, kClass0High, {1, 1, 1, 1, 2}}, -2, 0, 1},
      {{kClass0Low, kClass0High, {1, 1, 1, 1, 1, 2}}, -3, 0, 0.5},
      {{kClass0Low, kClass0High, {1, 1, 1, 1, 1, 1, 3}}, -4, 0, 0.1},
  };
  for (const auto& c : cases) {
    const Gem gem = rollWith(c.dice);
    EXPECT_EQ(gem.variationRoll, c.variationRoll) << c.dice.d6.size();
    EXPECT_EQ(gem.valueClass, c.valueClass) << c.dice.d6.size();
    EXPECT_DOUBLE_EQ(gem.value, c.value) << c.dice.low << " " << c.dice.d6.size();
  }
}

TEST(Gem, RunsOfSixesRaiseTheClass) {
  const Gem raised = rollWith({kClass2Low, kClass2High, {6, 6, 2}});
  EXPECT_EQ(raised.variationRoll, 7);
  EXPECT_EQ(raised.valueClass, 4);
  EXPECT_EQ(raised.value, 1000);

  const Gem single = rollWith({kClass0Low, kClass0High, {6, 3}});
  EXPECT_EQ(single.valueClass, 1);
  EXPECT_EQ(single.value, 50);
}

TEST(Gem, RaisedPastTheTopDoublesPerClassUpTo99999) {
  const Gem onePast = rollWith({100, 100, {6, 4}});
  EXPECT_EQ(onePast.valueClass, 5);
  EXPECT_EQ(onePast.baseValue, 5000);
  EXPECT_EQ(onePast.value, 10000);

  const Gem twoPast = rollWith({kClass4Low, kClass4High, {6, 6, 6, 2}});
  EXPECT_EQ(twoPast.valueClass, 4);  // class and base stay as they were
  EXPECT_EQ(twoPast.baseValue, 1000);
  EXPECT_EQ(twoPast.value, 20000);  // two classes past: 5000 x 2^2

  const Gem farPast = rollWith({100, 100, {6, 6, 6, 6, 6, 1}});
  EXPECT_EQ(farPast.value, 99999);
}

TEST(GemName, TableEntriesAndGuards) {
  EXPECT_EQ(gemName(0), "Azurite");
  EXPECT_EQ(gemName(10), "Turquiose");
  EXPECT_EQ(gemName(18), "Onyz");
  EXPECT_EQ(gemName(43), "Black Sapphire");
  EXPECT_EQ(gemName(50), "Star Sapphire");
  EXPECT_EQ(gemName(-1), "");
  EXPECT_EQ(gemName(51), "");
}

}  // namespace
}  // namespace towngen

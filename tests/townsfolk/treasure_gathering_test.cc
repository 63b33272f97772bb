#include "townsfolk/treasure_gathering.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/treasure/treasure_test_support.h"

namespace towngen {
namespace {

using testing::GeneratorFixture;

std::vector<std::string> itemTexts(const CarriedTreasure& treasure) {
  std::vector<std::string> texts;
  for (const MagicItem& item : treasure.magicItems) texts.push_back(item.text());
  return texts;
}

std::array<std::int32_t, 5> coinsOf(const CarriedTreasure& treasure) {
  return {treasure.cp, treasure.sp, treasure.ep, treasure.gp, treasure.pp};
}

// Exact treasure for fixed seeds, worked out by hand from the class rules and
// the chart (reset, "J", then each later letter's chance).
TEST(GatherTreasure, SeededTreasureOfEachClass) {
  const struct {
    SocialClass socialClass;
    std::uint32_t seed;
    std::array<std::int32_t, 5> coins;
    std::int32_t gems;
    std::vector<std::string> items;
    std::uint32_t stateAfter;
  } cases[] = {
      {SocialClass::Farmer, 21, {22, 4, 2, 3, 0}, 4, {"C10a"}, 2142913626u},
      {SocialClass::Craftsman, 22, {3, 13, 10, 7, 0}, 6, {"C4a"}, 2334547646u},
      {SocialClass::Noble, 23, {6, 5, 7, 4, 0}, 0, {"C16b", "C5b", "C4a"}, 1533699983u},
      {SocialClass::Noble, 24, {9, 13, 4, 2, 1}, 3, {}, 2639372059u},
      {SocialClass::Noble, 30, {7, 14, 7, 0, 2}, 4, {"C16a", "C9b"}, 4168978026u},
  };
  for (const auto& c : cases) {
    GeneratorFixture fixture(testing::twoItemsPerCategory(), c.seed);
    CarriedTreasure treasure;
    gatherTreasure(c.socialClass, fixture.generator, treasure, fixture.random);
    EXPECT_EQ(coinsOf(treasure), c.coins) << c.seed;
    EXPECT_EQ(treasure.gems.count(), c.gems) << c.seed;
    EXPECT_EQ(itemTexts(treasure), c.items) << c.seed;
    EXPECT_EQ(fixture.random.state(), c.stateAfter) << c.seed;
  }
}

TEST(TakeTreasureShare, TakesOnlyTheNamedShare) {
  GeneratorFixture fixture;
  fixture.generator.rollTreasure("Z");  // pays all five coins
  CarriedTreasure treasure;
  takeTreasureShare(TreasureShare::Silver, fixture.generator, treasure, fixture.random);
  EXPECT_EQ(coinsOf(treasure),
            (std::array<std::int32_t, 5>{0, fixture.generator.silverPieces(), 0, 0, 0}));
  EXPECT_TRUE(treasure.gems.isEmpty());
  EXPECT_TRUE(treasure.magicItems.isEmpty());

  CarriedTreasure fromZ;
  takeTreasureShare(TreasureShare::NobleGemsAndItems, fixture.generator, fromZ, fixture.random);
  EXPECT_EQ(coinsOf(fromZ), (std::array<std::int32_t, 5>{}));  // Z's coins are never taken
}

TEST(TakeTreasureShare, SharesAreAddedBehindWhatIsCarried) {
  GeneratorFixture fixture;
  CarriedTreasure treasure;
  treasure.sp = 5;
  fixture.generator.rollTreasure("K");
  takeTreasureShare(TreasureShare::Silver, fixture.generator, treasure, fixture.random);
  EXPECT_EQ(treasure.sp, 5 + fixture.generator.silverPieces());

  fixture.generator.rollTreasure("V");
  takeTreasureShare(TreasureShare::GemsAndItems, fixture.generator, treasure, fixture.random);
  fixture.generator.rollTreasure("X");
  takeTreasureShare(TreasureShare::GemsAndItems, fixture.generator, treasure, fixture.random);
  EXPECT_EQ(treasure.magicItems.count(), 4);
}

// The noble drop after a roll that left items "1", "2", "3": the next d100s
// decide which are kept.
TEST(TakeTreasureShare, NobleDropOfThreeItems) {
  const struct {
    int firstLow, firstHigh, secondLow, secondHigh;
    std::vector<std::string> kept;
    int draws;
  } cases[] = {
      {66, 100, 1, 100, {"3"}, 1},
      {1, 65, 33, 100, {"2", "3"}, 2},
      {1, 65, 1, 32, {"1", "2", "3"}, 2},
  };
  for (const auto& c : cases) {
    GeneratorFixture fixture("<note> </note> 1 tccRings 2 tccWands 3 tccRods");
    for (std::int32_t category : {tccRings, tccWands, tccRods}) {
      fixture.generator.magicItems().append(
          fixture.generator.catalogue().drawItem(category, fixture.random));
    }
    const std::uint32_t seed = testing::seedWhere([&](Random& random) {
      const int first = random.d100();
      const int second = random.d100();
      return first >= c.firstLow && first <= c.firstHigh && second >= c.secondLow &&
             second <= c.secondHigh;
    });
    fixture.random.srand(seed);
    CarriedTreasure treasure;
    takeTreasureShare(TreasureShare::NobleGemsAndItems, fixture.generator, treasure,
                      fixture.random);
    EXPECT_EQ(itemTexts(treasure), c.kept);
    Random expected(seed);
    for (int i = 0; i < c.draws; ++i) expected.rand();
    EXPECT_EQ(fixture.random.state(), expected.state()) << c.kept.size();
  }
}

TEST(TakeTreasureShare, NoItemsNoDropDraw) {
  GeneratorFixture fixture;
  fixture.generator.rollTreasure("Q");  // gems, no items
  const std::uint32_t before = fixture.random.state();
  CarriedTreasure treasure;
  takeTreasureShare(TreasureShare::NobleGemsAndItems, fixture.generator, treasure, fixture.random);
  EXPECT_EQ(fixture.random.state(), before);
  EXPECT_EQ(treasure.gems.count(), fixture.generator.gems().count());
}

TEST(GatherTreasure, CoinsStayInTheirLettersRanges) {
  GeneratorFixture fixture;
  for (SocialClass socialClass :
       {SocialClass::Farmer, SocialClass::Craftsman, SocialClass::Noble}) {
    for (int i = 0; i < 2000; ++i) {
      CarriedTreasure treasure;
      fixture.generator.reset();
      gatherTreasure(socialClass, fixture.generator, treasure, fixture.random);
      EXPECT_GE(treasure.cp, 3);
      EXPECT_LE(treasure.cp, 24);
      EXPECT_TRUE(treasure.sp == 0 || (treasure.sp >= 3 && treasure.sp <= 18));
      EXPECT_TRUE(treasure.ep == 0 || (treasure.ep >= 2 && treasure.ep <= 12));
      EXPECT_TRUE(treasure.gp == 0 || (treasure.gp >= 2 && treasure.gp <= 8));
      EXPECT_TRUE(treasure.pp == 0 || (treasure.pp >= 1 && treasure.pp <= 6));
    }
  }
}

// The first pass of a town with ties gathers the coins alone: it must make
// every draw of the whole treasure, or every later townsperson of the pass
// would be another, and come to the same coins. One catalogue has items in
// every category, the other in one only (an empty category draws nothing).
TEST(GatherTreasure, CoinsOnlyMakeTheWholeTreasuresDrawsAndCoins) {
  const std::string oneCategory =
      "<note> one </note>\nC0a " + std::string(kItemCategoryTags[0]) + "\n";
  for (const std::string& catalogue : {testing::twoItemsPerCategory(), oneCategory}) {
    GeneratorFixture whole(catalogue, 9);
    Random random(9);
    TreasureGenerator coins(random, whole.catalogueHeld, TreasureGenerator::Detail::CoinsOnly);
    std::int32_t gems = 0;
    std::int32_t items = 0;
    for (SocialClass socialClass :
         {SocialClass::Farmer, SocialClass::Craftsman, SocialClass::Noble}) {
      for (int i = 0; i < 3000; ++i) {
        CarriedTreasure wholeTreasure;
        CarriedTreasure coinsTreasure;
        whole.generator.reset();
        coins.reset();
        gatherTreasure(socialClass, whole.generator, wholeTreasure, whole.random);
        gatherTreasure(socialClass, coins, coinsTreasure, random);
        ASSERT_EQ(random.state(), whole.random.state()) << i;
        ASSERT_EQ(coinsOf(coinsTreasure), coinsOf(wholeTreasure)) << i;
        EXPECT_TRUE(coinsTreasure.gems.isEmpty());
        EXPECT_TRUE(coinsTreasure.magicItems.isEmpty());
        gems += wholeTreasure.gems.count();
        items += wholeTreasure.magicItems.count();
      }
    }
    EXPECT_GT(gems, 1000);  // the gems' and the items' draws were met
    EXPECT_GT(items, 100);
  }
}

}  // namespace
}  // namespace towngen

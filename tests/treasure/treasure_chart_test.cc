#include "treasure/treasure_chart.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tests/treasure/treasure_test_support.h"

namespace towngen {
namespace {

using testing::GeneratorFixture;

std::array<std::int32_t, 5> coinsOf(const TreasureGenerator& generator) {
  return {generator.copperPieces(), generator.silverPieces(), generator.electrumPieces(),
          generator.goldPieces(), generator.platinumPieces()};
}

// The category an item of the two-items-per-category catalogue belongs to.
int categoryOf(const std::string& text) { return std::stoi(text.substr(1)); }

struct GemSeen {
  std::int32_t nameIndex;
  double value;
};

void expectGems(const std::vector<Gem>& gems, const std::vector<GemSeen>& expected) {
  ASSERT_EQ(gems.size(), expected.size());
  for (std::size_t i = 0; i < gems.size(); ++i) {
    EXPECT_EQ(gems[i].nameIndex, expected[i].nameIndex) << i;
    EXPECT_DOUBLE_EQ(gems[i].value, expected[i].value) << i;
  }
}

TEST(TreasureChart, ChanceRowsCoverTheirTable) {
  for (const ChanceRow& row : kChanceRows) {
    for (const ChanceEntry& coin : row.coins) {
      EXPECT_LE(coin.low, coin.high);
      EXPECT_TRUE(coin.percent > 0 || coin.high == 0);
    }
    EXPECT_GT(row.items[0].count, 0);
  }
}

// Exact results for fixed seeds, worked out by hand from the chart's rules.
TEST(TreasureChart, RowZDrawsInColumnOrder) {
  GeneratorFixture fixture(testing::twoItemsPerCategory(), 7);
  fixture.generator.rollTreasure("Z");
  EXPECT_EQ(coinsOf(fixture.generator), (std::array<std::int32_t, 5>{161, 365, 265, 126, 270}));
  expectGems(fixture.gems(), {{38, 5000}, {15, 100}, {34, 1000}});
  EXPECT_EQ(fixture.itemTexts(), (std::vector<std::string>{"C4a", "C4b", "C6a"}));
  EXPECT_EQ(fixture.random.state(), 926696682u);
}

TEST(TreasureChart, RowAPaysByItsChances) {
  GeneratorFixture fixture(testing::twoItemsPerCategory(), 42);
  fixture.generator.rollTreasure("A");
  EXPECT_EQ(coinsOf(fixture.generator), (std::array<std::int32_t, 5>{0, 1860, 0, 0, 0}));
  EXPECT_EQ(fixture.generator.gems().count(), 28);
  EXPECT_EQ(fixture.itemTexts(), (std::vector<std::string>{"C12a", "C2a", "C14b"}));
  EXPECT_EQ(fixture.random.state(), 2200511747u);
}

TEST(TreasureChart, RowWWithoutItsMagic) {
  GeneratorFixture fixture(testing::twoItemsPerCategory(), 5);
  fixture.generator.rollTreasure("W");
  EXPECT_EQ(coinsOf(fixture.generator), (std::array<std::int32_t, 5>{0, 0, 0, 7, 6}));
  EXPECT_EQ(fixture.generator.gems().count(), 16);
  EXPECT_TRUE(fixture.itemTexts().empty());
  EXPECT_EQ(fixture.random.state(), 2061354116u);
}

TEST(TreasureChart, RowUGemsAndOneItem) {
  GeneratorFixture fixture(testing::twoItemsPerCategory(), 3);
  fixture.generator.rollTreasure("U");
  expectGems(fixture.gems(), {{38, 120},
                              {3, 1.3},
                              {3, 50},
                              {11, 79},
                              {30, 11},
                              {43, 10000},
                              {22, 100},
                              {27, 28},
                              {11, 100},
                              {37, 5000},
                              {14, 67},
                              {15, 500},
                              {32, 180}});
  EXPECT_EQ(fixture.itemTexts(), (std::vector<std::string>{"C0b"}));
  EXPECT_EQ(fixture.random.state(), 735008068u);
}

TEST(TreasureChart, RowsJToNPayOneCoinKindEach) {
  const struct {
    const char* letter;
    std::size_t kind;
    std::int32_t low;
    std::int32_t high;
  } cases[] = {{"J", 0, 3, 24}, {"K", 1, 3, 18}, {"L", 2, 2, 12}, {"M", 3, 2, 8}, {"N", 4, 1, 6}};
  for (const auto& c : cases) {
    GeneratorFixture fixture;
    for (int i = 0; i < 300; ++i) {
      fixture.generator.rollTreasure(c.letter);
      const std::array<std::int32_t, 5> coins = coinsOf(fixture.generator);
      for (std::size_t kind = 0; kind < coins.size(); ++kind) {
        if (kind == c.kind) {
          EXPECT_GE(coins[kind], c.low) << c.letter;
          EXPECT_LE(coins[kind], c.high) << c.letter;
        } else {
          EXPECT_EQ(coins[kind], 0) << c.letter;
        }
      }
      EXPECT_TRUE(fixture.generator.gems().isEmpty());
      EXPECT_TRUE(fixture.generator.magicItems().isEmpty());
    }
  }
}

// Rows O, P and Y pay two kinds of coin, or gold alone, drawn in column
// order: seed 1 draws 41, 18467, so O pays 10 + 41 % 31 cp and
// 10 + 18467 % 21 sp.
TEST(TreasureChart, RowsOPAndYPayTheirCoinsInColumnOrder) {
  const struct {
    const char* letter;
    std::array<std::int32_t, 5> coins;
  } cases[] = {{"O", {20, 18, 0, 0, 0}}, {"P", {0, 51, 8, 0, 0}}, {"Y", {0, 0, 0, 241, 0}}};
  for (const auto& c : cases) {
    GeneratorFixture fixture;
    fixture.generator.rollTreasure(c.letter);
    EXPECT_EQ(coinsOf(fixture.generator), c.coins) << c.letter;
    EXPECT_TRUE(fixture.generator.gems().isEmpty()) << c.letter;
    EXPECT_TRUE(fixture.generator.magicItems().isEmpty()) << c.letter;
  }
}

TEST(TreasureChart, RowHCopperNeverPassesTheLargestDraw) {
  GeneratorFixture fixture;
  std::int32_t highest = 0;
  for (int i = 0; i < 3000; ++i) {
    fixture.generator.rollTreasure("H");
    highest = std::max(highest, fixture.generator.copperPieces());
  }
  EXPECT_LE(highest, 35767);
  EXPECT_GT(highest, 30000);
}

TEST(TreasureChart, ZeroPercentEntriesStillDraw) {
  // Row I: five coin d100s (three of them 0%) and the gem d100; a seed whose
  // electrum, platinum, gem and magic entries all fail shows the exact count.
  const std::uint32_t seed = testing::seedWhere([](Random& random) {
    for (int entry = 0; entry < 5; ++entry) {
      if (random.d100() <= 30 && (entry == 2 || entry == 4)) return false;
    }
    return random.d100() > 55 && random.d100() < 15;
  });
  GeneratorFixture fixture(testing::twoItemsPerCategory(), seed);
  fixture.generator.rollTreasure("I");
  Random expected(seed);
  for (int draw = 0; draw < 7; ++draw) expected.rand();
  EXPECT_EQ(fixture.random.state(), expected.state());
  EXPECT_EQ(coinsOf(fixture.generator), (std::array<std::int32_t, 5>{}));
}

TEST(TreasureChart, ItemRowsDrawTheirCountsAndCategories) {
  const struct {
    const char* letter;
    std::int32_t fewest;
    std::int32_t most;
    int onlyCategory;  // -1: any
  } cases[] = {{"S", 1, 8, 0}, {"T", 1, 4, 1}, {"U", 1, 1, -1}, {"V", 2, 2, -1}, {"X", 2, 2, 0}};
  for (const auto& c : cases) {
    GeneratorFixture fixture;
    std::int32_t fewest = 100, most = 0;
    for (int i = 0; i < 500; ++i) {
      fixture.generator.reset();
      fixture.generator.rollTreasure(c.letter);
      const std::int32_t count = fixture.generator.magicItems().count();
      fewest = std::min(fewest, count);
      most = std::max(most, count);
      for (const std::string& text : fixture.itemTexts()) {
        if (c.onlyCategory >= 0) {
          EXPECT_EQ(categoryOf(text), c.onlyCategory) << c.letter;
        }
      }
      EXPECT_EQ(coinsOf(fixture.generator), (std::array<std::int32_t, 5>{})) << c.letter;
      if (std::string(c.letter) != "U") {
        EXPECT_TRUE(fixture.generator.gems().isEmpty());
      }
    }
    EXPECT_EQ(fewest, c.fewest) << c.letter;
    EXPECT_EQ(most, c.most) << c.letter;
  }
}

TEST(TreasureChart, RowFNeverDrawsAWeapon) {
  GeneratorFixture fixture;
  int items = 0;
  for (int i = 0; i < 2000; ++i) {
    fixture.generator.reset();
    fixture.generator.rollTreasure("F");
    for (const std::string& text : fixture.itemTexts()) {
      EXPECT_NE(categoryOf(text), tccWeapons);
      ++items;
    }
  }
  EXPECT_GT(items, 5000);
}

TEST(TreasureChart, RowBDrawsArmourThenWeapon) {
  GeneratorFixture fixture;
  for (int i = 0; i < 200; ++i) {
    fixture.generator.reset();
    fixture.generator.rollTreasure("B");
    const std::vector<std::string> items = fixture.itemTexts();
    if (items.empty()) continue;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(categoryOf(items[0]), tccArmorAndShields);
    EXPECT_EQ(categoryOf(items[1]), tccWeapons);
  }
}

TEST(TreasureChart, RowsQAndRAlwaysPayGemsAndNoItems) {
  GeneratorFixture fixture;
  for (const char* letter : {"Q", "R"}) {
    for (int i = 0; i < 200; ++i) {
      fixture.generator.reset();
      fixture.generator.rollTreasure(letter);
      EXPECT_GE(fixture.generator.gems().count(), std::string(letter) == "Q" ? 1 : 2);
      EXPECT_LE(fixture.generator.gems().count(), std::string(letter) == "Q" ? 4 : 8);
      EXPECT_TRUE(fixture.generator.magicItems().isEmpty());
    }
  }
}

}  // namespace
}  // namespace towngen

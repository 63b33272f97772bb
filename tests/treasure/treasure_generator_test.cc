#include "treasure/treasure_generator.h"

#include <gtest/gtest.h>

#include "tests/treasure/treasure_test_support.h"

namespace towngen {
namespace {

using testing::GeneratorFixture;

void expectEmptyResult(const TreasureGenerator& generator) {
  EXPECT_EQ(generator.copperPieces(), 0);
  EXPECT_EQ(generator.silverPieces(), 0);
  EXPECT_EQ(generator.electrumPieces(), 0);
  EXPECT_EQ(generator.goldPieces(), 0);
  EXPECT_EQ(generator.platinumPieces(), 0);
  EXPECT_TRUE(generator.gems().isEmpty());
  EXPECT_TRUE(generator.magicItems().isEmpty());
}

TEST(TreasureGenerator, StartsEmptyAndDrawsNothingUntilARoll) {
  GeneratorFixture fixture;
  EXPECT_EQ(fixture.generator.currentRow(), -1);
  expectEmptyResult(fixture.generator);
  EXPECT_EQ(fixture.random.state(), 1u);
}

TEST(TreasureGenerator, LettersNameRowsInEitherCase) {
  const struct {
    const char* letter;
    std::int32_t row;
  } cases[] = {{"a", 0}, {"A", 0}, {"j", 9}, {"J", 9}, {"z", 25}, {"Z", 25}};
  for (const auto& c : cases) {
    GeneratorFixture fixture;
    fixture.generator.rollTreasure(c.letter);
    EXPECT_EQ(fixture.generator.currentRow(), c.row) << c.letter;
  }
}

TEST(TreasureGenerator, AnythingButOneLetterTakesTheErrorPathAndLeavesNothing) {
  for (const char* letter : {"", "AB", "aa", " A", "A ", "1", "?", "\xC3\x84"}) {
    GeneratorFixture fixture;
    fixture.generator.rollTreasure("U");  // something to be wiped
    const std::uint32_t before = fixture.random.state();
    fixture.generator.rollTreasure(letter);
    EXPECT_EQ(fixture.generator.currentRow(), -1) << letter;
    EXPECT_EQ(fixture.random.state(), before) << letter;
    expectEmptyResult(fixture.generator);
  }
}

TEST(TreasureGenerator, RowsOutsideTheChartTakeTheErrorPath) {
  for (std::int32_t row : {-1, 26, -100, 1000}) {
    GeneratorFixture fixture;
    fixture.generator.rollChartRow(row);
    EXPECT_EQ(fixture.generator.currentRow(), -1);
  }
}

TEST(TreasureGenerator, ResetEmptiesEverything) {
  GeneratorFixture fixture;
  fixture.generator.rollTreasure("Z");
  fixture.generator.reset();
  EXPECT_EQ(fixture.generator.currentRow(), -1);
  expectEmptyResult(fixture.generator);
  fixture.generator.reset();  // already empty: stays so
  expectEmptyResult(fixture.generator);
}

TEST(TreasureGenerator, WithoutResetGemsAccumulateAndUnpaidItemsStay) {
  GeneratorFixture fixture;
  fixture.generator.rollTreasure("Q");  // always gems, no items
  const std::int32_t firstGems = fixture.generator.gems().count();
  fixture.generator.rollTreasure("Q");
  EXPECT_GT(fixture.generator.gems().count(), firstGems);

  // A row whose magic chance fails keeps the items of the roll before.
  fixture.generator.rollTreasure("V");  // always two items
  const std::vector<std::string> items = fixture.itemTexts();
  ASSERT_EQ(items.size(), 2u);
  const std::uint32_t seed = testing::seedWhere([](Random& random) {
    for (int i = 0; i < 2; ++i) random.rand();  // W's gold and platinum
    if (random.d100() <= 60) return false;      // no gems
    return random.d100() < 60;                  // magic fails
  });
  fixture.random.srand(seed);
  fixture.generator.rollTreasure("W");
  EXPECT_EQ(fixture.itemTexts(), items);
  EXPECT_TRUE(fixture.generator.gems().isEmpty());
}

TEST(TreasureGenerator, RollRangeIsTheSharedRange) {
  GeneratorFixture fixture;  // seed 1: first draw 41
  EXPECT_EQ(fixture.generator.rollRange(3, 24), 3 + 41 % 22);
}

TEST(TreasureGenerator, EmptyCategoriesYieldEmptyItems) {
  GeneratorFixture fixture("<note> </note>");
  fixture.generator.rollTreasure("V");
  EXPECT_EQ(fixture.generator.magicItems().count(), 2);
  for (const MagicItem& item : fixture.generator.magicItems()) EXPECT_TRUE(item.isEmpty());
}

}  // namespace
}  // namespace towngen

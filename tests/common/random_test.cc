#include "common/random.h"

#include <gtest/gtest.h>

#include <climits>

namespace towngen {
namespace {

TEST(Random, FirstOutputsFollowTheGenerator) {
  Random one(1);
  for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(one.rand(), expected);
  Random zero(0);
  for (int expected : {38, 7719, 21238, 2437, 8855}) EXPECT_EQ(zero.rand(), expected);
}

TEST(Random, SrandRestartsTheSequence) {
  Random random(99);
  random.rand();
  random.srand(12345);
  for (int expected : {7584, 19164, 25795, 22125, 5828}) EXPECT_EQ(random.rand(), expected);
}

TEST(Random, DiceAndRangesAreOffsetRemainders) {
  Random random(1);                        // draws 41, 18467, 6334, 26500
  EXPECT_EQ(random.die(6), 6);             // 41 % 6 + 1
  EXPECT_EQ(random.d100(), 68);            // 18467 % 100 + 1
  EXPECT_EQ(random.rollRange(3, 24), 23);  // 3 + 6334 % 22
  EXPECT_EQ(random.rollRange(5, 5), 5);
}

TEST(Random, RollRangeOverTheWholeIntRangeDoesNotOverflow) {
  Random random(1);  // first draw 41
  EXPECT_EQ(random.rollRange(INT_MIN, INT_MAX), INT_MIN + 41);
  // A range wider than 32768 values never reaches its upper end.
  for (int i = 0; i < 1000; ++i) EXPECT_LE(random.rollRange(3000, 180000), 35767);
}

}  // namespace
}  // namespace towngen

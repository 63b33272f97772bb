#include "townsfolk/craft_table.h"

#include <gtest/gtest.h>

namespace towngen {
namespace {

TEST(Craft, BoundariesPickNeighbouringEntries) {
  const struct {
    std::int32_t k;
    std::string_view occupation;
  } cases[] = {
      {0, "Armorer"},
      {2, "Armorer"},
      {3, "Weaponsmith"},
      {10, "Bowyer/Fletcher"},
      {11, "Fisher"},
      {68, "Blacksmith"},
      {69, "Woodworker/Carpenter"},
      {71, "Woodworker/Carpenter"},
      {72, "Unemployed - Bumm, down on their luck, etc."},
      {85, "Unemployed - Bumm, down on their luck, etc."},
      {86, "Unemployed - Sick, injured, etc."},
      {99, "Unemployed - Sick, injured, etc."},
  };
  for (const auto& c : cases) EXPECT_EQ(craftFor(c.k), c.occupation) << c.k;
}

TEST(Craft, RollDrawsOnceFromAHundred) {
  Random random(1);  // first draw 41: "Leather worker" covers 35..37, "Mason" 40..42
  EXPECT_EQ(rollCraft(random), "Mason");
  EXPECT_EQ(random.rand(), 18467);  // one draw, no more
}

}  // namespace
}  // namespace towngen

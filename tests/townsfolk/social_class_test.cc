#include "townsfolk/social_class.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace towngen {
namespace {

// The classes of a whole town as a string: N, C and F in town order.
std::string classesOf(std::int32_t population) {
  const ClassThresholds thresholds(population);
  std::string classes;
  for (std::int32_t number = 1; number <= population; ++number) {
    switch (socialClassOf(number, population, thresholds)) {
      case SocialClass::Noble:
        classes += 'N';
        break;
      case SocialClass::Craftsman:
        classes += 'C';
        break;
      case SocialClass::Farmer:
        classes += 'F';
        break;
    }
  }
  return classes;
}

TEST(SocialClass, SmallTowns) {
  EXPECT_EQ(classesOf(1), "N");
  EXPECT_EQ(classesOf(2), "NN");
  EXPECT_EQ(classesOf(3), "NNC");
  EXPECT_EQ(classesOf(20), "NNCCCCCCFFFFFFFFFFFF");
}

TEST(SocialClass, AHundredHasSixNoblesBecause95DoesNotTruncateTo94) {
  const ClassThresholds thresholds(100);
  EXPECT_EQ(thresholds.nobleThreshold, 95);
  EXPECT_EQ(thresholds.farmerThreshold, 66);
  EXPECT_EQ(classesOf(100), std::string(6, 'N') + std::string(29, 'C') + std::string(65, 'F'));
}

TEST(SocialClass, LargestPopulationDoesNotOverflow) {
  const ClassThresholds thresholds(INT_MAX);
  EXPECT_EQ(thresholds.nobleThreshold, 2040109464);
  EXPECT_EQ(thresholds.farmerThreshold, 1417339207);
  EXPECT_EQ(socialClassOf(1, INT_MAX, thresholds), SocialClass::Noble);
  EXPECT_EQ(socialClassOf(INT_MAX, INT_MAX, thresholds), SocialClass::Farmer);
}

TEST(Occupation, FarmersAndNoblesDrawNothing) {
  Random random(5);
  EXPECT_EQ(rollOccupation(SocialClass::Farmer, random), "Farmer");
  EXPECT_EQ(rollOccupation(SocialClass::Noble, random), "Noble");
  EXPECT_EQ(random.state(), 5u);
  EXPECT_EQ(rollOccupation(SocialClass::Craftsman, random), "Tailor/Weaver");  // draw 54
}

}  // namespace
}  // namespace towngen

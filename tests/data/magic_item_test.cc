#include "data/magic_item.h"

#include <gtest/gtest.h>

namespace towngen {
namespace {

// A category past the 18, or no text, leaves an empty item, which the
// catalogue never keeps; "none" (-1) keeps the text.
TEST(MagicItem, AnItemOutsideTheCategoriesOrWithoutTextIsEmpty) {
  MagicItem item;
  item.setCategory(tccWeapons);
  item.setText("Sword_+1");
  item.setCategory(-1);
  EXPECT_EQ(item.text(), "Sword_+1");
  for (std::int32_t bad : {18, -2, 1000}) {
    MagicItem other = item;
    other.setCategory(bad);
    EXPECT_TRUE(other.isEmpty()) << bad;
  }
  item.setText("");
  EXPECT_TRUE(item.isEmpty());
}

TEST(CategoryForTag, MatchesWholeTagsInTheirCase) {
  EXPECT_EQ(categoryForTag("tccPotionsAndOils"), 0);
  EXPECT_EQ(categoryForTag("tccWeapons"), 17);
  EXPECT_EQ(categoryForTag("tccweapons"), -1);
  EXPECT_EQ(categoryForTag("tccWeapons "), -1);
  EXPECT_EQ(categoryForTag(""), -1);
}

}  // namespace
}  // namespace towngen

// The data files built into the program load cleanly and are large enough.

#include <gtest/gtest.h>

#include "data/magic_item_catalogue.h"
#include "data/name_list.h"

namespace towngen {
namespace {

TEST(DefaultData, CatalogueLoadsWithoutComplaint) {
  MagicItemCatalogue catalogue;
  const CatalogueLoad load = catalogue.loadCatalogue(builtInDataSource());
  EXPECT_EQ(load.outcome, CatalogueLoad::Outcome::Loaded);
  EXPECT_FALSE(load.problem);
  std::int32_t total = 0;
  for (std::int32_t k = 0; k < kItemCategoryCount; ++k) {
    EXPECT_GE(catalogue.items(k).count(), 20) << kItemCategoryTags[static_cast<std::size_t>(k)];
    total += catalogue.items(k).count();
  }
  EXPECT_GE(total, 400);
}

TEST(DefaultData, NameListsAreLongEnough) {
  const MemoryDataSource source = builtInDataSource();
  NameLists lists;
  EXPECT_GE(loadNameList(MaleFirstName, kMaleNamesFile, lists, source).count, 300);
  EXPECT_GE(loadNameList(FemaleFirstName, kFemaleNamesFile, lists, source).count, 300);
  EXPECT_GE(loadNameList(LastName, kLastNamesFile, lists, source).count, 600);
}

}  // namespace
}  // namespace towngen

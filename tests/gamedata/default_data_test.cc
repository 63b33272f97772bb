// The data files shipped with the program load cleanly and are large enough.

#include <gtest/gtest.h>

#include <sstream>

#include "data/magic_item_catalogue.h"
#include "data/name_list.h"
#include "tests/recording_console.h"
#include "tests/scratch_dir.h"

namespace towngen {
namespace {

TEST(DefaultData, CatalogueLoadsWithoutComplaint) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  std::ostringstream out;
  testing::RecordingConsole console(out);
  MagicItemCatalogue catalogue;
  catalogue.loadCatalogue(out, console);
  EXPECT_EQ(out.str(), "\n Loading Data...\n");
  std::int32_t total = 0;
  for (std::int32_t k = 0; k < kItemCategoryCount; ++k) {
    EXPECT_GE(catalogue.items(k).count(), 10) << kItemCategoryTags[static_cast<std::size_t>(k)];
    total += catalogue.items(k).count();
  }
  EXPECT_GE(total, 400);
}

TEST(DefaultData, NameListsAreLongEnough) {
  testing::ScratchDir dir;
  dir.copyDefaultData();
  std::ostringstream out;
  NameLists lists;
  EXPECT_GE(loadNameList(MaleFirstName, "male.txt", lists, out), 300);
  EXPECT_GE(loadNameList(FemaleFirstName, "female.txt", lists, out), 300);
  EXPECT_GE(loadNameList(LastName, "last.txt", lists, out), 600);
}

}  // namespace
}  // namespace towngen

#include "driver/load_report.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/recording_console.h"

namespace towngen {
namespace {

// Each way the catalogue can load, read from the bytes of a data.txt, as the
// dialogue shows it and as batch mode warns of it.
TEST(LoadReport, CatalogueLoadsInTheDialogueAndInBatchMode) {
  const struct {
    const char* file;  // null: no data.txt
    const char* shown;
    const char* warning;
  } cases[] = {
      {nullptr, "\n data.txt file failed to open\n", ""},
      {"<note> </note> Ring tccRings", "\n Loading Data...\n", ""},
      {"<note> Ring tccRings",
       "\n Loading Data...\n\n The note block of data.txt is never closed - no magic items were "
       "loaded.\n",
       "The note block of data.txt is never closed - no magic items were loaded."},
      {"<note> </note> Ring tccRings Staff tccstaves",
       "\n Loading Data...\n[cls]\n The data.txt file is corrupt. A data type did not match\n\n "
       " Data: Staff - tccstaves\n\n [pause]",
       "The data.txt file is corrupt. A data type did not match Data: Staff - tccstaves; the "
       "nearest tags are tccStaves, tccWands, tccScrolls"},
      {"<note> </note> Ring\xFF\x1B[2J tcc\\Bad",
       "\n Loading Data...\n[cls]\n The data.txt file is corrupt. A data type did not match\n\n "
       " Data: Ring\xFF\x1B[2J - tcc\\Bad\n\n [pause]",
       "The data.txt file is corrupt. A data type did not match Data: Ring\\xFF\\x1B[2J - "
       "tcc\\x5CBad; the nearest tags are tccRods, tccWands, tccRings"},
      {"<note> </note> Dangling",
       "\n Loading Data...\n[cls]\n The data.txt file is corrupt. A data type did not match\n\n "
       " Data: Dangling - \n\n [pause]",
       "The data.txt file is corrupt. A data type did not match Data: Dangling - ; no tag follows "
       "the item"},
  };
  for (const auto& c : cases) {
    MemoryDataSource source;
    if (c.file != nullptr) source.add(kCatalogueFile, c.file);
    MagicItemCatalogue catalogue;
    const CatalogueLoad load = catalogue.loadCatalogue(source);
    std::ostringstream out;
    testing::RecordingConsole console(out);
    showCatalogueLoad(load, out, console);
    EXPECT_EQ(out.str(), c.shown) << c.shown;
    EXPECT_EQ(catalogueProblem(load), c.warning) << c.shown;
  }
}

TEST(LoadReport, NameListLoads) {
  MemoryDataSource source;
  source.add(kMaleNamesFile, "Aldous\r\nHal\r\n");
  NameLists lists;
  const struct {
    std::string_view file;
    const char* shown;
  } cases[] = {
      {kMaleNamesFile,
       "\n male.txt opened successfully - loading...\n Total Loaded (male.txt) 2\n"},
      {kFemaleNamesFile, "Data file \"female.txt\" failed to open\n"},
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    showNameListLoad(loadNameList(MaleFirstName, c.file, lists, source), out);
    EXPECT_EQ(out.str(), c.shown);
  }
}

}  // namespace
}  // namespace towngen

#include "data/magic_item_catalogue.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

namespace towngen {
namespace {

std::vector<std::string> textsIn(const MagicItemCatalogue& catalogue, std::int32_t category) {
  std::vector<std::string> texts;
  for (const MagicItem& item : catalogue.items(category)) {
    EXPECT_EQ(item.category(), category);
    texts.push_back(item.text());
  }
  return texts;
}

std::int32_t totalItems(const MagicItemCatalogue& catalogue) {
  std::int32_t total = 0;
  for (std::int32_t k = 0; k < kItemCategoryCount; ++k) total += catalogue.items(k).count();
  return total;
}

// Reads `file` into `catalogue` and returns how the load went.
CatalogueLoad::Outcome readInto(MagicItemCatalogue& catalogue, const std::string& file) {
  std::istringstream in(file);
  return catalogue.readCatalogue(in).outcome;
}

constexpr CatalogueLoad::Outcome kLoaded = CatalogueLoad::Outcome::Loaded;

TEST(ReadCatalogue, NoteBlockThenPairsInFileOrder) {
  for (const char* ending : {"", "\n", "\r\n"}) {
    MagicItemCatalogue catalogue;
    const std::string file = std::string("<note> Any words, even <note> here </note>\r\n") +
                             "Potion_of_Healing tccPotionsAndOils\r\n"
                             "Sword_+1 tccWeapons\r\n"
                             "Elixir_of_Youth tccPotionsAndOils" +
                             ending;
    EXPECT_EQ(readInto(catalogue, file), kLoaded);
    EXPECT_EQ(textsIn(catalogue, 0),
              (std::vector<std::string>{"Potion_of_Healing", "Elixir_of_Youth"}));
    EXPECT_EQ(textsIn(catalogue, 17), (std::vector<std::string>{"Sword_+1"}));
    EXPECT_EQ(totalItems(catalogue), 3);
  }
}

TEST(ReadCatalogue, NoteBlockAloneOrEmptyFileGivesNoItems) {
  for (const char* file : {"<note> nothing here </note>", "<note> x </note>\n", ""}) {
    MagicItemCatalogue catalogue;
    EXPECT_EQ(readInto(catalogue, file), kLoaded) << file;
    EXPECT_EQ(totalItems(catalogue), 0) << file;
  }
}

TEST(ReadCatalogue, GluedCloseMarkerDoesNotEndTheNote) {
  MagicItemCatalogue catalogue;
  readInto(catalogue, "<note> a</note> Ring tccRings </note> Wand_of_Fire tccWands");
  EXPECT_EQ(totalItems(catalogue), 1);
  EXPECT_EQ(textsIn(catalogue, tccWands), (std::vector<std::string>{"Wand_of_Fire"}));
}

// A tag that names no category stops the load; the items before it stay.
TEST(ReadCatalogue, ACorruptPairStopsTheLoad) {
  const struct {
    const char* file;
    const char* text;
    const char* tag;
    std::int32_t itemsKept;
  } cases[] = {
      // Without a note block the first word is lost, and the pairs shift.
      {"Potion_of_Healing tccPotionsAndOils Sword_+1 tccWeapons\n", "tccPotionsAndOils", "Sword_+1",
       0},
      {"<note> </note> Ring_of_Warmth tccRings Staff_of_Power tccstaves Wand tccWands",
       "Staff_of_Power", "tccstaves", 1},
      {"<note> </note> Ring tccRings Dangling\n", "Dangling", "", 1},
  };
  for (const auto& c : cases) {
    MagicItemCatalogue catalogue;
    std::istringstream in(c.file);
    const CatalogueLoad load = catalogue.readCatalogue(in);
    EXPECT_EQ(load.outcome, CatalogueLoad::Outcome::CorruptPair) << c.file;
    EXPECT_EQ(load.corruptText, c.text) << c.file;
    EXPECT_EQ(load.corruptTag, c.tag) << c.file;
    EXPECT_EQ(totalItems(catalogue), c.itemsKept) << c.file;
  }
}

TEST(ReadCatalogue, UnclosedNoteBlockLoadsNothingAndSaysSo) {
  MagicItemCatalogue catalogue;
  EXPECT_EQ(readInto(catalogue, "<note> Ring tccRings Wand tccWands"),
            CatalogueLoad::Outcome::UnclosedNote);
  EXPECT_EQ(totalItems(catalogue), 0);
}

// A word past the longest a data file may hold stops the load where it
// stands, in the note or in a pair, keeping the items before it.
TEST(ReadCatalogue, AWordTooLongStopsTheLoadAtItsLine) {
  const std::string longest(kMaxDataWordLength, 'w');
  const struct {
    std::string file;
    std::int32_t items;
    std::int64_t faultLine;  // 0: the load was complete
  } cases[] = {
      {"<note>\n" + longest + "\n</note> " + longest + " tccRings", 1, 0},
      {"<note>\n" + longest + "w\n</note> Ring tccRings", 0, 2},
      {"<note> </note>\nRing tccRings\n" + longest + "w tccRings Wand tccWands", 1, 3},
      {"<note> </note>\nRing tccRings\nWand\n\n" + longest + "w\nRod tccRods", 1, 5},
  };
  for (const auto& c : cases) {
    MagicItemCatalogue catalogue;
    std::istringstream in(c.file);
    const CatalogueLoad load = catalogue.readCatalogue(in);
    EXPECT_EQ(totalItems(catalogue), c.items) << c.faultLine;
    EXPECT_EQ(load.outcome, c.faultLine ? CatalogueLoad::Outcome::Fault : kLoaded) << c.faultLine;
    EXPECT_EQ(load.fault.line, c.faultLine);
  }
}

TEST(LoadCatalogue, OpensDataTxtOfTheSource) {
  MemoryDataSource source;
  MagicItemCatalogue missing;
  const CatalogueLoad notOpened = missing.loadCatalogue(source);
  EXPECT_EQ(notOpened.outcome, CatalogueLoad::Outcome::NotOpened);
  EXPECT_EQ(notOpened.problem, std::make_error_code(std::errc::no_such_file_or_directory));
  EXPECT_EQ(totalItems(missing), 0);

  source.add("data.txt", "<note> </note>\r\nBag_of_Holding tccBagsAndBottles\r\n");
  MagicItemCatalogue loaded;
  EXPECT_EQ(loaded.loadCatalogue(source).outcome, kLoaded);
  EXPECT_EQ(textsIn(loaded, tccBagsAndBottles), (std::vector<std::string>{"Bag_of_Holding"}));
}

TEST(AddItem, TakesOnlyCompleteItems) {
  MagicItemCatalogue catalogue;
  MagicItem noText;
  noText.setCategory(3);
  catalogue.addItem(noText);
  MagicItem noCategory;
  noCategory.setText("Rod");
  catalogue.addItem(noCategory);
  EXPECT_EQ(totalItems(catalogue), 0);
}

TEST(DrawItem, InvalidOrEmptyCategoryGivesTheEmptyItemWithoutADraw) {
  MagicItemCatalogue catalogue;
  readInto(catalogue, "<note> </note> Rod_of_Lordly_Might tccRods");
  Random random(7);
  for (std::int32_t category : {-1, 18, 1000, -5, 0, 17}) {
    EXPECT_TRUE(catalogue.drawItem(category, random).isEmpty()) << category;
  }
  EXPECT_EQ(random.state(), 7u);  // nothing was drawn
  const MagicItem rod = catalogue.drawItem(tccRods, random);
  EXPECT_EQ(rod.text(), "Rod_of_Lordly_Might");
  EXPECT_EQ(rod.category(), tccRods);
  EXPECT_NE(random.state(), 7u);
}

TEST(DrawItem, PicksThePositionOfTheDrawAndDuplicatesCountTwice) {
  MagicItemCatalogue catalogue;
  readInto(catalogue, "<note> </note> A tccRings B tccRings A tccRings");
  Random random(0);  // first draws 38, 7719, 21238: positions 2, 0, 1
  EXPECT_EQ(catalogue.drawItem(tccRings, random).text(), "A");
  EXPECT_EQ(catalogue.drawItem(tccRings, random).text(), "A");
  EXPECT_EQ(catalogue.drawItem(tccRings, random).text(), "B");

  std::array<int, 2> seen{};
  for (int i = 0; i < 30000; ++i) seen[catalogue.drawItem(tccRings, random).text() == "A"]++;
  // "A" stands twice in three entries: about 20000 of 30000.
  EXPECT_NEAR(seen[1], 20000, 600);
}

TEST(ClearAll, EmptiesEveryCategory) {
  MagicItemCatalogue catalogue;
  readInto(catalogue, "<note> </note> A tccRings B tccWeapons");
  catalogue.clearAll();
  EXPECT_EQ(totalItems(catalogue), 0);
  Random random(0);
  EXPECT_TRUE(catalogue.drawItem(tccRings, random).isEmpty());
  readInto(catalogue, "<note> </note> C tccRings");  // refilled: its own items only
  EXPECT_EQ(catalogue.drawItem(tccRings, random).text(), "C");
}

}  // namespace
}  // namespace towngen

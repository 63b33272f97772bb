#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "common/random.h"
#include "data/magic_item.h"
#include "data/magic_item_catalogue.h"
#include "tests/seed_search.h"
#include "treasure/gem.h"
#include "treasure/treasure_generator.h"

namespace towngen::testing {

// A catalogue with two items in every category k, "C<k>a" and "C<k>b", so an
// item's text tells its category.
inline std::string twoItemsPerCategory() {
  std::string file = "<note> test items </note>\n";
  for (std::int32_t k = 0; k < kItemCategoryCount; ++k) {
    for (const char* suffix : {"a ", "b "}) {
      file.append("C").append(std::to_string(k)).append(suffix);
      file.append(kItemCategoryTags[static_cast<std::size_t>(k)]).append("\n");
    }
  }
  return file;
}

// A TreasureGenerator on a catalogue read from the text `catalogue`.
struct GeneratorFixture {
  explicit GeneratorFixture(const std::string& catalogue = twoItemsPerCategory(),
                            std::uint32_t seed = 1)
      : random(seed), generator(random, loaded(catalogue)) {}

  std::vector<std::string> itemTexts() const {
    std::vector<std::string> texts;
    for (const MagicItem& item : generator.magicItems()) texts.push_back(item.text());
    return texts;
  }
  std::vector<Gem> gems() const {
    return std::vector<Gem>(generator.gems().begin(), generator.gems().end());
  }

  MagicItemCatalogue catalogueHeld;
  Random random;
  TreasureGenerator generator;

 private:
  const MagicItemCatalogue& loaded(const std::string& catalogue) {
    std::istringstream in(catalogue);
    catalogueHeld.readCatalogue(in);
    return catalogueHeld;
  }
};

}  // namespace towngen::testing

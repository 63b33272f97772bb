#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <string>
#include <system_error>
#include <vector>

#include "common/linked_list.h"
#include "common/random.h"
#include "data/data_source.h"
#include "data/magic_item.h"
#include "data/word_reader.h"

namespace towngen {

// What loading the catalogue came to. A load that stops keeps the items read
// before the stop.
struct CatalogueLoad {
  enum class Outcome {
    Loaded,
    NotOpened,     // no file: the catalogue stays empty
    UnclosedNote,  // the note block never ends: nothing is loaded
    CorruptPair,   // a tag matched no category: the load stopped there
    Fault,         // a word too long, or too many items: the load stopped there
  };
  Outcome outcome = Outcome::Loaded;
  std::error_code problem;  // why it did not open, or cannot be read
  DataFault fault;          // with Outcome::Fault
  std::string corruptText;  // the pair that stopped the load
  std::string corruptTag;
  std::int64_t corruptLine = 0;  // where its tag stands (or would), 1-based
};

// The magic items of the catalogue file, one list per category in file order.
// It has a single owner and is never copied.
class MagicItemCatalogue {
 public:
  MagicItemCatalogue() = default;
  MagicItemCatalogue(const MagicItemCatalogue&) = delete;
  MagicItemCatalogue& operator=(const MagicItemCatalogue&) = delete;

  // Opens "data.txt" from `source` and reads it with readCatalogue; a file
  // that cannot be opened leaves the catalogue empty.
  CatalogueLoad loadCatalogue(const DataSource& source);

  // Reads the catalogue format from `in`: an optional opening note block (or a
  // first word that is skipped), then pairs of item text and category tag. A
  // tag that matches no category stops the load, as does a word longer than
  // kMaxDataWordLength (in the note block too) or a 2,147,483,648th item of a
  // category. Of each category the first kReachableEntries items are kept,
  // all that a draw can reach, and the rest counted.
  CatalogueLoad readCatalogue(std::istream& in);

  // Appends a copy of an item with a valid category and a non-empty text
  // (counts it only, past kReachableEntries); ignores any other item. Returns
  // false, adding nothing, when its category already counts 2,147,483,647.
  bool addItem(MagicItem item);

  // A random item of `category` (valid while the catalogue is unchanged), or
  // the empty item. Draws once from `random` only when the category is valid
  // and holds at least one item.
  const MagicItem& drawItem(std::int32_t category, Random& random) const;
  // The draw drawItem makes, its item not looked up.
  void skipItemDraw(std::int32_t category, Random& random) const {
    if (category >= 0 && category < kItemCategoryCount && !items(category).isEmpty()) {
      random.skip<1>();
    }
  }

  // Empties every list, category 0 first.
  void clearAll();

  // The items of one category that a draw can reach. REQUIRES: 0 <= category < 18.
  const LinkedList<MagicItem>& items(std::int32_t category) const {
    return lists_[static_cast<std::size_t>(category)];
  }
  // How many items of one category were added, kept or not.
  std::int32_t count(std::int32_t category) const {
    return counts_[static_cast<std::size_t>(category)];
  }

 private:
  std::array<LinkedList<MagicItem>, kItemCategoryCount> lists_;
  // The items of each list by position, so that a draw finds its item at
  // once, not by a walk through up to kReachableEntries nodes.
  std::array<std::vector<const MagicItem*>, kItemCategoryCount> reachable_;
  std::array<std::int32_t, kItemCategoryCount> counts_{};
};

}  // namespace towngen

#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <ostream>

#include "common/console.h"
#include "common/linked_list.h"
#include "common/random.h"
#include "data/magic_item.h"

namespace towngen {

// The magic items of the catalogue file, one list per category in file order.
// It has a single owner and is never copied.
class MagicItemCatalogue {
 public:
  MagicItemCatalogue() = default;
  MagicItemCatalogue(const MagicItemCatalogue&) = delete;
  MagicItemCatalogue& operator=(const MagicItemCatalogue&) = delete;

  // Opens "data.txt" in `folder` (the working directory when empty) and reads
  // it with readCatalogue, writing its messages to `out`; a file that cannot
  // be opened leaves the catalogue empty and says so.
  void loadCatalogue(std::ostream& out, Console& console, const std::filesystem::path& folder = {});

  // Reads the catalogue format from `in`: an optional opening note block (or a
  // first word that is skipped), then pairs of item text and category tag. A
  // tag that matches no category stops the load with the corrupt-file report.
  void readCatalogue(std::istream& in, std::ostream& out, Console& console);

  // Appends a copy of an item with a valid category and a non-empty text;
  // ignores any other item.
  void addItem(MagicItem item);

  // A random item of `category` (valid while the catalogue is unchanged), or
  // the empty item. Draws once from `random` only when the category is valid
  // and holds at least one item.
  const MagicItem& drawItem(std::int32_t category, Random& random) const;

  // Empties every list, category 0 first.
  void clearAll();

  // The items of one category. REQUIRES: 0 <= category < 18.
  const LinkedList<MagicItem>& items(std::int32_t category) const {
    return lists_[static_cast<std::size_t>(category)];
  }

 private:
  std::array<LinkedList<MagicItem>, kItemCategoryCount> lists_;
};

}  // namespace towngen

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace towngen {

// The 18 categories of magic items, numbered as the catalogue file's tags are.
enum ItemCategory : std::int32_t {
  tccPotionsAndOils = 0,
  tccScrolls,
  tccRings,
  tccRods,
  tccStaves,
  tccWands,
  tccBooksAndTomes,
  tccGemsAndJewelry,
  tccCloaksAndRobes,
  tccBootsAndGloves,
  tccGirdlesAndHelms,
  tccBagsAndBottles,
  tccDustsAndStones,
  tccHouseholdItemsAndTools,
  tccMusicalInstruments,
  tccTheWeirdStuff,
  tccArmorAndShields,
  tccWeapons,
};

inline constexpr std::int32_t kItemCategoryCount = 18;

// The tag that names each category in the catalogue file, indexed by category.
inline constexpr std::array<std::string_view, kItemCategoryCount> kItemCategoryTags = {
    "tccPotionsAndOils",
    "tccScrolls",
    "tccRings",
    "tccRods",
    "tccStaves",
    "tccWands",
    "tccBooksAndTomes",
    "tccGemsAndJewelry",
    "tccCloaksAndRobes",
    "tccBootsAndGloves",
    "tccGirdlesAndHelms",
    "tccBagsAndBottles",
    "tccDustsAndStones",
    "tccHouseholdItemsAndTools",
    "tccMusicalInstruments",
    "tccTheWeirdStuff",
    "tccArmorAndShields",
    "tccWeapons",
};
static_assert(kItemCategoryTags[tccWeapons] == "tccWeapons");

// The category whose tag equals `tag` exactly (whole word, same case), or -1.
std::int32_t categoryForTag(std::string_view tag);

// The `most` tags nearest to `tag`, as letters to change, add or drop without
// regard to case, nearest first (of equal ones, in table order): what a
// misspelt tag may have meant.
std::vector<std::string_view> nearestTags(std::string_view tag, std::size_t most = 3);

// One catalogue entry. The empty item has category -1 and an empty text; the
// setters keep the record consistent: an invalid category or an empty text
// makes the whole item empty.
class MagicItem {
 public:
  MagicItem() = default;

  void reset();
  // Sets the category for -1..17; any other value empties the item.
  void setCategory(std::int32_t category);
  // Sets a non-empty text; an empty one empties the item.
  void setText(std::string text);

  std::int32_t category() const { return category_; }
  const std::string& text() const { return text_; }
  bool isEmpty() const { return category_ == -1 && text_.empty(); }

  bool operator==(const MagicItem&) const = default;

 private:
  std::int32_t category_ = -1;
  std::string text_;
};

}  // namespace towngen

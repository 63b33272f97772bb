#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "census/json_string.h"
#include "census/town_record.h"
#include "census/utf8.h"
#include "common/number_text.h"
#include "town/town_shape.h"

namespace towngen {

// What the page shows whole: longer names, gem and item texts and traits are
// cut past kLongestShownText bytes, blocks past kLongestShownBlock.
inline constexpr std::size_t kLongestShownText = 1024;
inline constexpr std::size_t kLongestShownBlock = 16 << 10;

// A townsperson's entry of the town page's roster: a JSON array of fields by
// the names rosterFieldNames gives, the fixed ones of one table and then one
// for each optional line of the town's shape. The page's script finds each
// field by its name in the data block's "fields".

// What a roster entry's fields are written from.
struct RosterEntryParts {
  std::string& out;
  const TownRecord& record;
  std::string_view blockText;
  int occupationIndex;
  std::string_view occupation;  // as the page shows it
  JsonStrings& json;
  std::string& cut;  // a text too long to show whole

  void text(std::string_view text, std::size_t most) {
    json.append(out, cutText(text, most, cut), true);
  }
};

// Appends the entry of `parts.record` to `parts.out`.
void appendRosterEntry(RosterEntryParts& parts, const TownShape& shape);

// The names of an entry's fields, in order, for the data block's "fields".
std::vector<std::string_view> rosterFieldNames(const TownShape& shape);

// Hands the data block a list of words by its name.
using WordLists = std::function<void(std::string_view name, std::span<const std::string_view>)>;

// Hands `list` the words the script needs for the shape's optional lines
// (roles and kin ties, trait kinds, their labels).
void listOptionalLineWords(const TownShape& shape, const WordLists& list);

// How the page names a child of a household town too young to work: by
// role and house ("son of the limner/painter's house"), never as a limner.
// The script composes the same words (the data's "childHouse").
struct ChildHouseWords {
  std::string_view noble = "a noble house";
  std::string_view farmer = "a farmer's house";
  std::string_view idle = "a house on hard times";  // of a craft that is no trade
  std::string_view beforeCraft = "the ";
  std::string_view afterCraft = "'s house";
};
inline constexpr ChildHouseWords kChildHouse;

// Whether the page names the townsperson by their house.
bool namedByHouse(const TownRecord& record);
// "son of the limner/painter's house": the role, " of ", and the house of
// `occupation`, whose ASCII capitals are made small.
std::string childOfHouse(std::string_view role, std::string_view occupation);
// The occupation as the page shows it: the house's words for a child too
// young to work, else the occupation.
std::string occupationShown(const TownRecord& record);

// "18/45", "18/00" for a percentile of 100, "17".
std::string strengthText(std::int32_t strength, std::int32_t percentile);

// Appends `numbers` as a JSON array.
template <typename Numbers>
void appendNumberList(std::string& out, const Numbers& numbers) {
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    out += i == 0 ? "[" : ",";
    appendNumber(out, numbers[i]);
  }
  out += ']';
}

}  // namespace towngen

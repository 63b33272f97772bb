#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "townsfolk/tie_rules.h"
#include "townsfolk/townsperson.h"
#include "townsfolk/trait_picks.h"

namespace towngen {

// The numbers of one townsperson's block.
struct BlockNumbers {
  std::int32_t number, age;
  std::int32_t Str, strPercentile, Dex, Con, Int, Wis, Cha, Com;
  std::int32_t cp, sp, ep, gp, pp;
  Sex sex;
  std::size_t nameLength, occupationLength, gemCount, itemCount;
  std::size_t householdLength;  // of the whole household line; 0 in a plain town
  bool noble;                   // of the class the trait rules ask for
  FamilyFacts family;           // in a household town, for the trait rules too
};

// A gem as its block shows it.
struct BlockGem {
  std::int32_t nameIndex;
  double value;
};

// Blocks packed one after another: each block's numbers, and its name,
// occupation, household line and item texts, gems and item lengths side by side, in the
// order of the blocks.
struct PackedBlocks {
  std::span<const BlockNumbers> numbers;
  std::string_view texts;
  std::span<const BlockGem> gems;
  std::span<const std::uint32_t> itemLengths;  // of the items that have a text
  std::span<const PickedTraits> traits;        // one a block in a town with traits, else none
  std::span<const TieList> ties;               // one a block in a town with ties, else none
};

// The text of a gold value in the general notation with six significant
// digits, as a stream writes a double under its default settings: 500, 5.5,
// 0.1, 10000. The text stays valid until the next call on this thread.
std::string_view goldValueText(double value);

// Appends each block to `out` as it stands in the town file: every line end
// is CR LF, and a block after the first (number > 1) starts with an empty line.
void appendBlocks(std::string& out, const PackedBlocks& blocks);

}  // namespace towngen

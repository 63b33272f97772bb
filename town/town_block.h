#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "townsfolk/townsperson.h"

namespace towngen {

// The numbers of one townsperson's block.
struct BlockNumbers {
  std::int32_t number, age;
  std::int32_t Str, strPercentile, Dex, Con, Int, Wis, Cha, Com;
  std::int32_t cp, sp, ep, gp, pp;
  Sex sex;
  std::size_t nameLength, occupationLength, gemCount, itemCount;
};

// A gem as its block shows it.
struct BlockGem {
  std::int32_t nameIndex;
  double value;
};

// One townsperson's block, with its texts and lists in place.
struct TownBlock {
  const BlockNumbers& numbers;
  std::string_view name;
  std::string_view occupation;
  std::span<const BlockGem> gems;
  std::span<const std::uint32_t> itemLengths;
  std::string_view itemTexts;  // the item texts, one after the other
};

// The text of a gold value in the general notation with six significant
// digits, as a stream writes a double under its default settings: 500, 5.5,
// 0.1, 10000. The text stays valid until the next call on this thread.
std::string_view goldValueText(double value);

// Appends the block to `out` as it stands in the town file: every line end is
// CR LF, and the block ends with an empty line unless it is the town's last
// (number == population).
void appendBlock(std::string& out, const TownBlock& block, std::int32_t population);

}  // namespace towngen

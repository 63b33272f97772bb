#include "treasure/treasure_generator.h"

#include <algorithm>

namespace towngen {
namespace {

constexpr std::int32_t kRowCount = 26;

// The row a one-letter string names: "a"/"A" is 0 ... "z"/"Z" is 25; -1 for
// anything that is not exactly one ASCII letter.
std::int32_t rowForLetter(std::string_view letter) {
  if (letter.size() != 1) return -1;
  const char c = letter[0];
  if (c >= 'a' && c <= 'z') return c - 'a';
  if (c >= 'A' && c <= 'Z') return c - 'A';
  return -1;
}

}  // namespace

TreasureGenerator::TreasureGenerator(Random& random, const MagicItemCatalogue& catalogue,
                                     Detail detail)
    : catalogue_(catalogue), detail_(detail), random_(random) {
  reset();
}

void TreasureGenerator::reset() {
  currentRow_ = -1;
  clearCoins();
  gems_.clear();
  clearItems();
}

void TreasureGenerator::dropFirstItems(std::int32_t count) {
  if (coinsOnly()) {
    itemCount_ -= std::min(count, itemCount_);
    return;
  }
  for (std::int32_t i = 0; i < count; ++i) magicItems_.popFront();
}

void TreasureGenerator::rollTreasure(std::string_view letter) {
  rollChartRow(rowForLetter(letter));
}

void TreasureGenerator::rollChartRow(std::int32_t row) {
  if (row < 0 || row >= kRowCount) {
    reset();
  } else if (row <= 8) {
    currentRow_ = row;
    rollChanceRow(row);
  } else {
    currentRow_ = row;
    rollFixedRow(row);
  }
}

}  // namespace towngen

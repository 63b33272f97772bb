#pragma once

#include <cstdint>
#include <string_view>

#include "common/linked_list.h"
#include "common/random.h"
#include "data/magic_item.h"
#include "data/magic_item_catalogue.h"
#include "treasure/gem.h"

namespace towngen {

// Turns one treasure-type letter into coins, gems and magic items by the
// treasure type chart, drawing the items from a loaded catalogue. The caller
// resets it before every roll and copies out what it keeps.
class TreasureGenerator {
 public:
  // How much of a roll is kept: everything, or the coins alone, the gems'
  // and items' draws made but their results not worked out (the first pass
  // of a town with ties, which looks at the coins only).
  enum class Detail { Whole, CoinsOnly };

  // `catalogue` must outlive the generator.
  TreasureGenerator(Random& random, const MagicItemCatalogue& catalogue,
                    Detail detail = Detail::Whole);
  TreasureGenerator(const TreasureGenerator&) = delete;
  TreasureGenerator& operator=(const TreasureGenerator&) = delete;

  // Zero coins, empty lists, no current row.
  void reset();

  // Rolls the chart row that a one-letter string "A".."Z" or "a".."z" names;
  // any other string takes the chart's error path.
  void rollTreasure(std::string_view letter);

  // Rolls chart row 0..25. Any other row resets the generator, which leaves
  // currentRow() at -1.
  void rollChartRow(std::int32_t row);

  std::int32_t copperPieces() const { return cp_; }
  std::int32_t silverPieces() const { return sp_; }
  std::int32_t electrumPieces() const { return ep_; }
  std::int32_t goldPieces() const { return gp_; }
  std::int32_t platinumPieces() const { return pp_; }
  std::int32_t currentRow() const { return currentRow_; }

  // The gems and items of the last roll; always empty with Detail::CoinsOnly.
  const LinkedList<Gem>& gems() const { return gems_; }
  // Mutable so that the caller can drop items from the front before copying.
  LinkedList<MagicItem>& magicItems() { return magicItems_; }
  const LinkedList<MagicItem>& magicItems() const { return magicItems_; }

  // a + rand() % (b - a + 1). REQUIRES: a <= b.
  std::int32_t rollRange(std::int32_t a, std::int32_t b) { return random_.rollRange(a, b); }

  const MagicItemCatalogue& catalogue() const { return catalogue_; }
  bool coinsOnly() const { return detail_ == Detail::CoinsOnly; }

  // How many items the last roll drew, in either detail.
  std::int32_t itemCount() const { return coinsOnly() ? itemCount_ : magicItems_.count(); }
  // Drops the first `count` items, or all there are.
  void dropFirstItems(std::int32_t count);

 private:
  // Chart procedures; see treasure_chart.cc.
  void rollChanceRow(std::int32_t row);
  void rollFixedRow(std::int32_t row);
  std::int32_t chanceAmount(int percent, std::int32_t low, std::int32_t high);
  void rollGemChance(int percent, std::int32_t low, std::int32_t high);
  void rollGems(std::int32_t count);
  void rollMagicChance(int threshold, std::int32_t count, std::int32_t pick);
  void drawItems(std::int32_t count, std::int32_t pick);
  void drawItem(std::int32_t category);
  void clearCoins();
  void clearItems() {
    magicItems_.clear();
    itemCount_ = 0;
  }

  const MagicItemCatalogue& catalogue_;
  LinkedList<Gem> gems_;
  LinkedList<MagicItem> magicItems_;
  std::int32_t currentRow_ = -1;
  std::int32_t cp_ = 0;
  std::int32_t sp_ = 0;
  std::int32_t ep_ = 0;
  std::int32_t gp_ = 0;
  std::int32_t pp_ = 0;
  Detail detail_;
  std::int32_t itemCount_ = 0;  // with Detail::CoinsOnly

  Random& random_;
};

}  // namespace towngen

#pragma once

#include <cstdint>

#include "common/linked_list.h"
#include "data/magic_item.h"
#include "treasure/gem.h"

namespace towngen {

// What one townsperson carries: coin counts and copies of gems and magic items
// in the order they were added.
struct CarriedTreasure {
  std::int32_t cp = 0;
  std::int32_t sp = 0;
  std::int32_t ep = 0;
  std::int32_t gp = 0;
  std::int32_t pp = 0;
  LinkedList<Gem> gems;
  LinkedList<MagicItem> magicItems;

  // Zero coins and empty lists, ready for the next townsperson.
  void clear() {
    cp = sp = ep = gp = pp = 0;
    gems.clear();
    magicItems.clear();
  }
};

}  // namespace towngen

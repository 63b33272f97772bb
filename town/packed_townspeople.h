#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/random.h"
#include "town/town_block.h"
#include "townsfolk/town_ties.h"
#include "townsfolk/townsperson.h"
#include "townsfolk/trait_picks.h"

namespace towngen {

// Townspeople packed to be written: the numbers of each block in one fixed
// record, its texts side by side in one string, its gems in one array. What
// the file shows is copied, so the townsperson's record can be reused at once,
// and the blocks are read back in order from a few runs of memory.
class PackedTownspeople {
 public:
  void add(const Townsperson& person);
  void clear();
  std::size_t count() const { return numbers_.size(); }

  // Works out the ties of every block packed.
  void workOutTies(const TownTies& ties);

  // Picks the traits of every block packed, in order, with `random`: a
  // town's traits come from a random source of their own, so that its
  // townspeople are the same with traits and without. With `ties`, after
  // workOutTies, a trait that speaks of someone the townsperson has no tie
  // to is picked again from a source of the townsperson's own.
  void pickTraits(const TraitPicker& picker, Random& random, const TownTies* ties = nullptr);

  // Appends the blocks to `out` as they stand in the town file.
  void appendBlocks(std::string& out) const;

 private:
  std::vector<BlockNumbers> numbers_;
  std::vector<BlockGem> gems_;
  std::vector<std::uint32_t> itemLengths_;  // of the items that have a text
  std::vector<PickedTraits> traits_;        // one a block once picked
  std::vector<TieList> ties_;               // one a block once worked out
  std::string texts_;                       // names, occupations and item texts in order
};

// Appends the townsperson's block to `out` as it stands in the town file.
void appendTownsperson(std::string& out, const Townsperson& person);

}  // namespace towngen

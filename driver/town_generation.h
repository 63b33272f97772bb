#pragma once

#include <cstdint>
#include <ostream>

#include "common/random.h"
#include "data/name_list.h"
#include "townsfolk/townsperson_rolls.h"
#include "treasure/treasure_generator.h"

namespace towngen {

// What the townspeople of a town are made from.
struct TownMakers {
  const NamePickers& names;
  TreasureGenerator& generator;
  Random& random;
};

// Makes townspeople 1 to `population` one after another, writes each number and
// a line end to `console` and each block to `townFile`, and keeps only the
// current townsperson. Stops early and returns false when the town file fails.
bool generateTown(std::int32_t population, const AgeRange& ages, TownMakers makers,
                  std::ostream& console, std::ostream& townFile);

}  // namespace towngen

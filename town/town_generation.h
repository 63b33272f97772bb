#pragma once

#include <cstdint>
#include <ostream>
#include <system_error>

#include "common/random.h"
#include "data/name_list.h"
#include "town/town_data.h"
#include "town/town_shape.h"
#include "townsfolk/townsperson_rolls.h"
#include "townsfolk/trait_picks.h"
#include "treasure/treasure_generator.h"

namespace towngen {

// What the townspeople of a town are made from.
struct TownMakers {
  const NamePickers& names;
  TreasureGenerator& generator;
  Random& random;
  const TraitPicker* traits = nullptr;  // in a town with traits
  // The first pass of a town with ties: every draw made, but only what the
  // ties look at worked out (no abilities, names, gems or items).
  bool factsOnly = false;
};

// Told how far a town has come while it is made.
class TownProgress {
 public:
  virtual ~TownProgress() = default;
  // Townsperson `number` has its abilities, age and sex, and is being made.
  virtual void counted(std::int32_t /*number*/) {}
  // `made` townspeople of the town are made: heard every few thousand.
  virtual void advanced(std::int32_t /*made*/) {}
  // The town is made, or stopped.
  virtual void finished() {}
};

// Makes townspeople 1 to `population` one after another, writes each block to
// `townFile`, and keeps only the current townsperson. Stops early when the
// town file fails, and returns why, or no error. `progress`, when given, hears
// of each townsperson and of every few thousand.
std::error_code generateTown(std::int32_t population, const AgeRange& ages, TownMakers makers,
                             std::ostream& townFile, TownProgress* progress = nullptr);

// Makes households one after another, each member numbered in turn from 1 to
// `population`, and writes each block to `townFile` with its household line.
// Keeps a window of planned households, never the town. Stops early when the
// town file fails, and returns why, or no error.
std::error_code generateHouseholdTown(std::int32_t population, const AgeRange& ages,
                                      TownMakers makers, std::ostream& townFile,
                                      TownProgress* progress = nullptr);

// Makes the town of `shape`: of households when it has their line, else one
// townsperson after another, as generateHouseholdTown and generateTown do.
std::error_code generateTownOf(const TownShape& shape, std::int32_t population,
                               const AgeRange& ages, TownMakers makers, std::ostream& townFile,
                               TownProgress* progress = nullptr);

// Makes a town from `data` with a random source seeded with `seed`, ages
// `minAge` to `maxAge` both included, with the optional lines of `shape`, into
// `townFile`, as towngen --town does; says `progress` finished. REQUIRES: minAge <= maxAge.
// Returns why the town file failed, or no error.
std::error_code makeTown(const TownData& data, std::int32_t population, std::int32_t minAge,
                         std::int32_t maxAge, std::uint32_t seed, const TownShape& shape,
                         std::ostream& townFile, TownProgress* progress = nullptr);

}  // namespace towngen

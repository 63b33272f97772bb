#pragma once

#include <array>
#include <string>

#include "common/random.h"
#include "data/trait_catalogue.h"
#include "townsfolk/townsperson.h"

namespace towngen {

// What an entry's fit asks of a townsperson, and when the picks favour it.
struct TraitFitRule {
  TraitFit fit;
  bool (*fits)(const Townsperson&);
  bool (*favours)(const Townsperson&);
};

// The rules of the fits, in the order of TraitFit. Entries of every fit but
// Child are for townspeople of 16 or more, and Child entries for younger
// ones, so a child's lines are a child's.
extern const std::array<TraitFitRule, kTraitFitCount> kTraitFitRules;

// How often, in a hundred, a townsperson whom a fit favours takes an entry of
// that fit when the catalogue has one.
inline constexpr int kFavouredChance = 60;

// Picks a townsperson's five traits from a catalogue.
class TraitPicker {
 public:
  // REQUIRES: `catalogue` outlives the picker and is not changed.
  explicit TraitPicker(const TraitCatalogue& catalogue) : catalogue_(catalogue) {}

  // Sets person.traits to one entry of each kind whose fit suits the person,
  // or to null where none does: first, when some fit favours the person,
  // rand() % 100 below kFavouredChance takes an entry of the favoured fits;
  // otherwise one of every fit that suits. Each entry is drawn with
  // rand() % count over the entries in the order of the fits.
  void pick(Townsperson& person, Random& random) const;

 private:
  const TraitCatalogue& catalogue_;
};

}  // namespace towngen

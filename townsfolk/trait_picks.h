#pragma once

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/random.h"
#include "data/trait_catalogue.h"
#include "townsfolk/household.h"
#include "townsfolk/tie_rules.h"

namespace towngen {

// A number of a townsperson's card that a fit looks at.
enum class Measure : std::uint8_t { None, Age, Str, Con, Int, Cha, Com };

// Holds when the measure lies in [low, high]; a span of Measure::None never
// holds.
struct MeasureRange {
  Measure measure = Measure::None;
  std::int32_t low = 0;
  std::int32_t high = 0;
};

// What the fit rules look at of a townsperson: numbers of the card, the
// class and, in a household town, what the household shows of the family.
struct CardNumbers {
  std::int32_t age, Str, Con, Int, Cha, Com;
  bool noble;
  bool inHousehold;
  FamilyFacts family;  // with inHousehold
};

// A townsperson's traits: one entry of the catalogue of each TraitKind, or
// null where none fits.
using PickedTraits = std::array<const std::string*, kTraitKindCount>;

// Whom a fit is for by class.
enum class ForClass : std::uint8_t { Any, Nobles, Commoners };

// Whom a fit is for by age: infants of 0 to 2, children of 3 to 15, or the
// grown. Each age takes the fits of its band alone, so an infant's lines are
// an infant's and a child's a child's.
enum class AgeBand : std::uint8_t { Infant, Child, Grown };
inline constexpr std::int32_t kChildFrom = 3;
inline constexpr std::int32_t kGrownFrom = 16;

// What a fit asks of the family. In a household town, a fit asking for a
// fact suits exactly those whose household shows it; in a town without
// households, those whose age makes it likely (the rule's spans) when
// `guessedByAge`, and nobody otherwise.
struct FamilyNeed {
  bool asks = false;
  FamilyFact fact = FamilyFact::Married;
  bool guessedByAge = false;
  bool favoured = false;  // in a household town, for those who have the fact
};

// What an entry's fit asks of a townsperson, and when the picks favour it.
struct TraitFitRule {
  TraitFit fit;
  AgeBand band;
  ForClass forClass;
  MeasureRange suits;      // it suits when this holds (always, for Measure::None) ...
  MeasureRange orSuits;    // ... or this does
  MeasureRange favours;    // it is favoured, where it suits, when this holds ...
  MeasureRange orFavours;  // ... or this does,
  bool favoursItsClass;    // or always, for those of its class
  FamilyNeed family;

  // Whether an entry of this fit suits the townsperson of `measures`.
  bool fits(const CardNumbers& measures) const;
};

// The rules of the fits, in the order of TraitFit.
extern const std::array<TraitFitRule, kTraitFitCount> kTraitFitRules;

// How often, in a hundred, a townsperson whom a fit favours takes an entry of
// that fit when the catalogue has one.
inline constexpr int kFavouredChance = 60;

// Picks a townsperson's five traits from a catalogue.
class TraitPicker {
 public:
  // REQUIRES: `catalogue` outlives the picker and is not changed.
  explicit TraitPicker(const TraitCatalogue& catalogue);

  // One entry of each kind whose fit suits the townsperson of `measures`, or
  // null where none does: first, when some fit favours the person,
  // rand() % 100 below kFavouredChance takes an entry of the favoured fits;
  // otherwise one of every fit that suits. Each entry is drawn as
  // rand() x count / 32768 over the entries in the order of the fits.
  PickedTraits pick(const CardNumbers& measures, Random& random) const;

  // In a town with ties: each of `traits` that speaks of someone (a rival, a
  // lover, a debt, a patron: tieNeedsOf) whom the ties do not answer is
  // drawn again from every entry of its kind that suits, with `random`, until
  // one asks nothing the ties do not answer; none after kRedraws draws.
  void answerTies(PickedTraits& traits, const CardNumbers& measures, TieNeeds answered,
                  Random& random) const;
  static constexpr int kRedraws = 16;

  // What the entry speaks of: tieNeedsOf its text, worked out once.
  TieNeeds needsOf(const std::string* entry) const;

 private:
  using FitMask = std::uint32_t;  // bit f: TraitFit f
  static_assert(kTraitFitCount <= 32);
  static constexpr std::size_t kMeasureCount = 7;
  static constexpr std::size_t kFamilyFactsCount = std::size_t{1} << kFamilyFactCount;
  static constexpr std::int32_t kLargestLooked = 127;  // larger measures look as this

  void learnRules();
  FitMask suitsOf(const CardNumbers& measures, FitMask* favours) const;

  const std::string* pickFrom(TraitKind kind, FitMask fits, std::int32_t count,
                              Random& random) const;
  std::int32_t countOf(TraitKind kind, FitMask fits) const;

  const TraitCatalogue& catalogue_;
  // The entries of each kind and fit, and of each kind in the fits of each
  // mask, worked out once: a mask's count is that of its first kLowFits
  // fits plus that of the others, two small tables where one over every
  // mask would take 84 MB.
  static constexpr std::size_t kLowFits = 11;
  std::array<std::array<std::int32_t, kTraitFitCount>, kTraitKindCount> counts_{};
  std::vector<std::array<std::int32_t, kTraitKindCount>> lowCounts_;
  std::vector<std::array<std::int32_t, kTraitKindCount>> highCounts_;
  // The rules as masks, worked out once from kTraitFitRules: by measure and
  // its value (0 to kLargestLooked), the fits it suits and favours.
  std::array<std::array<FitMask, kLargestLooked + 1>, kMeasureCount> suitsBy_{};
  std::array<std::array<FitMask, kLargestLooked + 1>, kMeasureCount> favoursBy_{};
  FitMask suitsAlways_ = 0;           // fits whose rule asks for no measure
  FitMask favouredClass_ = 0;         // fits favoured for their class
  std::array<FitMask, 3> forBand_{};  // by AgeBand
  FitMask forNobles_ = 0;
  FitMask forCommoners_ = 0;
  FitMask asksFamily_ = 0;    // fits asking a family fact
  FitMask neverGuessed_ = 0;  // ... that no age makes likely
  // In a household town, by a member's FamilyFacts: the fits the facts
  // suit, and favour.
  std::array<FitMask, kFamilyFactsCount> suitsByFacts_{};
  std::array<FitMask, kFamilyFactsCount> favoursByFacts_{};
  // The entries that speak of someone, and what of.
  std::unordered_map<const std::string*, TieNeeds> needs_;
};

}  // namespace towngen
